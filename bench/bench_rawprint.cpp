// Raw printing of a generated 100 MB print file to a private CUPS daemon,
// next to `lp -o raw` sending the same file to the same queue.
//
// The benchmark starts its own daemon with tests/printing/cupsd-fixture.sh
// (under /tmp/sticker2-bench-<pid>) and stops it at the end. Run it from the
// build folder: bench/bench_rawprint
#include "BenchSupport.h"
#include "gui/platform/MessageBox.h"
#include "gui/printing/RawPrintMessages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <benchmark/benchmark.h>
#include <cups/cups.h>

namespace {

const QString Queue = QStringLiteral("Sticker2Raw");
QString s_folder;
QString s_file;

bool runScript(const QString &action)
{
    const QString script = QStringLiteral(STICKER2_SOURCE_DIR "/tests/printing/cupsd-fixture.sh");
    return QProcess::execute(QStringLiteral("sh"), {script, action, s_folder}) == 0;
}

// Waits until the queue has printed everything, then drops the copies.
void drainQueue()
{
    for (;;) {
        cups_job_t *jobs = nullptr;
        const int n
            = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, Queue.toUtf8().constData(), 0, CUPS_WHICHJOBS_ACTIVE);
        cupsFreeJobs(n, jobs);
        if (n <= 0)
            break;
        QThread::msleep(20);
    }
    QDir out(s_folder + "/out/" + Queue);
    for (const QString &entry : out.entryList(QDir::Files))
        out.remove(entry);
}

void BM_PrintFile(benchmark::State &state)
{
    RawPanelState panel;
    for (auto _ : state) {
        if (!PrintFile(s_file, Queue, 6, true, panel)) {
            state.SkipWithError("PrintFile failed");
            break;
        }
        state.PauseTiming();
        drainQueue();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(s_file).size());
}

void BM_LpRaw(benchmark::State &state)
{
    for (auto _ : state) {
        if (QProcess::execute(QStringLiteral("lp"), {"-s", "-d", Queue, "-o", "raw", s_file}) != 0) {
            state.SkipWithError("lp failed");
            break;
        }
        state.PauseTiming();
        drainQueue();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(s_file).size());
}

BENCHMARK(BM_PrintFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_LpRaw)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MessageBox::setTestMode(true);
    s_folder = QStringLiteral("/tmp/sticker2-bench-%1").arg(QCoreApplication::applicationPid());
    if (!runScript(QStringLiteral("start"))) {
        qCritical("cannot start the private cupsd (tests/printing/cupsd-fixture.sh)");
        return 1;
    }
    qputenv("CUPS_SERVER", (s_folder + "/cups.sock").toLocal8Bit());
    cupsSetServer((s_folder + "/cups.sock").toLocal8Bit().constData());
    s_file = s_folder + "/big.prn";
    int rc = 1;
    if (BenchSupport::writeReportFile(s_file)) {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        rc = MessageBox::shown().isEmpty() ? 0 : 1;
    } else {
        qCritical("cannot write the print file");
    }
    runScript(QStringLiteral("stop"));
    QDir(s_folder).removeRecursively();
    return rc;
}
