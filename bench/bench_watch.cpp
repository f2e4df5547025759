// The watch folder's check for writers: one walk of the open files for a
// whole batch of candidates, next to one walk per file (the reference), and
// a batch of files from arrival to its report.
#include "BenchSupport.h"
#include "watch/OpenWriters.h"
#include "watch/PrintFileWatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QStringList g_files;

void BM_WalkPerFile(benchmark::State &state)
{
    const QStringList files = g_files.mid(0, int(state.range(0)));
    for (auto _ : state) {
        int writing = 0;
        for (const QString &file : files)
            writing += OpenWriters::isOpenForWriting(file);
        benchmark::DoNotOptimize(writing);
    }
    state.SetItemsProcessed(state.iterations() * files.size());
}
BENCHMARK(BM_WalkPerFile)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_OneWalkPerRound(benchmark::State &state)
{
    const QStringList files = g_files.mid(0, int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(OpenWriters::openForWriting(files).size());
    state.SetItemsProcessed(state.iterations() * files.size());
}
BENCHMARK(BM_OneWalkPerRound)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

// From the moment a batch of N files has been written to the report of its
// last one, with the shortest settle interval; the goal is under 2 s for
// 10,000 (the settle interval itself is 500 ms in use).
void BM_BatchToReady(benchmark::State &state)
{
    const int count = int(state.range(0));
    for (auto _ : state) {
        QTemporaryDir dir;
        PrintFileWatcher watcher;
        watcher.setSettleInterval(1);
        watcher.start(dir.path());
        int ready = 0;
        QObject::connect(&watcher, &PrintFileWatcher::fileReady, [&ready] { ++ready; });
        for (int i = 0; i < count; ++i) {
            QFile file(dir.filePath(QStringLiteral("job%1.prn").arg(i)));
            if (!file.open(QIODevice::WriteOnly) || file.write("page\f") != 5)
                state.SkipWithError("cannot write the batch");
        }
        QElapsedTimer clock;
        clock.start();
        while (ready < count && clock.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (ready < count)
            state.SkipWithError("the batch was not reported in a minute");
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9); // writing the batch left out
    }
}
BENCHMARK(BM_BatchToReady)->Arg(10000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    for (int i = 0; i < 10000; ++i) {
        const QString path = folder.filePath(QStringLiteral("job%1.prn").arg(i));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        g_files << path;
    }
    return BenchSupport::runBenchmarks(argc, argv);
}
