// The page view: a full-emphasis page laid out and painted against the text
// document the view used before; the first screen of a 50 MB page and of a
// gigabyte shown whole, each against reading its file through once; and a
// jump to the end of the gigabyte, and a search through it, alone and in
// the window. Memory is what the process holds beyond the file's map
// (RssAnon).
#include "BenchWindows.h"
#include "gui/report/PageView.h"
#include "report/PageText.h"
#include "report/PageTable.h"
#include "report/ReportFont.h"
#include "report/ReportMarkup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextDocument>

namespace {

QString g_halfHundred; // one 50 MB page, no form feed
QString g_gigabyte;    // 50,000 pages

using BenchSupport::anonymousKb;
using BenchSupport::readThrough;
using BenchSupport::emphasisLines;

QFont viewFont()
{
    return reportFont(ReportUnzoomedPoints);
}

// The view as the window holds it, on screen.
struct ShownView
{
    ShownView()
    {
        view.resize(1000, 700);
        view.setTextFont(viewFont());
        view.show();
        QCoreApplication::processEvents();
    }
    void paint()
    {
        view.viewport()->render(&image);
    }
    PageView view;
    QImage image{1000, 700, QImage::Format_ARGB32_Premultiplied};
};

void BM_EmphasisPageByTextDocument(benchmark::State &state)
{
    const QString text = QString::fromLatin1(emphasisLines()) + QChar(0x0C);
    QImage image(1000, 700, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QTextDocument document;
        document.setDefaultFont(viewFont());
        PageText::setText(&document, text);
        applyMarkupPasses(&document, MarkupContext(), MarkupOrder::View);
        QPainter painter(&image);
        document.drawContents(&painter, QRectF(0, 0, 1000, 700));
    }
}
BENCHMARK(BM_EmphasisPageByTextDocument)->Unit(benchmark::kMillisecond);

void BM_EmphasisPageByPageView(benchmark::State &state)
{
    const QByteArray page = emphasisLines();
    ShownView shown;
    ViewLines::Options options;
    options.formFeedAtEnd = true;
    for (auto _ : state) {
        shown.view.setLines(ViewLines::of(page, options));
        shown.paint();
    }
}
BENCHMARK(BM_EmphasisPageByPageView)->Unit(benchmark::kMillisecond);

// The page table is the window's already; the view's part is timed.
void firstScreen(benchmark::State &state, const QString &path, bool continuous)
{
    PageTable table;
    QString error;
    if (!table.load(path, &error))
        return state.SkipWithError("cannot open the print file");
    auto kept = std::make_shared<PageTable>(table);
    ShownView shown;
    ViewLines::Options options;
    options.markup = !continuous;
    options.formFeedAtEnd = !continuous;
    long added = 0;
    for (auto _ : state) {
        const long before = anonymousKb();
        const QByteArrayView bytes = continuous ? QByteArrayView(kept->bytes()) : kept->pageView(0);
        shown.view.setLines(std::make_shared<ViewLines>(bytes, options, kept));
        shown.paint();
        added = qMax(added, anonymousKb() - before);
    }
    state.counters["added_MB"] = double(added) / 1024.0;
    state.counters["lines"] = double(shown.view.lines()->lineCount());
}

void BM_HalfHundredMB_ReadThrough(benchmark::State &state) { readThrough(state, g_halfHundred); }
BENCHMARK(BM_HalfHundredMB_ReadThrough)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_HalfHundredMB_FirstScreen(benchmark::State &state) { firstScreen(state, g_halfHundred, false); }
BENCHMARK(BM_HalfHundredMB_FirstScreen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_Gigabyte_ReadThrough(benchmark::State &state) { readThrough(state, g_gigabyte); }
BENCHMARK(BM_Gigabyte_ReadThrough)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_Gigabyte_ContinuousFirstScreen(benchmark::State &state) { firstScreen(state, g_gigabyte, true); }
BENCHMARK(BM_Gigabyte_ContinuousFirstScreen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// From the first screen to the last and back, each painted.
void BM_Gigabyte_JumpToEndAndBack(benchmark::State &state)
{
    PageTable table;
    QString error;
    if (!table.load(g_gigabyte, &error))
        return state.SkipWithError("cannot open the print file");
    auto kept = std::make_shared<PageTable>(table);
    ShownView shown;
    ViewLines::Options options;
    options.markup = false;
    shown.view.setLines(std::make_shared<ViewLines>(QByteArrayView(kept->bytes()), options, kept));
    QScrollBar *bar = shown.view.verticalScrollBar();
    for (auto _ : state) {
        bar->setValue(bar->maximum());
        shown.paint();
        bar->setValue(0);
        shown.paint();
    }
}
BENCHMARK(BM_Gigabyte_JumpToEndAndBack)->Unit(benchmark::kMillisecond)->UseRealTime();

// A search through the whole file for a text it does not hold, as the
// window's search runs it: in steps, a few megabytes a step.
void BM_Gigabyte_Search(benchmark::State &state)
{
    PageTable table;
    QString error;
    if (!table.load(g_gigabyte, &error))
        return state.SkipWithError("cannot open the print file");
    ViewLines::Options options;
    options.markup = false;
    const ViewLines lines(QByteArrayView(table.bytes()), options);
    const QString needle = QStringLiteral("not in the file");
    for (auto _ : state) {
        for (qint64 from = 0; from < lines.positionCount(); from += 4 << 20)
            benchmark::DoNotOptimize(lines.findAll(needle, from, from + (4 << 20), 4096));
    }
    state.SetBytesProcessed(state.iterations() * table.bytes().size());
}
BENCHMARK(BM_Gigabyte_Search)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The window's search of the gigabyte in its continuous view, first match
// to last (a match a page), with the longest time the window went without
// handling its events.
void BM_Gigabyte_WindowSearch(benchmark::State &state)
{
    FrmReport *view = BenchWindows::openView(g_gigabyte);
    if (!view)
        return state.SkipWithError("cannot open the print file");
    view->findChild<QCheckBox *>(QStringLiteral("Check3"))->click();
    auto *box = view->findChild<QLineEdit *>(QStringLiteral("Text4"));
    box->setText(QStringLiteral("customer"));
    BenchWindows::LongestStall stall;
    for (auto _ : state) {
        stall.start();
        BenchWindows::pressKey(box, Qt::Key_Return);
        stall.stop();
    }
    state.SetBytesProcessed(state.iterations() * view->pages().bytes().size());
    state.counters["matches"] = double(view->pageView()->marks().size());
    state.counters["longest_stall_ms"] = double(stall.milliseconds());
    delete view;
}
BENCHMARK(BM_Gigabyte_WindowSearch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    // Run from the build folder: bench/bench_pageview
    QTemporaryDir folder;
    g_halfHundred = folder.filePath(QStringLiteral("half-hundred.prn"));
    g_gigabyte = folder.filePath(QStringLiteral("gigabyte.prn"));
    return BenchWindows::runWindowBenchmarks(argc, argv, [&] {
        return folder.isValid() && BenchSupport::writeOnePageFile(g_halfHundred, 50 << 20)
            && BenchSupport::writeReportFile(g_gigabyte, 50000);
    });
}
