#pragma once

#include <QElapsedTimer>
#include <QString>

// Progress of a long command on a terminal: one line on standard error,
// rewritten in place, shown only when standard error is a terminal (never
// into a pipe or a file) and only once the work has taken a second.
class CliProgress
{
public:
    explicit CliProgress(const QString &file);
    ~CliProgress();

    // "what: done/total"; returns true (the command line has no Cancel:
    // Ctrl+C ends it).
    bool show(const QString &what, qint64 done, qint64 total);
    // Clears the line, once the work is over.
    void finish();

private:
    QString m_file;
    QElapsedTimer m_clock;
    qint64 m_lastShown = -1;
    bool m_terminal = false;
    bool m_shown = false;
};
