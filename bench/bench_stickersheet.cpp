// Writing a character-mode sticker sheet to a file, against writing the same
// bytes with one buffered write; and the whole command against cat, in
// turn. Run by hand:
//   ./bench_stickersheet [--benchmark_filter=...]
#include "BenchSupport.h"
#include "platform/AppPaths.h"
#include "sticker/CharSheetWriter.h"
#include "sticker/FormatStore.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {

StickerInput benchInput(long long pages)
{
    StickerInput in;
    const char *texts[12] = {"Velmora Traders", "12 Market Road", "Pune 411001", "Roll No ", "Class", "601",
        "612", "4", "Phone 020 5550101", "India", "1", "10"};
    for (int i = 0; i < 12; ++i)
        in.lineTexts[size_t(i)] = QString::fromLatin1(texts[i]);
    in.maxField = 7;
    in.lineWidth = "14";
    in.TxSp = "2";
    in.stickersAcross = "8";
    in.TxRow = "50";
    in.TxBlank = "1";
    in.pageCount = QString::number(pages);
    in.condensed = true;
    return in;
}

void BM_WriteSheetToFile(benchmark::State &state)
{
    const StickerWorkingValues values = computeWorkingValues(benchInput(state.range(0)));
    QTemporaryDir dir;
    const QString path = dir.filePath("sheet.prn");
    qint64 bytes = 0;
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        QString error;
        CharSheetWriter::write(values, true, &file, &error);
        file.close();
        bytes = QFileInfo(path).size();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["file_MB"] = double(bytes) / 1e6;
}

// The same bytes, made beforehand, written with one call.
void BM_OneBufferedWrite(benchmark::State &state)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    CharSheetWriter::write(computeWorkingValues(benchInput(state.range(0))), true, &buffer, &error);
    const QByteArray bytes = buffer.data();
    QTemporaryDir dir;
    const QString path = dir.filePath("sheet.prn");
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        file.close();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK(BM_WriteSheetToFile)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneBufferedWrite)->Arg(200)->Unit(benchmark::kMillisecond);

// Making the bytes alone, into a device that throws them away.
namespace {
class NullDevice : public QIODevice
{
protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 len) override { return len; }
};
void BM_MakeSheetOnly(benchmark::State &state)
{
    const StickerWorkingValues values = computeWorkingValues(benchInput(state.range(0)));
    for (auto _ : state) {
        NullDevice device;
        device.open(QIODevice::WriteOnly);
        QString error;
        CharSheetWriter::write(values, true, &device, &error);
    }
}
} // namespace
BENCHMARK(BM_MakeSheetOnly)->Arg(200)->Unit(benchmark::kMillisecond);

// The whole command, `sticker2 stickers --slot 0 --pages N -o FILE`, as a
// user runs it (start-up included), against one `cat` of the same bytes: a
// sheet of 200 pages (8.7 MB), where the writing counts, and of one page
// (44 KB), where the start does.
namespace {
QTemporaryDir &commandHome()
{
    static QTemporaryDir home;
    static const bool stored = [] {
        // The slot is stored in a settings home of its own, which the
        // command is given too.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
        AppPaths::ensureProgramFolder();
        QString error;
        StickerInput input = benchInput(200);
        return FormatStore::save(0, input, &error);
    }();
    Q_UNUSED(stored);
    return home;
}
// The command and one cat of the sheet it wrote run in turn, each iteration,
// as whole processes (spawned and waited for), so that both meet the same
// moment of the machine. The time reported is the command's; `speed_of_cat`
// is cat's time over the command's (the goal: at least 0.8), cpu_ms the
// command's own processor time, faults and cat_faults the pages each first
// touched (a buffer cleared before use shows here first).
void compareWithCat(benchmark::State &state, const char *output, const char *redirect)
{
    const QByteArray program = QByteArrayLiteral(STICKER2_PROGRAM);
    const QString pages = QString::number(state.range(0));
    const QString sheet = commandHome().filePath(QStringLiteral("sheet-%1.prn").arg(pages));
    if (!QFileInfo::exists(sheet))
        QProcess::execute(QStringLiteral(STICKER2_PROGRAM), {"stickers", "--slot", "0", "--pages", pages, "-o", sheet});
    const QByteArray copy = QFile::encodeName(commandHome().filePath(QStringLiteral("copy.prn")));
    const QByteArray piped = redirect ? QFile::encodeName(commandHome().filePath(QLatin1String(redirect))) : QByteArray();
    const QString config = commandHome().filePath(QStringLiteral("config"));
    double cpuSeconds = 0;
    double oursTotal = 0;
    double catTotal = 0;
    long faults = 0;
    long catFaults = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        const BenchSupport::ProcessUsage cat = BenchSupport::runProcess("cat", {sheet}, config, copy.constData());
        catTotal += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        start = std::chrono::steady_clock::now();
        const BenchSupport::ProcessUsage ours = BenchSupport::runProcess(program.constData(),
            {"stickers", "--slot", "0", "--pages", pages, "-o", QString::fromLocal8Bit(output)}, config,
            redirect ? piped.constData() : nullptr);
        const double mine = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (cat.status != 0 || ours.status != 0) {
            state.SkipWithError("a run failed");
            return;
        }
        oursTotal += mine;
        cpuSeconds += ours.cpuSeconds;
        faults += ours.pageFaults;
        catFaults += cat.pageFaults;
        state.SetIterationTime(mine);
    }
    const double n = double(state.iterations());
    state.counters["file_MB"] = double(QFileInfo(sheet).size()) / 1e6;
    state.counters["cpu_ms"] = 1000.0 * cpuSeconds / n;
    state.counters["cat_ms"] = 1000.0 * catTotal / n;
    state.counters["speed_of_cat"] = catTotal / oursTotal;
    state.counters["faults"] = double(faults) / n;
    state.counters["cat_faults"] = double(catFaults) / n;
}
// `sticker2 stickers ... -o FILE`: the sheet saved whole (synced, then put in
// place), which cat does not do.
void BM_StickersCommand(benchmark::State &state)
{
    const QByteArray out = QFile::encodeName(commandHome().filePath(QStringLiteral("out.prn")));
    compareWithCat(state, out.constData(), nullptr);
}
// The same sheet written to standard output (-o -), which the shell has
// opened on a file, as cat's is: neither waits for the disk.
void BM_StickersToStandardOutput(benchmark::State &state)
{
    compareWithCat(state, "-", "piped.prn");
}
} // namespace
BENCHMARK(BM_StickersCommand)->Arg(200)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);
BENCHMARK(BM_StickersToStandardOutput)->Arg(200)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

BENCHMARK_MAIN();
