// Loading and cutting a large print file, next to just reading it.
#include "BenchSupport.h"
#include "platform/ByteText.h"
#include "report/PageTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

constexpr int PageTotal = BenchSupport::LargeFilePages;

QString g_path;
qint64 g_size = 0;

bool generate(const QString &path)
{
    if (!BenchSupport::writeReportFile(path, PageTotal))
        return false;
    g_size = QFileInfo(path).size();
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
    return BenchSupport::runBenchmarks(argc, argv);
}
