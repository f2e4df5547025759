#include "printing/RawJobThread.h"

#include "printing/Spooler.h"

#include <QCoreApplication>
#include <QFileDevice>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

qint64 nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

} // namespace

struct RawJobThread::Shared
{
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    bool ok = false;
    RawJobFailure failure;
    std::atomic<bool> stopped { false };
    std::atomic<qint64> sent { 0 };
    std::atomic<qint64> total { 0 };
    std::atomic<qint64> lastMove { nowMs() };
};

RawJobThread::RawJobThread(std::shared_ptr<Spooler> spooler, const QString &file, const RawJobOptions &options)
    : m_shared(std::make_shared<Shared>())
{
    RawJobOptions own = options;
    std::shared_ptr<Shared> shared = m_shared;
    const auto outer = options.stopped;
    own.stopped = [shared, outer] { return shared->stopped.load() || (outer && outer()); };
    const auto outerProgress = options.progress;
    own.progress = [shared, outerProgress](qint64 done, qint64 all) {
        shared->sent = done;
        shared->total = all;
        shared->lastMove = nowMs();
        if (outerProgress)
            outerProgress(done, all);
    };
    std::thread([shared, spooler, file, own] {
        RawJobFailure failure;
        const bool ok = sendRawJob(*spooler, file, own, &failure);
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->ok = ok;
        shared->failure = failure;
        shared->done = true;
        shared->ended.notify_all();
    }).detach();
}

RawJobThread::~RawJobThread()
{
    if (!wait(0))
        stop();
}

bool RawJobThread::wait(int msec)
{
    std::unique_lock<std::mutex> lock(m_shared->mutex);
    return m_shared->ended.wait_for(lock, std::chrono::milliseconds(msec), [this] { return m_shared->done; });
}

void RawJobThread::stop()
{
    m_shared->stopped = true;
}

bool RawJobThread::succeeded() const
{
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    return m_shared->done && m_shared->ok;
}

RawJobFailure RawJobThread::failure() const
{
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    return m_shared->failure;
}

qint64 RawJobThread::sent() const
{
    return m_shared->sent;
}

qint64 RawJobThread::total() const
{
    return m_shared->total;
}

qint64 RawJobThread::silence() const
{
    return nowMs() - m_shared->lastMove;
}

bool RawJobThread::run(std::shared_ptr<Spooler> spooler, const QString &file, const RawJobOptions &options,
    RawJobFailure *failure, const std::function<bool()> &stopRequested)
{
    RawJobThread job(std::move(spooler), file, options);
    while (!job.wait(200)) {
        if (stopRequested && stopRequested()) {
            // The job cancels what the spooler has of it; a spooler that
            // does not answer meanwhile is left to the job's own end.
            job.stop();
            job.wait(StopWaitMs);
            if (failure) {
                *failure = job.failure();
                failure->kind = RawJobFailure::Cancelled;
            }
            return false;
        }
        if (job.silence() >= SilenceLimitMs) {
            job.stop();
            if (failure) {
                failure->kind = RawJobFailure::RunTime;
                failure->error = {long(QFileDevice::TimeOutError), QStringLiteral("Printing"),
                    QCoreApplication::translate("Printing", "The printer took nothing for %1 seconds.")
                        .arg(SilenceLimitMs / 1000),
                    true};
                failure->message = QStringLiteral("Printing %1 failed: %2").arg(file, failure->error.description);
            }
            return false;
        }
    }
    if (failure)
        *failure = job.failure();
    return job.succeeded();
}
