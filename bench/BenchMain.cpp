#include <QApplication>
#include <QFile>
#include <QTextStream>

#include <benchmark/benchmark.h>

// Besides the console output, each run becomes a row of the table printed by scripts/bench.
// A benchmark describes itself with state.SetLabel("data size|target") and may set the counter
// "ratio" (measured / target, or measured / reference program).
class TableReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        const QString path = qEnvironmentVariable("TARVIDO_BENCH_RESULTS");
        if (path.isEmpty())
            return;
        QFile f(path);
        if (!f.open(QIODevice::Append | QIODevice::Text))
            return;
        QTextStream out(&f);
        for (const Run &r : runs) {
            const QStringList label = QString::fromStdString(r.report_label).split(QLatin1Char('|'));
            QString figure;
            const auto items = r.counters.find("items_per_second");
            if (items != r.counters.end())
                figure = QStringLiteral("%1 /s").arg(double(items->second), 0, 'f', 0);
            else
                figure = QStringLiteral("%1 ms").arg(r.GetAdjustedRealTime() * 1000.0 / benchmark::GetTimeUnitMultiplier(r.time_unit), 0, 'f', 3);
            const auto ratio = r.counters.find("ratio");
            out << QString::fromStdString(r.benchmark_name()) << '\t' << label.value(0) << '\t' << figure << '\t'
                << label.value(1) << '\t' << (ratio != r.counters.end() ? QString::number(double(ratio->second), 'f', 2) : QString())
                << '\n';
        }
    }
};

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
