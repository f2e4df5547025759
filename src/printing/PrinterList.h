#pragma once

#include <QString>
#include <QStringList>

// The printers the spooler (CUPS) knows, asked for over a connection of our
// own with a short time-out: a spooler that accepts the connection and then
// never answers costs a few seconds, never the minutes the library's own
// waits add up to. Safe to call on any thread.
struct PrinterList
{
    QStringList names;   // "queue" or "queue/instance"
    QString defaultName; // empty when there is none
    QStringList refusing; // of the names, the queues not accepting jobs now (cupsreject)
    bool answered = false;
    bool timedOut = false; // connected, but no answer in time
    QString error;       // why not, when the spooler did not answer

    // Asks the spooler at `server` (a host[:port] or a socket path; empty for
    // the one CUPS is set up to use), giving up after `timeoutMs`.
    static PrinterList fetch(const QString &server = QString(), int timeoutMs = DefaultTimeoutMs);
    static constexpr int DefaultTimeoutMs = 4000;
};
