// The markup passes over one full report page, as the view and printing run them.
#include "BenchSupport.h"
#include "gui/report/EditMarkup.h"
#include "report/PageText.h"
#include "report/ReportMarkup.h"
#include "escp/EscpCommands.h"

#include <QApplication>
#include <QTextDocument>
#include <QTextEdit>
#include <benchmark/benchmark.h>

namespace
{

constexpr int Lines = 66;
constexpr int Columns = 136;
constexpr int RegionsPerTag = 40;

// 66 lines of 136 printable columns holding 40 regions of every tag, spread
// over the lines, followed by the form feed the view adds.
QString makePage()
{
    using namespace Escp;
    const QString sequences[][2] = { { text(CondOn), text(CondOff) }, { text(ULineOn), text(ULineOff) },
        { text(BoldOn), text(BoldOff) }, { text(BBoldOn), text(BBoldOff) }, { text(C96On), text(C96Off) } };
    QVector<QString> lines(Lines);
    int region = 0;
    for (int round = 0; round < RegionsPerTag; ++round) {
        for (const auto &pair : sequences) {
            QString &line = lines[region % Lines];
            line += QStringLiteral("  filler ") + pair[0]
                + QStringLiteral("REGION%1").arg(region, 3, 10, QLatin1Char('0')) + pair[1];
            ++region;
        }
    }
    QString page;
    for (int i = 0; i < Lines; ++i) {
        QString line = lines[i];
        int printable = 0;
        for (QChar c : line)
            printable += c.unicode() >= 32 ? 1 : 0;
        line += QString(qMax(0, Columns - printable), QLatin1Char('.'));
        page += line + QStringLiteral("\r\n");
    }
    return page + QLatin1Char('\f');
}

// The passes over a bare document: argument 0 runs the view's five, 1 the
// four of printing and export.
void BM_PassesOnDocument(benchmark::State &state)
{
    const QString page = makePage();
    const MarkupContext context;
    const MarkupOrder order = state.range(0) == 0 ? MarkupOrder::View : MarkupOrder::Print;
    QTextDocument document;
    for (auto _ : state) {
        state.PauseTiming();
        PageText::setText(&document, page);
        state.ResumeTiming();
        applyMarkupPasses(&document, context, order);
    }
    state.SetBytesProcessed(state.iterations() * page.size());
}
BENCHMARK(BM_PassesOnDocument)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Showing a page in a view: the text goes in, the five passes run (argument
// 1; argument 0 leaves them out, to show what text and painting cost alone).
void BM_DisplayPageInEdit(benchmark::State &state)
{
    const QString page = makePage();
    const MarkupContext context;
    const bool withPasses = state.range(0) != 0;
    QTextEdit edit;
    edit.setLineWrapMode(QTextEdit::NoWrap);
    edit.resize(1000, 700);
    edit.show();
    for (auto _ : state) {
        setPageText(&edit, page);
        if (withPasses)
            applyMarkupPasses(&edit, context, MarkupOrder::View);
        QApplication::processEvents();
    }
    state.SetBytesProcessed(state.iterations() * page.size());
}
BENCHMARK(BM_DisplayPageInEdit)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
        qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    return BenchSupport::runBenchmarks(argc, argv);
}
