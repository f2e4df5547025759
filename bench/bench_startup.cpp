// Start-up to the first window: the program's own start (the sticker form
// shown, as `sticker2` alone does, in a fresh process of this benchmark)
// next to a minimal Qt Widgets program that shows one empty window, in a
// fresh process of its own (minimal_qt_window, which links nothing else).
#include "BenchSupport.h"
#include "gui/startup/FormStartup.h"
#include "platform/AppPaths.h"
#include "platform/ProcessSignals.h"

#include <QApplication>
#include <QProcess>
#include <QDeadlineTimer>
#include <QWindow>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <cstring>

namespace {

QString g_self;

void runChild(benchmark::State &state, const QString &program, const QStringList &arguments)
{
    for (auto _ : state) {
        QProcess child;
        child.start(program, arguments);
        if (!child.waitForFinished(30000) || child.exitCode() != 0)
            state.SkipWithError("the child did not show its window");
    }
}

void BM_MinimalWidgetsProgram(benchmark::State &state)
{
    runChild(state, QStringLiteral(MINIMAL_QT_WINDOW), {});
}
BENCHMARK(BM_MinimalWidgetsProgram)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_Sticker2FirstWindow(benchmark::State &state)
{
    runChild(state, g_self, {QStringLiteral("--child-sticker2")});
}
BENCHMARK(BM_Sticker2FirstWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// The child: the program's start, leaving as soon as its first window is exposed.
int child(int argc, char **argv)
{
    ignoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sticker2"));
    AppPaths::ensureProgramFolder();
    Main();
    QWidget *shown = QApplication::activeWindow() ? QApplication::activeWindow() : QApplication::topLevelWidgets().value(0);
    const auto exposed = [shown] { return shown && shown->windowHandle() && shown->windowHandle()->isExposed(); };
    QDeadlineTimer deadline(10000);
    while (shown && !exposed() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return exposed() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--child-sticker2") == 0)
        return child(argc, argv);
    g_self = QString::fromLocal8Bit(argv[0]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return BenchSupport::runBenchmarks(argc, argv);
}
