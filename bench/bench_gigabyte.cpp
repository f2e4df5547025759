// Opening a print file of a gigabyte: the page table over its memory map and
// the first page's text, next to reading the file through once (as cat does).
// The memory it adds is what the process holds beyond the map (RssAnon).
// And the program as a user starts it on the file, `sticker2 view FILE`, timed
// to its first window on screen (STICKER2_QUIT_WHEN_SHOWN: it leaves once the
// window is drawn) in the emphasis look and in the printed look, beside a
// minimal Qt Widgets program showing an empty window.
// Each case runs on two files of a gigabyte: one of many pages, and one
// without a form feed (a single page, cut only once the whole file is read,
// and its lines found in one pass), each beside reading that file through.
#include "BenchSupport.h"
#include "render/ViewLines.h"
#include "report/PageTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>


namespace {

QString g_pages;   // 50,000 pages of about 21 KB
QString g_onePage; // a gigabyte without a form feed

using BenchSupport::anonymousKb;

void BM_ReadThrough(benchmark::State &state, const QString *path)
{
    BenchSupport::readThrough(state, *path);
}
BENCHMARK_CAPTURE(BM_ReadThrough, pages, &g_pages)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_ReadThrough, one_page, &g_onePage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The page table, and the first page as the view takes it: its text for a
// page of a few KB; the lines of the gigabyte's one page found over the map
// (its text whole would be two gigabytes, which the view never makes).
void BM_OpenAndFirstPage(benchmark::State &state, const QString *path)
{
    long added = 0;
    for (auto _ : state) {
        const long before = anonymousKb();
        PageTable table;
        QString error;
        if (!table.load(*path, &error))
            state.SkipWithError("cannot open the print file");
        if (table.PageCount() > 1) {
            benchmark::DoNotOptimize(table.page(0).size());
        } else {
            const ViewLines lines(table.pageView(0), ViewLines::Options());
            benchmark::DoNotOptimize(lines.lineCount());
        }
        added = qMax(added, anonymousKb() - before);
    }
    state.counters["added_MB"] = double(added) / 1024.0;
}
BENCHMARK_CAPTURE(BM_OpenAndFirstPage, pages, &g_pages)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_OpenAndFirstPage, one_page, &g_onePage)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

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

void BM_FirstWindowEmphasisLook(benchmark::State &state, const QString *path)
{
    firstWindow(state, STICKER2_PROGRAM, {QStringLiteral("view"), *path}, false);
}
BENCHMARK_CAPTURE(BM_FirstWindowEmphasisLook, pages, &g_pages)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_FirstWindowEmphasisLook, one_page, &g_onePage)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

void BM_FirstWindowPrintedLook(benchmark::State &state, const QString *path)
{
    firstWindow(state, STICKER2_PROGRAM, {QStringLiteral("view"), *path}, true);
}
BENCHMARK_CAPTURE(BM_FirstWindowPrintedLook, pages, &g_pages)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_FirstWindowPrintedLook, one_page, &g_onePage)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    g_pages = folder.filePath(QStringLiteral("gigabyte.prn"));
    g_onePage = folder.filePath(QStringLiteral("one-page.prn"));
    if (!folder.isValid() || !BenchSupport::writeReportFile(g_pages, 50000)
        || !BenchSupport::writeOnePageFile(g_onePage, qint64(1) << 30))
        return 1;
    return BenchSupport::runBenchmarks(argc, argv);
}
