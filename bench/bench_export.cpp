// Export speed on large print files: the web page (against sed doing the
// same nine replacements), the plain text of all pages, and the workbook.
// Run from the build folder: bench/bench_export

#include "BenchSupport.h"
#include "export/HtmlExport.h"
#include "report/PageChoice.h"
#include "export/PlainTextExport.h"
#include "export/RichTextExport.h"
#include "export/RtfWriter.h"
#include "export/WorkbookExport.h"
#include "report/PageTable.h"
#include "report/ReportMarkup.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <numeric>

namespace {

QTemporaryDir &workFolder()
{
    static QTemporaryDir dir;
    return dir;
}

QString printFile(int pages)
{
    const QString path = workFolder().filePath(QStringLiteral("report%1.prn").arg(pages));
    if (!QFile::exists(path))
        BenchSupport::writeReportFile(path, pages);
    return path;
}

QString linesFile(int lines)
{
    const QString path = workFolder().filePath(QStringLiteral("lines%1.prn").arg(lines));
    if (!QFile::exists(path)) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        for (int i = 0; i < lines; ++i)
            file.write("00" + QByteArray::number(100000 + i) + "  Customer name here   Town      "
                + QByteArray::number(i % 997)
                + ".50   \x1b"
                  "Eremark\x1b"
                  "F\r\n");
    }
    return path;
}

// Resets the peak resident size, then reads it back (Linux).

double peakMemoryMB()
{
    return BenchSupport::statusMB("VmHWM:");
}

void BM_WebPage(benchmark::State &state)
{
    const QString source = printFile(int(state.range(0)));
    const QString target = workFolder().filePath("page.html");
    const double fileMB = double(QFileInfo(source).size()) / (1 << 20);
    double peak = 0;
    for (auto _ : state) {
        BenchSupport::resetPeakMemory();
        QString error;
        if (!expHTml(source, target, HtmlColours(), &error))
            state.SkipWithError(qPrintable(error));
        peak = std::max(peak, peakMemoryMB());
    }
    state.counters["file_MB"] = fileMB;
    state.counters["peak_RSS_MB"] = peak;
    state.SetBytesProcessed(int64_t(state.iterations()) * QFileInfo(source).size());
}
BENCHMARK(BM_WebPage)->Arg(1250)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// sed making the same nine replacements, as a yardstick for the web page.
void BM_SedWebPage(benchmark::State &state)
{
    const QString source = printFile(int(state.range(0)));
    const QString target = workFolder().filePath("sed.html");
    const QStringList script = BenchSupport::webPageSedScript(source);
    for (auto _ : state) {
        QProcess sed;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", "C");
        sed.setProcessEnvironment(env);
        sed.setStandardOutputFile(target);
        sed.start("sed", script);
        if (!sed.waitForFinished(-1) || sed.exitCode() != 0)
            state.SkipWithError("sed failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * QFileInfo(source).size());
}
BENCHMARK(BM_SedWebPage)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_PlainTextAllPages(benchmark::State &state)
{
    const QString source = printFile(int(state.range(0)));
    const QString target = workFolder().filePath("pages.txt");
    PageTable table;
    QString error;
    table.load(source, &error);
    const QVector<int> pages = pageIndexes(0, table.PageCount() - 1, table.PageCount());
    for (auto _ : state) {
        if (!savePlainText(target, table, pages, &error))
            state.SkipWithError(qPrintable(error));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * QFileInfo(source).size());
}
BENCHMARK(BM_PlainTextAllPages)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// cp of the same bytes, the yardstick for the plain text.
void BM_CpPrintFile(benchmark::State &state)
{
    const QString source = printFile(int(state.range(0)));
    const QString target = workFolder().filePath("copy.prn");
    for (auto _ : state) {
        if (QProcess::execute(QStringLiteral("cp"), {source, target}) != 0)
            state.SkipWithError("cp failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * QFileInfo(source).size());
}
BENCHMARK(BM_CpPrintFile)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// cp followed by sync of the copy: the same bytes made as safe on disk as
// the export makes its file (QSaveFile flushes it to the disk before it
// takes the name).
void BM_CpSyncPrintFile(benchmark::State &state)
{
    const QString source = printFile(int(state.range(0)));
    const QString target = workFolder().filePath("copy.prn");
    for (auto _ : state) {
        if (QProcess::execute(QStringLiteral("sh"), {"-c", "cp \"$0\" \"$1\" && sync \"$1\"", source, target}) != 0)
            state.SkipWithError("cp failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * QFileInfo(source).size());
}
BENCHMARK(BM_CpSyncPrintFile)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
// The rich text of every page of a print file full of emphasis: time, and
// the peak memory beyond the memory-mapped file (touched in full before, so
// its pages count in the start, and the heap given back, so that memory
// kept from a run before does not hide the next), against the file's size. The streamed
// export, and at the smaller size the assembled document it replaced.
void richText(benchmark::State &state, bool streamed)
{
    const QString source = printFile(int(state.range(0)));
    const QString target = workFolder().filePath("pages.rtf");
    const double fileMB = double(QFileInfo(source).size()) / (1 << 20);
    PageTable table;
    QString error;
    table.load(source, &error);
    const QVector<int> pages = pageIndexes(0, table.PageCount() - 1, table.PageCount());
    double beyond = 0;
    for (auto _ : state) {
        const QByteArray &bytes = table.bytes();
        benchmark::DoNotOptimize(std::accumulate(bytes.begin(), bytes.end(), 0));
        malloc_trim(0);
        BenchSupport::resetPeakMemory();
        const double start = BenchSupport::statusMB("VmRSS:");
        bool written;
        if (streamed) {
            written = saveRichText(target, table, pages, MarkupContext(), &error);
        } else {
            QTextDocument document;
            assembleForExport(&document, table, pages, MarkupContext());
            written = RtfWriter::save(document, target, &error);
        }
        if (!written)
            state.SkipWithError(qPrintable(error));
        beyond = std::max(beyond, peakMemoryMB() - start);
    }
    state.counters["file_MB"] = fileMB;
    state.counters["beyond_map_MB"] = beyond;
    state.counters["memory_per_file"] = beyond / fileMB;
    state.SetBytesProcessed(int64_t(state.iterations()) * QFileInfo(source).size());
}

void BM_RichTextStreamed(benchmark::State &state)
{
    richText(state, true);
}
BENCHMARK(BM_RichTextStreamed)
    ->Arg(1250)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

void BM_RichTextDocument(benchmark::State &state)
{
    richText(state, false);
}
BENCHMARK(BM_RichTextDocument)->Arg(1250)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_Workbook(benchmark::State &state)
{
    const QString source = linesFile(int(state.range(0)));
    const QString target = workFolder().filePath("book.xlsx");
    double peak = 0;
    for (auto _ : state) {
        BenchSupport::resetPeakMemory();
        QString error;
        if (!WorkbookExport::write(source, target, {0, 9, 32, 42, 50, 58, 0}, nullptr, &error))
            state.SkipWithError(qPrintable(error));
        peak = std::max(peak, peakMemoryMB());
    }
    state.counters["peak_RSS_MB"] = peak;
    state.counters["rows"] = double(state.range(0));
}
BENCHMARK(BM_Workbook)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
