// PDF export of large print files, page by page: time, and the memory it
// takes beyond the page table (which holds the print file itself). The plain
// text of the same pages, written from the same table, is the yardstick; the
// printed look (the sheets as the printer prints them) is measured against
// the emphasis PDF of the same file. A sheet of the printed look drawn at
// screen size is measured against the same lines drawn as plain text.
// Run from the build folder: QT_QPA_PLATFORM=offscreen bench/bench_pdf

#include "BenchSupport.h"
#include "report/PageChoice.h"
#include "escp/SheetIndex.h"
#include "export/PdfExport.h"
#include "export/PrintedPdfExport.h"
#include "render/PrintedRenderer.h"
#include "export/PlainTextExport.h"
#include "platform/HeapTuning.h"
#include "report/PageTable.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
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
void BM_PrintedPdf(benchmark::State &state)
{
    const PageTable &pages = table(int(state.range(0)));
    const QString target = workFolder().filePath("printed.pdf");
    double before = 0, peak = 0;
    int sheets = 0;
    for (auto _ : state) {
        BenchSupport::resetPeakMemory();
        before = BenchSupport::statusMB("VmRSS:");
        SheetIndex document;
        document.build(QByteArrayView(pages.bytes()), PrinterSetup());
        sheets = document.sheetCount();
        PdfOptions options;
        options.pages = pageIndexes(0, sheets - 1, sheets);
        QString error;
        if (!PrintedPdfExport::save(target, [&](int i) { return document.sheet(i); }, options, &error))
            state.SkipWithError(qPrintable(error));
        peak = std::max(peak, BenchSupport::statusMB("VmHWM:"));
    }
    state.counters["sheets"] = sheets;
    state.counters["pdf_MB"] = double(QFileInfo(target).size()) / (1 << 20);
    state.counters["added_MB"] = peak - before;
    state.SetBytesProcessed(int64_t(state.iterations()) * pages.bytes().size());
}
BENCHMARK(BM_PrintedPdf)->Arg(250)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// A full sheet: 66 lines of 136 columns in a few looks, and a picture.
Printed::Sheet fullSheet()
{
    Printed::Sheet sheet;
    const QString line = QStringLiteral("  Item 00000   Description of the goods   12 pcs     1,234.50   ").repeated(3).left(136);
    for (int i = 0; i < 66; ++i) {
        Printed::TextRun run;
        run.x = Printed::inches(0.1);
        run.baseline = Printed::inches(0.25 + i / 6.0);
        run.text = line;
        run.style.advance = i % 3 ? Printed::UnitsPerInch / 17 : Printed::UnitsPerInch / 10;
        run.style.bold = i % 5 == 0;
        sheet.runs.append(run);
    }
    Printed::Picture picture;
    picture.x = Printed::inches(1);
    picture.top = Printed::inches(1);
    picture.image = QImage(480, 24, QImage::Format_Mono);
    picture.image.fill(1);
    sheet.pictures.append(picture);
    return sheet;
}

// Screen size: the sheet 13.6 in wide at 96 pixels per inch.
constexpr double ScreenScale = 96.0 / Printed::UnitsPerInch;

void BM_SheetOnScreen(benchmark::State &state)
{
    const Printed::Sheet sheet = fullSheet();
    QImage screen(1320, 1080, QImage::Format_ARGB32_Premultiplied);
    PrintedRenderer renderer;
    for (auto _ : state) {
        screen.fill(Qt::white);
        QPainter painter(&screen);
        renderer.draw(painter, sheet, QPointF(0, 0), ScreenScale);
    }
}
BENCHMARK(BM_SheetOnScreen)->Unit(benchmark::kMillisecond);

void BM_PlainLinesOnScreen(benchmark::State &state)
{
    const Printed::Sheet sheet = fullSheet();
    QImage screen(1320, 1080, QImage::Format_ARGB32_Premultiplied);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(14);
    for (auto _ : state) {
        screen.fill(Qt::white);
        QPainter painter(&screen);
        painter.setFont(font);
        for (const Printed::TextRun &run : sheet.runs)
            painter.drawText(QPointF(run.x * ScreenScale, run.baseline * ScreenScale), run.text);
    }
}
BENCHMARK(BM_PlainLinesOnScreen)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_PlainText)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    keepLargeBuffersOnHeap(); // as the program does
    QGuiApplication app(argc, argv);
    return BenchSupport::runBenchmarks(argc, argv);
}
