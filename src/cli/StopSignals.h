#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP as an event, for a command that runs until it
// is stopped (the converting watch), or that has to undo what it began
// (a print cancels its job): while this lives, the signals are held
// back from this thread and read from a signal descriptor in the event loop,
// so the command can stop its converters and take away their unfinished
// outputs before it ends. Create it before any other thread starts; the
// threads started afterwards hold the signals back too.
class StopSignals : public QObject
{
    Q_OBJECT

public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

    // Run in a child process between fork and exec: the signals as a new
    // program expects them, and SIGTERM when the parent ends (also when it
    // is killed outright), so that no converter outlives its watch.
    // `parent` is the process id of the parent, taken before the fork.
    static void prepareChild(long parent);

    // For a command without an event loop: the stop signal that has come
    // since the last call (read at once, never waited for), or 0.
    int received();

signals:
    void stopped(int signal);

private:
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
};
