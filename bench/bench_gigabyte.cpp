// Opening a print file of a gigabyte: the page table over its memory map and
// the first page's text, next to reading the file through once (as cat does).
// The memory it adds is what the process holds beyond the map (RssAnon).
// And the program as a user starts it on the file, `sticker2 view FILE`, timed
// to its first window on screen (STICKER2_QUIT_WHEN_SHOWN: it leaves once the
// window is drawn) in the emphasis look and in the printed look, beside a
// minimal Qt Widgets program showing an empty window.
#include "BenchSupport.h"
#include "report/PageTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>


namespace {

QString g_path;

using BenchSupport::anonymousKb;

void BM_ReadThrough(benchmark::State &state)
{
    BenchSupport::readThrough(state, g_path);
}
BENCHMARK(BM_ReadThrough)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_OpenAndFirstPage(benchmark::State &state)
{
    long added = 0;
    for (auto _ : state) {
        const long before = anonymousKb();
        PageTable table;
        QString error;
        if (!table.load(g_path, &error))
            state.SkipWithError("cannot open the print file");
        benchmark::DoNotOptimize(table.page(0).size());
        added = qMax(added, anonymousKb() - before);
    }
    state.counters["added_MB"] = double(added) / 1024.0;
}
BENCHMARK(BM_OpenAndFirstPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The first window of `program` (with `arguments`), whole process, wall time;
// the settings home says which look the view opens in.
void firstWindow(benchmark::State &state, const char *program, const QStringList &arguments, bool printed)
{
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral("config"));
    QFile settings(home.filePath(QStringLiteral("config/Sticker2.ini")));
    if (!settings.open(QIODevice::WriteOnly)
        || settings.write(printed ? "[ReportView]\nPrinted=1\n" : "[ReportView]\nPrinted=0\n") < 0)
        state.SkipWithError("cannot write the settings");
    settings.close();
    qputenv("STICKER2_QUIT_WHEN_SHOWN", "1");
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    double cpu = 0;
    for (auto _ : state) {
        const BenchSupport::ProcessUsage used
            = BenchSupport::runProcess(program, arguments, home.filePath(QStringLiteral("config")));
        if (used.status != 0)
            state.SkipWithError("the program did not show its window");
        cpu += used.cpuSeconds;
    }
    state.counters["cpu_s"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}

void BM_MinimalQtWindow(benchmark::State &state)
{
    firstWindow(state, MINIMAL_QT_WINDOW, {}, false);
}
BENCHMARK(BM_MinimalQtWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_FirstWindowEmphasisLook(benchmark::State &state)
{
    firstWindow(state, STICKER2_PROGRAM, {QStringLiteral("view"), g_path}, false);
}
BENCHMARK(BM_FirstWindowEmphasisLook)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_FirstWindowPrintedLook(benchmark::State &state)
{
    firstWindow(state, STICKER2_PROGRAM, {QStringLiteral("view"), g_path}, true);
}
BENCHMARK(BM_FirstWindowPrintedLook)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    g_path = folder.filePath(QStringLiteral("gigabyte.prn"));
    // 50,000 pages of about 21 KB.
    if (!folder.isValid() || !BenchSupport::writeReportFile(g_path, 50000))
        return 1;
    return BenchSupport::runBenchmarks(argc, argv);
}
