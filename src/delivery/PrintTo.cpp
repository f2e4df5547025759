#include "delivery/PrintTo.h"

#include "printing/CaptureQueue.h"
#include "printing/CupsSpooler.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// How long the print server may leave a step unanswered.
constexpr int AnswerTimeLimitMsec = 60 * 1000;

QString spoolerError(const CupsSpooler &spooler)
{
    const RunTimeError failure = spooler.lastError();
    return failure.description.isEmpty() ? failure.source : failure.description;
}

} // namespace

bool printFileTo(const QString &queue, const QString &path, const QString &title, int copies, QString *error,
    const std::atomic_bool *stop)
{
    if (queue.trimmed().isEmpty()) {
        *error = QStringLiteral("%1: no print queue named to print it on").arg(path);
        return false;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st = {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int code = fd < 0 ? errno : 0;
        if (fd >= 0)
            ::close(fd);
        *error = QStringLiteral("%1: cannot print it on %2: %3")
                     .arg(path, queue,
                         code ? QString::fromLocal8Bit(std::strerror(code)) : QStringLiteral("not a regular file"));
        return false;
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);

    QDeadlineTimer answered(AnswerTimeLimitMsec);
    CupsSpooler spooler;
    spooler.setStopCheck([&answered, stop] { return answered.hasExpired() || (stop && stop->load()); });
    spooler.setDocumentFormat(file.peek(5) == "%PDF-" ? "application/pdf" : "application/octet-stream");
    spooler.setCopies(qMax(1, copies));
    const auto failed = [&](const QString &step) {
        *error = stop && stop->load()
            ? QStringLiteral("%1: cannot print it on %2: stopped with the watch (%3); nothing of it prints")
                  .arg(path, queue, step)
            : answered.hasExpired()
            ? QStringLiteral("%1: cannot print it on %2: the print server did not answer for %3 s (%4)")
                  .arg(path, queue, QString::number(AnswerTimeLimitMsec / 1000), step)
            : QStringLiteral("%1: cannot print it on %2: %3").arg(path, queue, spoolerError(spooler));
        return false;
    };
    if (!spooler.openQueue(queue))
        return failed(QStringLiteral("connecting"));
    // A PDF printed on a capture queue comes back as a job of its own,
    // which the same rule would print there again, each time larger.
    if (CaptureQueue::isCaptureQueue(queue)) {
        *error = QStringLiteral("%1: cannot print it on %2: it is a capture queue, whose jobs come back to be "
                                "converted; name the printer the jobs are for")
                     .arg(path, queue);
        return false;
    }
    answered.setRemainingTime(AnswerTimeLimitMsec);
    if (!spooler.startDocument(title.isEmpty() ? QFileInfo(path).fileName() : title))
        return failed(QStringLiteral("starting the job"));
    for (;;) {
        answered.setRemainingTime(AnswerTimeLimitMsec);
        const QByteArray piece = file.read(1 << 16);
        if (piece.isEmpty())
            break;
        if (!spooler.write(piece.constData(), piece.size())) {
            spooler.cancelDocument();
            return failed(QStringLiteral("sending the file"));
        }
    }
    if (file.error() != QFileDevice::NoError) {
        spooler.cancelDocument();
        *error = QStringLiteral("%1: cannot print it on %2: %3").arg(path, queue, file.errorString());
        return false;
    }
    answered.setRemainingTime(AnswerTimeLimitMsec);
    if (!spooler.finishDocument()) {
        spooler.cancelDocument();
        return failed(QStringLiteral("finishing the job"));
    }
    return true;
}
