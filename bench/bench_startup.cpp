// Start-up to the first window: the program's own start (the sticker form
// shown, as `sticker2` alone does) next to a minimal Qt Widgets program that
// shows one empty window, each in a fresh process of this benchmark.
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

void runChild(benchmark::State &state, const char *mode)
{
    for (auto _ : state) {
        QProcess child;
        child.start(g_self, {QString::fromLatin1(mode)});
        if (!child.waitForFinished(30000) || child.exitCode() != 0)
            state.SkipWithError("the child did not show its window");
    }
}

void BM_MinimalWidgetsProgram(benchmark::State &state)
{
    runChild(state, "--child-minimal");
}
BENCHMARK(BM_MinimalWidgetsProgram)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_Sticker2FirstWindow(benchmark::State &state)
{
    runChild(state, "--child-sticker2");
}
BENCHMARK(BM_Sticker2FirstWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// The child: shows its first window and leaves as soon as it is exposed.
int child(int argc, char **argv, bool program)
{
    if (program)
        ignoreFileSizeSignal();
    QApplication app(argc, argv);
    QWidget *shown = nullptr;
    if (program) {
        QApplication::setApplicationName(QStringLiteral("Sticker2"));
        AppPaths::ensureProgramFolder();
        Main();
        shown = QApplication::activeWindow() ? QApplication::activeWindow() : QApplication::topLevelWidgets().value(0);
    } else {
        shown = new QWidget;
        shown->show();
    }
    QDeadlineTimer deadline(10000);
    while (shown && !(shown->windowHandle() && shown->windowHandle()->isExposed()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return shown && shown->windowHandle() && shown->windowHandle()->isExposed() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--child-minimal") == 0)
        return child(argc, argv, false);
    if (argc > 1 && std::strcmp(argv[1], "--child-sticker2") == 0)
        return child(argc, argv, true);
    g_self = QString::fromLocal8Bit(argv[0]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return BenchSupport::runBenchmarks(argc, argv);
}
