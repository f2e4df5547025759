// The ESC/P engine over a large print file: cutting 100 MB into tokens next
// to copying it to /dev/null as `cat` does (the tokenizer must keep at least
// a third of that speed), and indexing the sheets of a file whose one page
// is 50 MB and of one with seven million one-line sheets, with the memory it
// takes beyond the map (a state kept for every sheet took 580 MB for 2 MB of
// one-line sheets).
#include "BenchSupport.h"
#include "escp/EscpTokenizer.h"
#include "escp/SheetIndex.h"
#include "report/PageTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString g_reports; // 100 MB of report pages
QString g_onePage; // 100 MB: two pages of 50 MB, the lines full of commands and pictures
QString g_lines;   // 21 MB: a one-line form, seven million sheets of one line
qint64 g_size = 0;

bool writeLinesFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("\x1b" "C\x01") != 3)
        return false;
    const QByteArray chunk = QByteArray("a\r\n").repeated(100000);
    for (int i = 0; i < 70; ++i)
        file.write(chunk);
    return file.flush();
}

bool writeOnePageFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    for (int i = 0; i < 1000; ++i) {
        chunk += QByteArray("\x1b@\x1b" "3\x18\x1bK\x40\x00", 9) + QByteArray(64, '\x5a') + "\r\n";
        chunk += QByteArray("\x0e\x1b" "E Total \x14\x1b" "F\tcolumn\x1b$\x10\x00 text 1234.50", 38) + "\r\n";
    }
    for (qint64 written = 0; written < 50 << 20; written += chunk.size())
        file.write(chunk);
    file.write("\f");
    for (qint64 written = 0; written < 50 << 20; written += chunk.size())
        file.write(chunk);
    return file.flush();
}

void BM_CatToDevNull(benchmark::State &state)
{
    std::vector<char> buffer(128 * 1024);
    for (auto _ : state) {
        const int in = ::open(QFile::encodeName(g_reports).constData(), O_RDONLY | O_CLOEXEC);
        const int out = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        ssize_t n;
        while ((n = ::read(in, buffer.data(), buffer.size())) > 0)
            benchmark::DoNotOptimize(::write(out, buffer.data(), size_t(n)));
        ::close(in);
        ::close(out);
    }
    state.SetBytesProcessed(state.iterations() * g_size);
}
BENCHMARK(BM_CatToDevNull)->Unit(benchmark::kMillisecond);

void BM_Tokenize(benchmark::State &state)
{
    for (auto _ : state) {
        QFile file(g_reports);
        file.open(QIODevice::ReadOnly);
        const uchar *map = file.map(0, file.size());
        EscpTokenizer tokens(QByteArrayView(map, file.size()));
        qint64 count = 0;
        for (EscpToken t = tokens.next(); t.kind != EscpToken::End; t = tokens.next())
            ++count;
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(state.iterations() * g_size);
}
BENCHMARK(BM_Tokenize)->Unit(benchmark::kMillisecond);

// The printed look's index of 100 MB: of report pages (0), the same read in
// one pass (3: a machine with one processor), and of a file with a 50 MB
// page full of commands and pictures (1); and of 21 MB of one-line sheets
// (2); the memory it holds beyond the map and the parts whose reading was
// kept (one a processor where the guesses hold) are reported as counters.
void BM_IndexSheets(benchmark::State &state)
{
    const int which = int(state.range(0));
    QFile file(which == 2 ? g_lines : which == 1 ? g_onePage : g_reports);
    file.open(QIODevice::ReadOnly);
    const uchar *map = file.map(0, file.size());
    const QByteArrayView bytes(map, file.size());
    double beyond = 0;
    for (auto _ : state) {
        BenchSupport::resetPeakMemory();
        const double before = BenchSupport::statusMB("VmRSS:");
        const double fileBefore = BenchSupport::statusMB("RssFile:");
        SheetIndex doc;
        doc.build(bytes, PrinterSetup(), {}, which == 3 ? 1 : 0);
        benchmark::DoNotOptimize(doc.sheetCount());
        state.counters["passes"] = doc.passes();
        // Mapped pages touched count as resident: leave them out.
        beyond = BenchSupport::statusMB("VmHWM:") - before
            - (BenchSupport::statusMB("RssFile:") - fileBefore);
        state.counters["sheets"] = doc.sheetCount();
    }
    state.counters["MB_beyond_map"] = qMax(0.0, beyond);
    state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_IndexSheets)->Arg(0)->Arg(3)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_reports = dir.filePath(QStringLiteral("reports.prn"));
    g_onePage = dir.filePath(QStringLiteral("onepage.prn"));
    g_lines = dir.filePath(QStringLiteral("lines.prn"));
    if (!BenchSupport::writeReportFile(g_reports) || !writeOnePageFile(g_onePage) || !writeLinesFile(g_lines))
        return 1;
    g_size = QFileInfo(g_reports).size();
    return BenchSupport::runBenchmarks(argc, argv);
}
