#pragma once

// What the benchmark programs share: the print files of the report
// benchmarks, the reading of a file that the report benchmarks are measured
// against, the process's memory, and the run of the registered benchmarks.
#include "escp/EscpCommands.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h> // environ, with the GNU extensions g++ turns on
#include <vector>

namespace BenchSupport {

// What a run of the program as a whole process used: its exit status, its
// peak memory and its processor time (the benchmarks that measure the
// program as it runs, beside a reference).
struct ProcessUsage
{
    int status = -1;
    double peakMB = 0;
    double cpuSeconds = 0;
    long pageFaults = 0; // pages first touched (minor faults): about 2 us each on a virtual machine
};

// Runs `program` with the arguments, on the window system `platform` (none
// by default: the offscreen one) and with its settings under `configHome`;
// its standard output goes to `outputFile` when one is named (as a shell's
// `> FILE` does).
inline ProcessUsage runProcess(const char *program, const QStringList &arguments, const QString &configHome,
    const char *outputFile = nullptr, const char *platform = "offscreen")
{
    std::vector<QByteArray> args{QByteArray(program)};
    for (const QString &a : arguments)
        args.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    qputenv("XDG_CONFIG_HOME", configHome.toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", platform);
    ProcessUsage usage;
    pid_t pid = 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outputFile)
        posix_spawn_file_actions_addopen(&actions, 1, outputFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int spawned = posix_spawnp(&pid, program, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return usage;
    int status = 0;
    struct rusage used = {};
    if (wait4(pid, &status, 0, &used) != pid)
        return usage;
    usage.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    usage.peakMB = double(used.ru_maxrss) / 1024.0;
    usage.pageFaults = used.ru_minflt + used.ru_majflt;
    usage.cpuSeconds = double(used.ru_utime.tv_sec + used.ru_stime.tv_sec)
        + double(used.ru_utime.tv_usec + used.ru_stime.tv_usec) / 1e6;
    return usage;
}


// 5,000 pages of the page below make about 100 MB.
constexpr int LargeFilePages = 5000;

// A report page: 66 lines of about 300 bytes with every kind of emphasis on
// it (double width, underline, bold, condensed, twelve pitch), CR LF line
// ends and a form feed at its end.
inline QByteArray reportPage(int number)
{
    QByteArray bytes;
    const QByteArray filler
        = QByteArray("  Item 00000   Description of the goods   12 pcs     1,234.50   ").repeated(5);
    for (int line = 0; line < 66; ++line) {
        QByteArray text = filler.left(315);
        switch (line) {
        case 0:
            text = "\x0e\x1b"
                   "E\x1bGPAGE "
                + QByteArray::number(number)
                + "\x14\x1b"
                  "F\x1bH"
                + text.left(295);
            break;
        case 2:
            text = "\x1b-1Customer\x1b-0  \x1b"
                   "ETOTAL\x1b"
                   "F"
                + text.left(295);
            break;
        case 3:
            text = "\x0f" + text + "\x12";
            break;
        case 5:
            text = "\x12\x1bW \x1bM twelve pitch\x1bP" + text.left(295);
            break;
        default:
            break;
        }
        bytes += text + "\r\n";
    }
    return bytes + '\f';
}

// Writes the print file page by page, so the set-up itself stays small.
inline bool writeReportFile(const QString &path, int pages = LargeFilePages)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (int p = 1; p <= pages; ++p) {
        const QByteArray page = reportPage(p);
        if (file.write(page) != page.size())
            return false;
    }
    return file.flush();
}

// One page of `size` bytes without a form feed: report lines over and over.
inline bool writeOnePageFile(const QString &path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray page = reportPage(1);
    page.chop(1);
    for (qint64 written = 0; written < size; written += page.size()) {
        if (file.write(page) != page.size())
            return false;
    }
    return file.flush();
}

// 66 lines of 136 columns, every line full of emphasis regions (condensed,
// bold, underline, double width, 12 pitch); no form feed.
inline QByteArray emphasisLines()
{
    using namespace Escp;
    const QByteArray word = "abcdefghijklmnopqrstuvwxy";
    QByteArray page;
    for (int line = 0; line < 66; ++line) {
        QByteArray text = CondOn.toByteArray() + word + CondOff.toByteArray() + ' ';
        text += BoldOn.toByteArray() + word + BoldOff.toByteArray() + ' ';
        text += ULineOn.toByteArray() + word + ULineOff.toByteArray() + ' ';
        text += BBoldOn.toByteArray() + word.left(20) + BBoldOff.toByteArray() + ' ';
        text += C96On.toByteArray() + word + C96Off.toByteArray() + ' ';
        text += QByteArray(136 - 25 * 4 - 20 - 5, '.');
        page += text + "\r\n";
    }
    return page;
}

// sed's arguments for the web page's yardstick: the nine replacements the
// web page makes (spaces, double width, bold, condensed, underline), on `file`.
inline QStringList webPageSedScript(const QString &file)
{
    return {"-e", "s| |\\&nbsp;|g", "-e",
        QString::fromLatin1("s|\x0e\x1b"
                            "E\x1bG|<H2 style = 'margin-top:0;margin bottom:0;  color:rgb(0,0,128);' >|g"),
        "-e",
        QString::fromLatin1("s|\x14\x1b"
                            "F\x1bH|</H2>|g"),
        "-e",
        QString::fromLatin1("s|\x1b"
                            "E|<b  style = ' color:rgb(128,0,0);'>|g"),
        "-e",
        QString::fromLatin1("s|\x1b"
                            "F|</b>|g"),
        "-e",
        QString::fromLatin1("s|\x0f|<h6 style = 'margin-top:0;margin bottom:0 ;  color:rgb(128,0,128);'>|g"),
        "-e", QString::fromLatin1("s|\x12|</h6>|g"), "-e", QString::fromLatin1("s|\x1b-1||g"), "-e",
        QString::fromLatin1("s|\x1b-0||g"), file};
}

// The reference of the large-file benchmarks: the file read through once,
// as cat reads it.
inline void readThrough(benchmark::State &state, const QString &path)
{
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        qint64 total = 0;
        for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;)
            total += n;
        ::close(fd);
        benchmark::DoNotOptimize(total);
    }
}

// Resident memory (a /proc/self/status field such as "VmRSS:" or "VmHWM:",
// the peak since the last reset) in MB, Linux only.
inline double statusMB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

// Resident memory that is not file-backed (beyond a file's map), in kB.
inline long anonymousKb()
{
    return long(statusMB("RssAnon:") * 1024);
}

// Starts the peak ("VmHWM:") again from what is resident now.
inline void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// Runs the benchmarks registered in the program; 1 on unknown arguments.
inline int runBenchmarks(int &argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace BenchSupport
