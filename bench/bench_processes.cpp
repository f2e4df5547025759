// The program's whole-file passes as a user meets them, each run as a whole
// process beside the tool it is measured against, in the same run, with the
// ratio of their times as a counter (`times_reference`: the program's time
// over the reference's):
//   load and cut 100 MB (convert of page 1)  against cat to /dev/null (goal <= 3)
//   the printed look's index (a PNG of sheet 1) against cat (goal <= 3, a third of its speed)
//   the plain text of every page             against cp (goal <= 2, half its speed)
//   the web page                             against sed with the nine replacements (goal <= 0.1)
// Run by hand: build/bench/bench_processes
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

namespace {

QTemporaryDir *g_folder = nullptr;
QString g_path;

// Runs a program to its end with its standard output into `output` (a file,
// or /dev/null); its wall time in seconds, negative when it failed.
double run(const QStringList &command, const QString &output)
{
    std::vector<QByteArray> args;
    for (const QString &a : command)
        args.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray out = output.toLocal8Bit();
    posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

QString work(const char *name)
{
    return g_folder->filePath(QString::fromLatin1(name));
}

QStringList program(const QStringList &arguments)
{
    return QStringList {QStringLiteral(STICKER2_PROGRAM)} + arguments;
}

// Each iteration runs the reference, then the program; the time reported is
// the program's, the counters both and their ratio.
void compare(benchmark::State &state, const QStringList &reference, const QString &referenceOutput,
    const QStringList &ours)
{
    double referenceTotal = 0;
    double oursTotal = 0;
    for (auto _ : state) {
        const double theirs = run(reference, referenceOutput);
        const double mine = run(ours, QStringLiteral("/dev/null"));
        if (theirs < 0 || mine < 0) {
            state.SkipWithError("a run failed");
            return;
        }
        referenceTotal += theirs;
        oursTotal += mine;
        state.SetIterationTime(mine);
    }
    const double n = double(state.iterations());
    state.counters["reference_ms"] = referenceTotal / n * 1000;
    state.counters["sticker2_ms"] = oursTotal / n * 1000;
    state.counters["times_reference"] = oursTotal / referenceTotal;
}

void BM_LoadAndCutAgainstCat(benchmark::State &state)
{
    compare(state, {QStringLiteral("cat"), g_path}, QStringLiteral("/dev/null"),
        program({QStringLiteral("convert"), g_path, work("page1.txt"), QStringLiteral("--pages"),
            QStringLiteral("1")}));
}
BENCHMARK(BM_LoadAndCutAgainstCat)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_PrintedIndexAgainstCat(benchmark::State &state)
{
    compare(state, {QStringLiteral("cat"), g_path}, QStringLiteral("/dev/null"),
        program({QStringLiteral("convert"), g_path, work("sheet.png"), QStringLiteral("--pages"),
            QStringLiteral("1"), QStringLiteral("--dpi"), QStringLiteral("10")}));
}
BENCHMARK(BM_PrintedIndexAgainstCat)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_PlainTextAgainstCp(benchmark::State &state)
{
    compare(state, {QStringLiteral("cp"), g_path, work("copy.prn")}, QStringLiteral("/dev/null"),
        program({QStringLiteral("convert"), g_path, work("all.txt")}));
}
BENCHMARK(BM_PlainTextAgainstCp)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_WebPageAgainstSed(benchmark::State &state)
{
    const QStringList sed = QStringList{QStringLiteral("sed")} + BenchSupport::webPageSedScript(g_path);
    compare(state, sed, work("sed.html"), program({QStringLiteral("convert"), g_path, work("all.html")}));
}
BENCHMARK(BM_WebPageAgainstSed)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    g_folder = &folder;
    g_path = folder.filePath(QStringLiteral("report.prn"));
    if (!folder.isValid() || !BenchSupport::writeReportFile(g_path))
        return 1;
    // The programs run as a user runs them: no display, their own settings,
    // sed in the C locale (bytes, not characters).
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", folder.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("LC_ALL", "C");
    return BenchSupport::runBenchmarks(argc, argv);
}
