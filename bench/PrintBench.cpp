#include "applicants/DemoRegister.h"
#include "communications/Printouts.h"
#include "data/Report.h"
#include "data/Tdm.h"
#include "tests/support/ProgramFolder.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <map>
#include <memory>

#include <benchmark/benchmark.h>

namespace {

// A register with one communication of `requests` requests, made once per size.
struct PrintData
{
    ProgramFolder folder;
    std::unique_ptr<Tdm> data;

    explicit PrintData(int requests)
    {
        folder.addDelivered(QStringLiteral("delivered/denuncia.html"));
        data = std::make_unique<Tdm>(folder.path(), false);
        dm = data.get();
        DemoRegister::Result r;
        DemoRegister::generate({requests / 5 + 1, requests, 2018, 7}, &r);
        data->ttDENUNCE->moveToKey(r.idDenuncia);
        dm = nullptr;
    }
};

PrintData &printData(int requests)
{
    static std::map<int, std::unique_ptr<PrintData>> made;
    auto &p = made[requests];
    if (!p)
        p = std::make_unique<PrintData>(requests);
    return *p;
}

} // namespace

// The rows of a large communication with their applicants, read with one join (target: under a second).
static void BM_PrintCommunicationData(benchmark::State &state)
{
    PrintData &p = printData(int(state.range(0)));
    QElapsedTimer clock;
    qint64 total = 0;
    for (auto _ : state) {
        clock.start();
        Report report(QStringLiteral("denuncia"));
        Printouts::fillCommunication(report, *p.data);
        benchmark::DoNotOptimize(report.data().rowCount());
        total += clock.elapsed();
    }
    state.counters["ratio"] = double(total) / double(state.iterations()) / 1000.0;
    state.SetLabel(QStringLiteral("%1 richieste|< 1000 ms").arg(state.range(0)).toStdString());
}
BENCHMARK(BM_PrintCommunicationData)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The whole printout of a communication to PDF, the report engine's layout included (no target).
static void BM_PrintCommunicationPdf(benchmark::State &state)
{
    PrintData &p = printData(int(state.range(0)));
    QTemporaryDir dir;
    Report report(QStringLiteral("denuncia"));
    QString error;
    if (!report.loadTemplate(report.templatePath(p.data->AppPath), &error))
        state.SkipWithError(error.toStdString().c_str());
    for (auto _ : state) {
        Printouts::fillCommunication(report, *p.data);
        report.exportPdf(dir.filePath(QStringLiteral("c.pdf")));
    }
    state.SetLabel(QStringLiteral("%1 richieste|-").arg(state.range(0)).toStdString());
}
BENCHMARK(BM_PrintCommunicationPdf)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond)->Iterations(1);
