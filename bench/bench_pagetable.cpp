// Loading and cutting a large print file, next to just reading it.
#include "platform/ByteText.h"
#include "report/PageTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

constexpr int PageTotal = 5000;
constexpr int LinesPerPage = 66;
constexpr int LineLength = 300; // printable characters; about 100 MB in all

QString g_path;
qint64 g_size = 0;

// A report page: 66 lines with condensed, bold, underline and double-width
// runs, ended by a form feed.
QByteArray makePage(int number)
{
    QByteArray page;
    page.reserve(LinesPerPage * (LineLength + 16));
    for (int line = 0; line < LinesPerPage; ++line) {
        QByteArray text = QByteArray::number(number).rightJustified(6, ' ')
            + QByteArray::number(line).rightJustified(4) + ' '
            + QByteArray(LineLength - 11, char('A' + line % 26));
        switch (line % 6) {
        case 0:
            text.insert(20, "\x0f");
            text.insert(60, "\x12");
            break;
        case 1:
            text.insert(10,
                "\x1b"
                "E");
            text.insert(40,
                "\x1b"
                "F");
            break;
        case 2:
            text.insert(5, "\x1b-1");
            text.insert(30, "\x1b-0");
            break;
        case 3:
            text.insert(0,
                "\x0e\x1b"
                "E\x1bG");
            text.insert(25,
                "\x14\x1b"
                "F\x1bH");
            break;
        default:
            break;
        }
        page += text + "\r\n";
    }
    page += '\f';
    return page;
}

bool generate(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i < PageTotal; ++i) {
        const QByteArray page = makePage(i + 1);
        if (file.write(page) != page.size())
            return false;
    }
    g_size = file.size();
    return true;
}

void BM_ReadOnly(benchmark::State &state)
{
    for (auto _ : state) {
        QByteArray bytes;
        QString error;
        if (!ByteText::readFile(g_path, &bytes, &error))
            state.SkipWithError("cannot read the print file");
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * g_size);
}
BENCHMARK(BM_ReadOnly)->Unit(benchmark::kMillisecond);

void BM_LoadAndCut(benchmark::State &state)
{
    for (auto _ : state) {
        PageTable table;
        QString error;
        if (!table.load(g_path, &error) || table.PageCount() != PageTotal)
            state.SkipWithError("the print file did not cut into its pages");
        benchmark::DoNotOptimize(table.PageCount());
    }
    state.SetBytesProcessed(state.iterations() * g_size);
}
BENCHMARK(BM_LoadAndCut)->Unit(benchmark::kMillisecond);

void BM_CutInMemory(benchmark::State &state)
{
    QByteArray bytes;
    QString error;
    ByteText::readFile(g_path, &bytes, &error);
    for (auto _ : state) {
        PageTable table;
        table.setBytes(bytes);
        benchmark::DoNotOptimize(table.PageCount());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_CutInMemory)->Unit(benchmark::kMillisecond);

void BM_EveryPageAsText(benchmark::State &state)
{
    PageTable table;
    QString error;
    table.load(g_path, &error);
    for (auto _ : state) {
        qsizetype total = 0;
        for (int i = 0; i < table.PageCount(); ++i)
            total += table.page(i).size();
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * g_size);
}
BENCHMARK(BM_EveryPageAsText)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    g_path = folder.filePath(QStringLiteral("large.prn"));
    if (!folder.isValid() || !generate(g_path))
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
