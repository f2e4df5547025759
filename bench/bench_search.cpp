// Search in the report view as a reader uses it: the first Enter on a report
// page (every match marked, the first from the caret selected), each F3 after
// it, and the largest step of marking a 50 MB page between two looks at the
// window's events; each against reading the same text for the needle once
// (QString::indexOf over the page, QByteArrayView::indexOf over the step).
// Every step is to stay under 50 ms.
#include "BenchWindows.h"
#include "gui/report/PageView.h"
#include "render/ViewLines.h"
#include "report/PageTable.h"

#include <QLineEdit>
#include <QTemporaryDir>

namespace {

using BenchWindows::openView;
using BenchWindows::pressKey;

QString g_pages;        // 20 report pages
QString g_halfHundred;  // one 50 MB page
const QString Needle = QStringLiteral("goods");

// Reference: the page's text read once for the needle.
void BM_Page_ReadForNeedle(benchmark::State &state)
{
    PageTable table;
    QString error;
    if (!table.load(g_pages, &error))
        return state.SkipWithError("cannot open the print file");
    const QString page = table.page(0);
    for (auto _ : state) {
        qsizetype found = 0;
        for (qsizetype at = page.indexOf(Needle, 0, Qt::CaseInsensitive); at >= 0;
             at = page.indexOf(Needle, at + 1, Qt::CaseInsensitive))
            ++found;
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_Page_ReadForNeedle)->Unit(benchmark::kMillisecond);

// The first Enter on a page: every match marked, the first one selected.
void BM_Page_FirstEnter(benchmark::State &state)
{
    FrmReport *view = openView(g_pages);
    if (!view)
        return state.SkipWithError("cannot open the print file");
    auto *box = view->findChild<QLineEdit *>(QStringLiteral("Text4"));
    box->setText(Needle);
    for (auto _ : state) {
        state.PauseTiming();
        view->DisplayPage(0); // a fresh page: nothing marked
        state.ResumeTiming();
        pressKey(box, Qt::Key_Return);
    }
    state.counters["matches"] = double(view->pageView()->marks().size());
    delete view;
}
BENCHMARK(BM_Page_FirstEnter)->Unit(benchmark::kMillisecond);

// F3 after it: the next match selected and scrolled to.
void BM_Page_FindNext(benchmark::State &state)
{
    FrmReport *view = openView(g_pages);
    if (!view)
        return state.SkipWithError("cannot open the print file");
    auto *box = view->findChild<QLineEdit *>(QStringLiteral("Text4"));
    box->setText(Needle);
    pressKey(box, Qt::Key_Return);
    for (auto _ : state) {
        pressKey(box, Qt::Key_Return);
        QCoreApplication::processEvents(); // the repaint of the new place
    }
    delete view;
}
BENCHMARK(BM_Page_FindNext)->Unit(benchmark::kMillisecond);

// Reference: one marking step's bytes read once for the needle.
void BM_Step_ReadForNeedle(benchmark::State &state)
{
    PageTable table;
    QString error;
    if (!table.load(g_halfHundred, &error))
        return state.SkipWithError("cannot open the print file");
    const QByteArrayView step = QByteArrayView(table.bytes()).first(4 << 20);
    for (auto _ : state) {
        qsizetype found = 0;
        for (qsizetype at = step.indexOf("goods"); at >= 0; at = step.indexOf("goods", at + 1))
            ++found;
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_Step_ReadForNeedle)->Unit(benchmark::kMillisecond);

// One marking step of a 50 MB page: what runs between two looks at the
// window's events, so the window answers within it.
void BM_Step_FindOnLargePage(benchmark::State &state)
{
    PageTable table;
    QString error;
    if (!table.load(g_halfHundred, &error))
        return state.SkipWithError("cannot open the print file");
    ViewLines::Options options;
    const ViewLines lines(QByteArrayView(table.bytes()), options);
    qint64 from = 0;
    for (auto _ : state) {
        // As the search goes on: the step ends where 4096 matches were found.
        const QVector<qint64> found = lines.findAll(Needle, from, from + (4 << 20), 4096);
        from = found.size() == 4096 ? found.last() + 1 : from + (4 << 20);
        if (from >= lines.positionCount())
            from = 0;
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_Step_FindOnLargePage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // Run from the build folder: bench/bench_search
    QTemporaryDir folder;
    g_pages = folder.filePath(QStringLiteral("pages.prn"));
    g_halfHundred = folder.filePath(QStringLiteral("half-hundred.prn"));
    return BenchWindows::runWindowBenchmarks(argc, argv, [&] {
        return folder.isValid() && BenchSupport::writeReportFile(g_pages, 20)
            && BenchSupport::writeOnePageFile(g_halfHundred, 50 << 20);
    });
}
