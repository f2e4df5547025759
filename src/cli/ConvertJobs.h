#pragma once

#include <QObject>
#include <QStringList>

#include <QDeadlineTimer>
#include <QList>

class QProcess;

// Runs `sticker2 convert` on files, a few at a time, each in a process of its
// own: a print file that makes the conversion fail, hang or crash costs that
// one job and never the batch or the watch that asked for it, and the
// conversions share no state. Each process gets the same convert options and
// writes its output whole.
class ConvertJobs : public QObject
{
    Q_OBJECT

public:
    // `options` are convert's options (such as --to pdf); `parallel` how
    // many conversions run at once (at least one).
    ConvertJobs(const QStringList &options, int parallel, QObject *parent = nullptr);
    ~ConvertJobs() override;

    // Converts `in` to `out` as soon as a place is free, with the job's own
    // options after the shared ones.
    void add(const QString &in, const QString &out, const QStringList &ownOptions = {});
    bool isIdle() const { return m_running.isEmpty() && m_waiting.isEmpty(); }

    // Stops every conversion (SIGTERM, and SIGKILL after `msec`) and drops
    // the waiting ones, reporting none of them; what the stopped ones were
    // writing is never committed. A converter also ends with its parent.
    void stopAll(int msec = 5000);

signals:
    // One conversion has ended; `message` is what it reported (its error
    // lines, without the program's name), empty when it went well; `notes`
    // its notes ("IN: note: ..."), whether it went well or not.
    void finished(const QString &in, const QString &out, bool ok, const QString &message, const QStringList &notes);
    // Nothing runs and nothing waits.
    void idle();

private:
    struct Job
    {
        QString in;
        QString out;
        QStringList ownOptions;
        QProcess *process = nullptr;
        bool timedOut = false;
        int startAttempts = 0;
        QDeadlineTimer startAfter; // expired unless the job waits to be tried again
    };

    void startWaiting();
    void onFinished(QProcess *process);
    static void removeLeftPictures(const QString &output);

    QStringList m_options;
    int m_parallel;
    int m_timeLimit = 10 * 60 * 1000; // a conversion longer than this is stopped and fails
    // A converter that cannot start (no process or descriptor free for the
    // moment) is tried again after 1, 2, 4 ... seconds, this many times in all.
    static constexpr int MaxStartAttempts = 6;
    QList<Job> m_waiting;
    QList<Job> m_running;
};
