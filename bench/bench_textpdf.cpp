// The printed look's PDF of a large text-only report (80 columns, a bold
// line now and then, form feeds), measured as the program runs
// (`sticker2 convert` as a process of its own: processor time and peak
// resident memory), against the plain-text export of the same file in the
// same run. Beside the time it counts how much the PDF's streams hold once
// inflated for each byte of the print file (content_x: Qt's PDF writer
// places every glyph with an operator of its own, about twenty bytes a
// character).
// Run by hand from the build folder:
//   QT_QPA_PLATFORM=offscreen nice -n 10 bench/bench_textpdf [--benchmark_filter=...]
// Target: 100 MB in under 33 s of processor time.
#include "BenchSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <vector>


namespace {

QTemporaryDir &workFolder()
{
    static QTemporaryDir dir;
    return dir;
}

using Usage = BenchSupport::ProcessUsage;

Usage runProgram(const QStringList &arguments)
{
    return BenchSupport::runProcess(STICKER2_PROGRAM, arguments, workFolder().filePath(QStringLiteral("config")));
}

// A page of a stock report: a bold heading, 58 item lines (every tenth
// bold), a rule and a total; CR LF line ends and a form feed.
QByteArray reportPage(int page)
{
    QByteArray bytes = "\x1b" "EACME TRADING LTD.   STOCK REPORT   PAGE " + QByteArray::number(page).rightJustified(6)
        + "\x1b" "F\r\n" + QByteArray(80, '-') + "\r\n";
    for (int i = 0; i < 58; ++i) {
        const qint64 k = qint64(page) * 58 + i;
        QByteArray line = QByteArray::number(k).rightJustified(6, '0') + "  Item description number "
            + QByteArray::number(k % 99991).leftJustified(8) + "  " + QByteArray::number(k % 500).rightJustified(5)
            + " pcs  " + QByteArray::number((k % 1000) * 1.25, 'f', 2).rightJustified(10) + "  "
            + QByteArray::number((k % 1000) * 1.25 * (k % 500), 'f', 2).rightJustified(10);
        if (i % 10 == 0)
            line = "\x1b" "E" + line + "\x1b" "F";
        bytes += line + "\r\n";
    }
    return bytes + QByteArray(80, '-') + "\r\nTotal this page:\r\n\f";
}

// The report of about `megabytes` MB, written once.
QString reportFile(int megabytes)
{
    const QString path = workFolder().filePath(QStringLiteral("report%1.prn").arg(megabytes));
    if (QFile::exists(path))
        return path;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    const qint64 target = qint64(megabytes) * 1000 * 1000;
    for (int page = 1; file.size() < target; ++page) {
        const QByteArray bytes = reportPage(page);
        if (file.write(bytes) != bytes.size())
            return QString();
    }
    return path;
}

// The bytes of the PDF's Flate streams once inflated.
double inflatedBytes(const QString &pdfPath)
{
    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray pdf = file.readAll();
    double total = 0;
    qsizetype at = 0;
    while ((at = pdf.indexOf("/FlateDecode", at)) >= 0) {
        const qsizetype start = pdf.indexOf("stream\n", at);
        const qsizetype end = start < 0 ? -1 : pdf.indexOf("\nendstream", start);
        if (end < 0)
            break;
        // qUncompress takes the expected size ahead of the zlib stream (a
        // hint: it grows the buffer as it needs).
        const QByteArrayView deflated(pdf.constData() + start + 7, end - start - 7);
        QByteArray framed(4, '\0');
        const quint32 hint = quint32(qMin<qsizetype>(deflated.size() * 20, 1 << 30));
        for (int i = 0; i < 4; ++i)
            framed[i] = char(hint >> (24 - 8 * i));
        framed += deflated;
        total += double(qUncompress(framed).size());
        at = end;
    }
    return total;
}

void report(benchmark::State &state, const Usage &usage, const QString &in, const QString &out)
{
    state.counters["cpu_s"] = usage.cpuSeconds;
    state.counters["peak_MB"] = usage.peakMB;
    state.counters["file_MB"] = double(QFileInfo(in).size()) / 1e6;
    state.counters["out_MB"] = double(QFileInfo(out).size()) / 1e6;
    if (usage.status != 0)
        state.SkipWithError("the program failed");
}

// The printed look's PDF of an N MB report.
void BM_PrintedPdfOfText(benchmark::State &state)
{
    const QString in = reportFile(int(state.range(0)));
    const QString out = workFolder().filePath(QStringLiteral("printed.pdf"));
    Usage usage;
    for (auto _ : state)
        usage = runProgram({QStringLiteral("convert"), QStringLiteral("--look"), QStringLiteral("printed"), in, out});
    report(state, usage, in, out);
    state.counters["content_x"] = inflatedBytes(out) / double(QFileInfo(in).size());
}
BENCHMARK(BM_PrintedPdfOfText)->Arg(10)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference: the plain text of the same report.
void BM_PlainTextOfText(benchmark::State &state)
{
    const QString in = reportFile(int(state.range(0)));
    const QString out = workFolder().filePath(QStringLiteral("plain.txt"));
    Usage usage;
    for (auto _ : state)
        usage = runProgram({QStringLiteral("convert"), in, out});
    report(state, usage, in, out);
}
BENCHMARK(BM_PlainTextOfText)->Arg(10)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return BenchSupport::runBenchmarks(argc, argv);
}
