// The printed look's pictures and long runs of text, each measured as the
// program runs (`sticker2 convert` as a process of its own: its peak
// resident memory and its processor time), beside its reference in the same
// run. Run by hand:
//   ./bench_pictures [--benchmark_filter=...]
// Targets: 1,000 far-corner rasters under 256 MB; 100 picture-heavy sheets
// at 600 dpi PNG under 300 MB; time linear in the file (the 2x file takes
// about 2x the time: compare the rows of one benchmark).
#include "BenchSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <vector>


namespace {

using Usage = BenchSupport::ProcessUsage;

Usage runProgram(const QStringList &arguments, const QString &home)
{
    return BenchSupport::runProcess(STICKER2_PROGRAM, arguments, home);
}

QByteArray b(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int c : bytes)
        out.append(char(c));
    return out;
}

// An ESC . 2 raster that moves to the far corner and sets one byte there.
QByteArray farCornerRaster(int i)
{
    const int down = 7000 + (i % 100), across = 9000;
    return "\x1b." + b({2, 5, 5, 1, 0, 0, 0x72, down & 0xff, down >> 8, 0x52, across & 0xff, across >> 8, 0x22, 0,
                           0xff, 0xe3})
        + "\r";
}

// A sheet of sixty 8-dot strips 8 in wide at 120 dpi (a pattern of frames
// and a diagonal) under a line of text, and its form feed.
QByteArray pictureSheet(int n)
{
    QByteArray sheet = "Sheet " + QByteArray::number(n) + "\r\n\x1b" "3" + b({24});
    for (int strip = 0; strip < 60; ++strip) {
        QByteArray dots(960, '\0');
        for (int c = 0; c < 960; ++c)
            dots[c] = char((c % 96 == 0 || strip % 10 == 0) ? 0xff : (c + strip * 8) % 960 < 8 ? 0x80 >> (c % 8) : 0x81);
        sheet += "\x1b*" + b({1, 960 & 0xff, 960 >> 8}) + dots + "\r\n";
    }
    return sheet + "\f";
}

// The file of a benchmark row, written once into the folder.
QString makeFile(const QString &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(dir).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

void report(benchmark::State &state, const Usage &usage, qint64 bytes)
{
    state.counters["peak_MB"] = usage.peakMB;
    state.counters["cpu_s"] = usage.cpuSeconds;
    state.counters["status"] = usage.status;
    state.counters["file_MB"] = double(bytes) / 1e6;
    if (usage.status != 0)
        state.SkipWithError("the program failed");
}

// PDF of N far-corner rasters on one sheet; N = 0 is the reference: the
// program converting a one-line file.
void BM_FarCornerRastersPdf(benchmark::State &state)
{
    QTemporaryDir dir;
    QByteArray bytes = "Reference\r\n";
    for (int i = 0; i < state.range(0); ++i)
        bytes += farCornerRaster(i);
    const QString in = makeFile(dir.path(), "far.prn", bytes);
    Usage usage;
    for (auto _ : state)
        usage = runProgram({"convert", in, dir.filePath("far.pdf")}, dir.path());
    report(state, usage, bytes.size());
}
BENCHMARK(BM_FarCornerRastersPdf)->Arg(0)->Arg(1000)->Arg(2000)->Arg(4000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// PNG at 600 dpi of N picture-heavy sheets on a narrow carriage; the
// reference is the same sheets with their pictures left out.
void BM_PictureSheetsPng600(benchmark::State &state)
{
    QTemporaryDir dir;
    const bool pictures = state.range(1) != 0;
    QByteArray bytes;
    for (int n = 0; n < state.range(0); ++n)
        bytes += pictures ? pictureSheet(n) : "Sheet " + QByteArray::number(n) + "\r\n\f";
    const QString in = makeFile(dir.path(), "sheets.prn", bytes);
    Usage usage;
    for (auto _ : state)
        usage = runProgram({"convert", in, dir.filePath("out.png"), "--dpi", "600", "--carriage", "narrow"}, dir.path());
    report(state, usage, bytes.size());
}
BENCHMARK(BM_PictureSheetsPng600)->Args({100, 0})->Args({50, 1})->Args({100, 1})->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// PDF of one run of N MB of letters without a control character (the
// reference is the N = 20 row: 40 MB should take about twice its time).
void BM_LongRunPdf(benchmark::State &state)
{
    QTemporaryDir dir;
    const QByteArray bytes = QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ")
                                 .repeated(int(state.range(0) * 1000000 / 64));
    const QString in = makeFile(dir.path(), "run.prn", bytes);
    Usage usage;
    for (auto _ : state)
        usage = runProgram({"convert", in, dir.filePath("run.pdf")}, dir.path());
    report(state, usage, bytes.size());
}
BENCHMARK(BM_LongRunPdf)->Arg(20)->Arg(40)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return BenchSupport::runBenchmarks(argc, argv);
}
