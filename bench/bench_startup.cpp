// Start-up to the first window: `sticker2` alone (the sticker form), run as a
// user runs it with STICKER2_QUIT_WHEN_SHOWN set so that it leaves once the
// form is on screen, next to a minimal Qt Widgets program that shows one
// empty window (minimal_qt_window, which links nothing else). Both run as
// fresh processes on the offscreen platform. Run by hand:
//   ./bench_startup [--benchmark_filter=...]
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void runChild(benchmark::State &state, const QString &program)
{
    // A settings home of its own, the same for every run (as a user's is).
    static QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("STICKER2_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    for (auto _ : state) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(program, {});
        if (!child.waitForFinished(30000) || child.exitStatus() != QProcess::NormalExit
            || child.exitCode() != 0)
            state.SkipWithError("the child did not show its window");
    }
}

void BM_MinimalWidgetsProgram(benchmark::State &state)
{
    runChild(state, QStringLiteral(MINIMAL_QT_WINDOW));
}
BENCHMARK(BM_MinimalWidgetsProgram)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

void BM_Sticker2FirstWindow(benchmark::State &state)
{
    runChild(state, QStringLiteral(STICKER2_PROGRAM));
}
BENCHMARK(BM_Sticker2FirstWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return BenchSupport::runBenchmarks(argc, argv);
}
