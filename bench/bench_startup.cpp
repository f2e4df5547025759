// Start-up to the first window: `sticker2` alone (the sticker form) and
// `sticker2 view FILE` (a report view of a small print file), run as a
// user runs it with STICKER2_QUIT_WHEN_SHOWN set so that it leaves once the
// form is on screen, next to a minimal Qt Widgets program that shows one
// window with a label and leaves once it is drawn (minimal_qt_window, which
// links nothing else). Both run as
// whole processes (spawned and waited for, nothing of Qt between: a QProcess
// in the benchmark would add its own cost to both) on the offscreen
// platform, and again on X11 to the first mapped and drawn window where an
// X server is named (DISPLAY; Xvfb serves); cpu_ms is the child's own
// processor time. Then the commands that need no window system, which start
// on Qt Core alone: `--version`. Run by hand:
//   ./bench_startup [--benchmark_filter=...]
//   Xvfb :99 & DISPLAY=:99 ./bench_startup --benchmark_filter=X11
#include "BenchSupport.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A settings home of its own, the same for every run (as a user's is).
QTemporaryDir &home()
{
    static QTemporaryDir folder;
    return folder;
}

void runChild(benchmark::State &state, const char *program, const QStringList &arguments = {},
    const char *platform = "offscreen")
{
    if (qstrcmp(platform, "xcb") == 0 && qEnvironmentVariableIsEmpty("DISPLAY")) {
        state.SkipWithError("no X server (DISPLAY is not set; Xvfb :99 and DISPLAY=:99 serve)");
        return;
    }
    double cpuSeconds = 0;
    long faults = 0;
    for (auto _ : state) {
        const BenchSupport::ProcessUsage usage = BenchSupport::runProcess(
            program, arguments, home().filePath(QStringLiteral("config")), "/dev/null", platform);
        if (usage.status != 0)
            state.SkipWithError("the child failed (or did not show its window)");
        cpuSeconds += usage.cpuSeconds;
        faults += usage.pageFaults;
    }
    state.counters["cpu_ms"] = 1000.0 * cpuSeconds / double(state.iterations());
    // Pages first touched: a larger window's picture is most of the
    // difference from the minimal program's.
    state.counters["faults"] = double(faults) / double(state.iterations());
}

// The windows' benchmarks on a window system: offscreen, or "xcb".
const char *platformOf(benchmark::State &state)
{
    return state.range(0) == 0 ? "offscreen" : "xcb";
}

void BM_MinimalWidgetsProgram(benchmark::State &state)
{
    runChild(state, MINIMAL_QT_WINDOW, {}, platformOf(state));
}

void BM_Sticker2FirstWindow(benchmark::State &state)
{
    runChild(state, STICKER2_PROGRAM, {}, platformOf(state));
}

// A report view of a small print file (a page of text, some of it bold).
void BM_Sticker2ViewFirstWindow(benchmark::State &state)
{
    const QString file = home().filePath(QStringLiteral("invoice.prn"));
    QFile print(file);
    if (!print.open(QIODevice::WriteOnly) || print.write("\x1b@Invoice 1\r\n\x1b" "EDue\x1b" "F 12.50\r\n\f") <= 0) {
        state.SkipWithError("cannot write the print file");
        return;
    }
    print.close();
    runChild(state, STICKER2_PROGRAM, {QStringLiteral("view"), file}, platformOf(state));
}

// Each window program on the offscreen platform, then on X11.
void windowsOn(benchmark::internal::Benchmark *b)
{
    b->ArgName("X11")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
}
BENCHMARK(BM_MinimalWidgetsProgram)->Apply(windowsOn);
BENCHMARK(BM_Sticker2FirstWindow)->Apply(windowsOn);
BENCHMARK(BM_Sticker2ViewFirstWindow)->Apply(windowsOn);

// A command line on Qt Core alone, against `true` (a process and nothing more).
void BM_TrueProcess(benchmark::State &state)
{
    runChild(state, "true");
}
BENCHMARK(BM_TrueProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

void BM_Sticker2Version(benchmark::State &state)
{
    runChild(state, STICKER2_PROGRAM, {QStringLiteral("--version")});
}
BENCHMARK(BM_Sticker2Version)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

} // namespace

int main(int argc, char **argv)
{
    qputenv("XDG_DATA_HOME", QFile::encodeName(home().filePath(QStringLiteral("data"))));
    qputenv("STICKER2_QUIT_WHEN_SHOWN", "1");
    return BenchSupport::runBenchmarks(argc, argv);
}
