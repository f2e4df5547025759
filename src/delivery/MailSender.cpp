#include "delivery/MailSender.h"

#include "delivery/Capabilities.h"
#include "delivery/MailLibrary.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <csignal>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How long a mail transport may take to take one message.
constexpr int SendTimeLimitMsec = 5 * 60 * 1000;
// How often a wait for it looks whether it is to stop.
constexpr int StopCheckMsec = 100;

QString oneLine(const QByteArray &text)
{
    QStringList lines = QString::fromLocal8Bit(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.join(QStringLiteral("; "));
}

} // namespace

bool isMailAddress(const QString &text)
{
    // atext of a dot atom, and host-name labels of letters, digits and hyphens.
    static const QRegularExpression address(QStringLiteral(
        "^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+(\\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*"
        "@[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?(\\.[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?)*$"));
    return text.size() <= 254 && text.indexOf(QLatin1Char('@')) <= 64 && address.match(text).hasMatch();
}

bool sendMail(const MailRequest &request, QString *error, const std::atomic_bool *stop)
{
    if (request.to.isEmpty()) {
        *error = QStringLiteral("no address to send the mail to");
        return false;
    }
    for (const QString &address : request.to + (request.from.isEmpty() ? QStringList() : QStringList {request.from})) {
        if (!isMailAddress(address)) {
            *error = QStringLiteral("\"%1\" is not a mail address").arg(address);
            return false;
        }
    }
    const MailLibrary *gmime = MailLibrary::get(error);
    if (!gmime)
        return false;
    QStringList command;
    if (!gmime->splitCommand(request.sendmail, &command, error))
        return false;

    QTemporaryFile message(QDir::temp().filePath(QStringLiteral("sticker2-mail-XXXXXX.eml")));
    if (!message.open()) {
        *error = QStringLiteral("cannot make a file for the message in %1: %2")
                     .arg(QDir::tempPath(), message.errorString());
        return false;
    }
    // The message's file loses its name at once: the transport reads it
    // through the descriptor, and no copy of the PDF outlives the send, also
    // when the watch is killed outright (a file left in /tmp held it).
    if (::unlink(QFile::encodeName(message.fileName()).constData()) == 0)
        message.setAutoRemove(false);
    if (!gmime->writeMessage(request, message, error))
        return false;
    if (!message.flush() || ::lseek(message.handle(), 0, SEEK_SET) != 0) {
        *error = QStringLiteral("cannot write the message in %1: %2").arg(QDir::tempPath(), message.errorString());
        return false;
    }
    const int messageFd = message.handle();

    QProcess sendmail;
    sendmail.setStandardInputFile(QProcess::nullDevice()); // the message, in the child
    sendmail.setStandardOutputFile(QProcess::nullDevice());
    sendmail.setProcessChannelMode(QProcess::SeparateChannels);
    // The mail transport never inherits what the service may keep for
    // delivery, and leads a process group of its own, so that what it
    // starts ends with it when it is stopped.
    // It ends with the watch too, also when the watch is killed outright;
    // and it gets the signals a new program expects (the watch holds its
    // stop signals back from every thread, and a child inherits that).
    const pid_t parent = ::getpid();
    sendmail.setChildProcessModifier([parent, messageFd] {
        if (::dup2(messageFd, STDIN_FILENO) < 0)
            ::_exit(127);
        Capabilities::clearAmbient();
        ::setpgid(0, 0);
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::raise(SIGTERM);
    });
    const QString program = command.takeFirst();
    sendmail.start(program, command);
    if (!sendmail.waitForStarted(30000)) {
        *error = QStringLiteral("cannot run the sendmail command \"%1\": %2").arg(request.sendmail, sendmail.errorString());
        return false;
    }
    // The transport reads the message through a descriptor that shares its
    // offset with ours: how far it read is known when it ends. One that
    // ended well without reading it whole did not send it; one stopped after
    // reading it whole may have.
    struct stat messageInfo = {};
    const off_t messageSize = ::fstat(messageFd, &messageInfo) == 0 ? messageInfo.st_size : -1;
    const auto readWhole = [messageFd, messageSize] { return ::lseek(messageFd, 0, SEEK_CUR) == messageSize; };
    QElapsedTimer running;
    running.start();
    bool stopped = false;
    while (!sendmail.waitForFinished(StopCheckMsec) && sendmail.state() != QProcess::NotRunning) {
        stopped = stop && stop->load();
        if (stopped || running.hasExpired(SendTimeLimitMsec)) {
            ::kill(-pid_t(sendmail.processId()), SIGKILL);
            sendmail.waitForFinished(3000);
            const QString unknown = QStringLiteral("it had read the whole mail: whether it sent it is not known");
            if (stopped && readWhole())
                *error = QStringLiteral("the sendmail command \"%1\" was stopped with the watch before it ended; %2")
                             .arg(request.sendmail, unknown);
            else if (stopped)
                *error = QStringLiteral("the sendmail command \"%1\" was stopped with the watch before it had taken "
                                        "the mail")
                             .arg(request.sendmail);
            else
                *error = QStringLiteral("the sendmail command \"%1\" did not finish within %2 minutes and was "
                                        "stopped%3")
                             .arg(request.sendmail, QString::number(SendTimeLimitMsec / 60000),
                                 readWhole() ? QStringLiteral("; ") + unknown : QString());
            return false;
        }
    }
    const QString said = oneLine(sendmail.readAllStandardError());
    if (sendmail.exitStatus() == QProcess::CrashExit) {
        *error = QStringLiteral("the sendmail command \"%1\" was ended by a signal%2")
                     .arg(request.sendmail, said.isEmpty() ? QString() : QStringLiteral(": ") + said);
        return false;
    }
    if (sendmail.exitCode() != 0) {
        *error = QStringLiteral("the sendmail command \"%1\" failed with status %2%3")
                     .arg(request.sendmail, QString::number(sendmail.exitCode()),
                         said.isEmpty() ? QString() : QStringLiteral(": ") + said);
        return false;
    }
    if (!readWhole()) {
        *error = QStringLiteral("the sendmail command \"%1\" ended without reading the whole mail (%2 of %3 bytes), "
                                "so it did not send it%4")
                     .arg(request.sendmail, QString::number(::lseek(messageFd, 0, SEEK_CUR)),
                         QString::number(messageSize), said.isEmpty() ? QString() : QStringLiteral(": ") + said);
        return false;
    }
    return true;
}
