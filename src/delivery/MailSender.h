#pragma once

#include <QString>
#include <QStringList>

#include <atomic>

// One mail per finished job, its PDF attached, handed to the system's
// sendmail interface (every Debian mail transport installs one; msmtp-mta
// sends over SMTP). The message is built by GMime; the command is run
// without a shell, the message on its standard input, and recipients are
// read from the message's headers (-t), never from the command line.
struct MailRequest
{
    // The program and its arguments, split into words as a shell would
    // (quotes and backslashes), but run without one: nothing is expanded.
    QString sendmail = QStringLiteral("/usr/sbin/sendmail -t -i");
    QString from; // empty: the mail transport fills in the sender
    QString fromName; // the sender's display name (empty: none)
    QStringList to;
    QStringList toNames; // the display name of each of `to`, where it has one (empty: none)
    QString subject;
    QString body;
    QString attachmentPath; // empty: no attachment
    QString attachmentName; // the attachment's file name; empty: the file's own
};

// True for a plain address (local@domain.example, local@localhost): a dot
// atom before the @ and host-name labels after it, no display name, no
// spaces, no quoting, at most 254 bytes.
bool isMailAddress(const QString &text);

// Sends one message. False with one line naming the cause: an address that
// is not one, an attachment that cannot be read, a command that cannot be
// started, or one that ends in a signal or a status other than 0 (its
// command, the status and what it wrote to standard error). Mail the
// transport refuses is never reported as sent. The command runs in a process
// group of its own, which is ended whole when it takes longer than five
// minutes, or as soon as `stop` (when given) turns true: a transport that
// hangs holds up no one else.
bool sendMail(const MailRequest &request, QString *error, const std::atomic_bool *stop = nullptr);
