#include "applicants/DemoRegister.h"
#include "applicants/RegisterModel.h"
#include "applicants/gui/TfrmRichPers.h"
#include "communications/RequestsModel.h"
#include "communications/gui/TdlgDenunce.h"
#include "data/Tdm.h"
#include "tests/support/ProgramFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTableView>

#include <memory>

#include <benchmark/benchmark.h>

namespace {

// A register of a million applicants and a communication of a million requests, as genera-demo makes
// them, built once for the benchmarks of this file.
struct BigRegister
{
    static constexpr int Size = 1000000;
    ProgramFolder folder;
    std::unique_ptr<Tdm> data;
    qint64 idDenuncia = 0;
    double seconds = 0;

    BigRegister()
    {
        data = std::make_unique<Tdm>(folder.path(), false);
        dm = data.get();
        QElapsedTimer clock;
        clock.start();
        DemoRegister::Result r;
        DemoRegister::generate({Size, Size, 2018, 11}, &r);
        seconds = clock.elapsed() / 1000.0;
        idDenuncia = r.idDenuncia;
        data->ttDENUNCE->moveToKey(idDenuncia);
        data->ttRICHIEDENTI->first();
        dm = nullptr;
    }
};

BigRegister &bigRegister()
{
    static BigRegister r;
    return r;
}

// Resident memory of this process in MB (Linux; 0 elsewhere).
double residentMb()
{
#ifdef Q_OS_LINUX
    QFile f(QStringLiteral("/proc/self/statm"));
    if (f.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> parts = f.readAll().split(' ');
        if (parts.size() > 1)
            return parts.at(1).toDouble() * 4096.0 / (1024.0 * 1024.0);
    }
#endif
    return 0;
}

// Paints the grid as the screen would, so that the rows it shows are read.
void paint(QWidget &w)
{
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(w.grab());
}

} // namespace

// genera-demo's work: a million applicants and a million requests (target: under a minute).
static void BM_GeneraDemo(benchmark::State &state)
{
    BigRegister &r = bigRegister();
    for (auto _ : state)
        state.SetIterationTime(r.seconds);
    state.counters["ratio"] = r.seconds / 60.0;
    state.SetLabel("1000000 richiedenti + 1000000 richieste|< 60000 ms");
}
BENCHMARK(BM_GeneraDemo)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// Opening the register window until its first rows are painted (target: under 300 ms).
static void BM_RegisterFirstRows(benchmark::State &state)
{
    BigRegister &r = bigRegister();
    dm = r.data.get();
    QElapsedTimer clock;
    qint64 total = 0;
    for (auto _ : state) {
        clock.start();
        TfrmRichPers w;
        w.show();
        paint(w);
        benchmark::DoNotOptimize(w.grid()->model()->index(0, 0).data());
        total += clock.elapsed();
        state.PauseTiming();
        w.close();
        state.ResumeTiming();
    }
    dm = nullptr;
    state.counters["ratio"] = double(total) / double(state.iterations()) / 300.0;
    state.SetLabel("1000000 richiedenti|< 300 ms");
}
BENCHMARK(BM_RegisterFirstRows)->Iterations(5)->Unit(benchmark::kMillisecond);

// Scrolling the register: 200 jumps to random places, then row by row through 5,000 rows and a drag to
// the end; the figure is the time per step, the ratio the memory the window added (target: under 100 MB).
static void BM_RegisterScrollMemory(benchmark::State &state)
{
    BigRegister &r = bigRegister();
    dm = r.data.get();
    double grown = 0;
    int steps = 0;
    for (auto _ : state) {
        const double before = residentMb();
        TfrmRichPers w;
        w.show();
        paint(w);
        QScrollBar *bar = w.grid()->verticalScrollBar();
        QRandomGenerator rng(5);
        for (int i = 0; i < 200; ++i, ++steps) {
            bar->setValue(int(rng.bounded(bar->maximum() + 1)));
            paint(w);
        }
        bar->setValue(bar->maximum() / 2);
        for (int i = 0; i < 5000; i += 25, ++steps) {
            bar->setValue(bar->value() + 25);
            paint(w);
        }
        bar->setValue(bar->maximum());
        paint(w);
        ++steps;
        grown = std::max(grown, residentMb() - before);
    }
    dm = nullptr;
    state.counters["ratio"] = grown / 100.0;
    state.SetItemsProcessed(steps);
    state.SetLabel(QStringLiteral("1000000 richiedenti, memoria +%1 MB|< 100 MB").arg(grown, 0, 'f', 1).toStdString());
}
BENCHMARK(BM_RegisterScrollMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// The communication window on a communication of a million requests, until its first rows are painted
// (no target: a year's communication holds far fewer).
static void BM_CommunicationFirstRows(benchmark::State &state)
{
    BigRegister &r = bigRegister();
    dm = r.data.get();
    QElapsedTimer clock;
    qint64 total = 0;
    for (auto _ : state) {
        clock.start();
        TdlgDenunce w;
        w.show();
        paint(w);
        benchmark::DoNotOptimize(w.grid()->model()->index(0, 2).data());
        total += clock.elapsed();
        state.PauseTiming();
        w.close();
        state.ResumeTiming();
    }
    dm = nullptr;
    state.SetLabel("1000000 richieste|-");
}
BENCHMARK(BM_CommunicationFirstRows)->Iterations(3)->Unit(benchmark::kMillisecond);
