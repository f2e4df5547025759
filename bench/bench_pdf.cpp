// PDF export of large print files, page by page: time, and the memory it
// takes beyond the page table (which holds the print file itself). The plain
// text of the same pages, written from the same table, is the yardstick.
// Run from the build folder: QT_QPA_PLATFORM=offscreen bench/bench_pdf

#include "BenchSupport.h"
#include "export/PageChoice.h"
#include "export/PdfExport.h"
#include "export/PlainTextExport.h"
#include "report/PageTable.h"
#include "startup/MainModule.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QTemporaryDir &workFolder()
{
    static QTemporaryDir dir;
    return dir;
}

const PageTable &table(int pages)
{
    static int loaded = -1;
    static PageTable table;
    if (loaded != pages) {
        const QString path = workFolder().filePath(QStringLiteral("report%1.prn").arg(pages));
        if (!QFile::exists(path))
            BenchSupport::writeReportFile(path, pages);
        table = PageTable();
        table.load(path, nullptr);
        loaded = pages;
    }
    return table;
}


void BM_Pdf(benchmark::State &state)
{
    const PageTable &pages = table(int(state.range(0)));
    const QString target = workFolder().filePath("report.pdf");
    PdfOptions options;
    options.pages = pageIndexes(0, pages.PageCount() - 1, pages.PageCount());
    double before = 0, peak = 0;
    for (auto _ : state) {
        BenchSupport::resetPeakMemory();
        before = BenchSupport::statusMB("VmRSS:");
        QString error;
        if (!PdfExport::save(target, pages, options, &error))
            state.SkipWithError(qPrintable(error));
        peak = std::max(peak, BenchSupport::statusMB("VmHWM:"));
    }
    state.counters["file_MB"] = double(pages.bytes().size()) / (1 << 20);
    state.counters["pdf_MB"] = double(QFileInfo(target).size()) / (1 << 20);
    state.counters["peak_RSS_MB"] = peak;
    state.counters["added_MB"] = peak - before;
    state.SetBytesProcessed(int64_t(state.iterations()) * pages.bytes().size());
}
BENCHMARK(BM_Pdf)
    ->Arg(250)
    ->Arg(1250)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

void BM_PlainText(benchmark::State &state)
{
    const PageTable &pages = table(int(state.range(0)));
    const QString target = workFolder().filePath("report.txt");
    const QVector<int> all = pageIndexes(0, pages.PageCount() - 1, pages.PageCount());
    for (auto _ : state) {
        QString error;
        if (!savePlainText(target, pages, all, &error))
            state.SkipWithError(qPrintable(error));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * pages.bytes().size());
}
BENCHMARK(BM_PlainText)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    return BenchSupport::runBenchmarks(argc, argv);
}
