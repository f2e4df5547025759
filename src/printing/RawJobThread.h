#pragma once

#include "printing/RawPrinting.h"

#include <functional>
#include <memory>

class Spooler;

// A raw job on a thread of its own, so that the window (or the command
// line) keeps control while the spooler takes its time: it can show
// progress, stop the job, and give up on a spooler that takes nothing. A job
// given up on is stopped and left to end by itself; it owns what it uses.
class RawJobThread
{
public:
    // A spooler that stops answering for this long is given up on.
    static constexpr int SilenceLimitMs = 30000;
    // How long a stopped job is given to cancel its spooler's job.
    static constexpr int StopWaitMs = 10000;

    RawJobThread(std::shared_ptr<Spooler> spooler, const QString &file, const RawJobOptions &options);
    ~RawJobThread(); // stops a job still running and leaves it to end by itself
    RawJobThread(const RawJobThread &) = delete;
    RawJobThread &operator=(const RawJobThread &) = delete;

    // Waits up to `msec` for the job to end; true when it has ended.
    bool wait(int msec);
    // Asks the job to stop (the spooler's job is cancelled).
    void stop();

    bool succeeded() const;
    RawJobFailure failure() const;
    qint64 sent() const;
    qint64 total() const;
    // Milliseconds since the job last moved on (opened, started, sent bytes).
    qint64 silence() const;

    // Runs the job to its end: done, failed, or given up on after
    // SilenceLimitMs without progress (a run-time failure that says so).
    // When `stopRequested` says so (it is asked a few times a second), the
    // job is stopped: the spooler's job is cancelled, and the failure is
    // Cancelled.
    static bool run(std::shared_ptr<Spooler> spooler, const QString &file, const RawJobOptions &options,
        RawJobFailure *failure, const std::function<bool()> &stopRequested = {});

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};
