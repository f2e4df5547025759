// Opening a print file of a gigabyte: the page table over its memory map and
// the first page's text, next to reading the file through once (as cat does).
// The memory it adds is what the process holds beyond the map (RssAnon).
#include "BenchSupport.h"
#include "report/PageTable.h"

#include <QCoreApplication>
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
