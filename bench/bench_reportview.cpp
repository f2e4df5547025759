// Speed of the report view: showing a page with its markup passes, the
// continuous view of a large file, and a search over a full page.
#include "BenchWindows.h"
#include "gui/report/PageView.h"
#include "report/PageText.h"
#include "report/ReportFont.h"
#include "report/ReportMarkup.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTest>
#include <QTextEdit>

#include <benchmark/benchmark.h>

namespace {

QTemporaryDir *s_dir = nullptr;

// A 66-line page of 136 columns, every line full of emphasis regions.
QByteArray emphasisPage()
{
    return BenchSupport::emphasisLines() + '\f';
}

QString writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = s_dir->filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

// The view of a file the benchmark wrote: it can be read.
FrmReport *openView(const QString &path)
{
    FrmReport *view = BenchWindows::openView(path);
    if (!view)
        qFatal("cannot open %s", qPrintable(path));
    return view;
}

void BM_ShowEmphasisPage(benchmark::State &state)
{
    FrmReport *view = openView(writeFile(QStringLiteral("emphasis.prn"), emphasisPage().repeated(4)));
    int k = 0;
    for (auto _ : state) {
        view->DisplayPage(k);
        k = (k + 1) % view->PageCount();
    }
    delete view;
}
BENCHMARK(BM_ShowEmphasisPage)->Unit(benchmark::kMillisecond);

// The next page as the user sees it: shown, then painted in the window.
void BM_NextPagePainted(benchmark::State &state)
{
    FrmReport *view = openView(writeFile(QStringLiteral("emphasis.prn"), emphasisPage().repeated(4)));
    int k = 0;
    for (auto _ : state) {
        view->DisplayPage(k);
        view->pageView()->viewport()->repaint();
        k = (k + 1) % view->PageCount();
    }
    delete view;
}
BENCHMARK(BM_NextPagePainted)->Unit(benchmark::kMillisecond);

// The next page as the user asks for it: by a click on Next (the
// reference), by its access key Alt+N, by Page Down; timed until the page
// has changed and is painted.
void nextPage(benchmark::State &state, int how)
{
    FrmReport *view = openView(writeFile(QStringLiteral("emphasis.prn"), emphasisPage().repeated(4)));
    view->activateWindow();
    if (!QTest::qWaitForWindowActive(view))
        return state.SkipWithError("the window did not become active");
    auto *next = view->findChild<QWidget *>(QStringLiteral("CmdNxt"));
    auto *first = view->findChild<QAbstractButton *>(QStringLiteral("CmdFst"));
    for (auto _ : state) {
        state.PauseTiming();
        first->click();
        first->setFocus(); // as after a click on First
        QCoreApplication::processEvents();
        state.ResumeTiming();
        if (how == 0)
            QTest::mouseClick(next, Qt::LeftButton);
        else
            QTest::keyClick(view, how == 1 ? Qt::Key_N : Qt::Key_PageDown, how == 1 ? Qt::AltModifier : Qt::NoModifier);
        while (view->currentPage() == 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        view->pageView()->viewport()->repaint();
    }
    delete view;
}
void BM_NextPageByClick(benchmark::State &state) { nextPage(state, 0); }
BENCHMARK(BM_NextPageByClick)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_NextPageByAltN(benchmark::State &state) { nextPage(state, 1); }
BENCHMARK(BM_NextPageByAltN)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_NextPageByPageDown(benchmark::State &state) { nextPage(state, 2); }
BENCHMARK(BM_NextPageByPageDown)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same page prepared without a view: text and passes, no layout.
void BM_PreparePageNoLayout(benchmark::State &state)
{
    const QString page = QString::fromLatin1(emphasisPage());
    for (auto _ : state) {
        QTextDocument document;
        document.setDefaultFont(reportFont(ReportStartPoints));
        PageText::setText(&document, page);
        applyMarkupPasses(&document, MarkupContext(), MarkupOrder::View);
        benchmark::DoNotOptimize(document.characterCount());
    }
}
BENCHMARK(BM_PreparePageNoLayout)->Unit(benchmark::kMillisecond);


void BM_ContinuousView20MB(benchmark::State &state)
{
    QByteArray page = emphasisPage();
    QByteArray file;
    while (file.size() < 20 * 1024 * 1024)
        file += page;
    FrmReport *view = openView(writeFile(QStringLiteral("big.prn"), file));
    auto *cont = view->findChild<QCheckBox *>(QStringLiteral("Check3"));
    BenchWindows::LongestStall stall;
    for (auto _ : state) {
        stall.start();
        cont->click(); // whole file into the view
        view->pageView()->viewport()->repaint(); // and its first screen painted
        stall.stop();
        state.PauseTiming();
        cont->click(); // back to page 1
        state.ResumeTiming();
    }
    state.counters["longest_stall_ms"] = double(stall.milliseconds());
    delete view;
}
BENCHMARK(BM_ContinuousView20MB)->Unit(benchmark::kMillisecond)->Iterations(3);

// A search over one page, timed per match: a normal page (66 lines) and one
// of about 400 KB (a whole sticker run, no form feed), side by side.
// A file of 50 MB without a form feed: one page, opened and its first
// screen painted.
void BM_OnePage50MB(benchmark::State &state)
{
    QByteArray page = emphasisPage();
    page.chop(1); // the form feed
    const QString path = writeFile(QStringLiteral("onepage.prn"), page.repeated(50 * 1024 * 1024 / page.size()));
    for (auto _ : state) {
        FrmReport *view = openView(path);
        view->pageView()->viewport()->repaint();
        state.PauseTiming();
        delete view;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OnePage50MB)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SearchPerMatch(benchmark::State &state)
{
    QByteArray page = emphasisPage();
    if (state.range(0) == 1) {
        page.chop(1); // the form feed
        page = page.repeated(400 * 1024 / page.size()) + '\f';
    }
    FrmReport *view = openView(writeFile(QStringLiteral("search.prn"), page));
    auto *box = view->findChild<QLineEdit *>(QStringLiteral("Text4"));
    box->setText(QStringLiteral("ab"));
    const qint64 matches = page.count("ab");
    for (auto _ : state) {
        BenchWindows::pressKey(box, Qt::Key_Return);
        state.PauseTiming();
        view->DisplayPage(0);
        state.ResumeTiming();
    }
    state.counters["per_match_us"] = benchmark::Counter(double(state.iterations() * matches),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["matches"] = double(matches);
    delete view;
}
BENCHMARK(BM_SearchPerMatch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    s_dir = &dir;
    return BenchWindows::runWindowBenchmarks(argc, argv, [&] { return dir.isValid(); });
}
