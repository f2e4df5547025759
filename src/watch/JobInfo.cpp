#include "watch/JobInfo.h"

#include "printing/CaptureQueue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A side file is a few lines; anything far larger is not one.
constexpr qint64 LargestSideFile = 64 * 1024;

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// %XX back to its byte; a '%' without two hex digits stays as it is. The
// other side of put_value() in src/backend/sticker2-backend.c, which writes
// the side file (the format is described in JobInfo.h).
QString unescaped(QByteArrayView value)
{
    QByteArray bytes;
    bytes.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value.at(i);
        if (c == '%' && i + 2 < value.size() && hexValue(value.at(i + 1)) >= 0 && hexValue(value.at(i + 2)) >= 0) {
            bytes.append(char(hexValue(value.at(i + 1)) * 16 + hexValue(value.at(i + 2))));
            i += 2;
        } else {
            bytes.append(c);
        }
    }
    return QString::fromUtf8(bytes);
}

// A value as put_value() in the backend writes it.
QByteArray escaped(const QString &value)
{
    QByteArray out;
    for (const char c : value.toUtf8()) {
        const uchar byte = uchar(c);
        if (byte < 0x20 || byte == 0x7f || c == '%')
            out += '%' + QByteArray::number(byte, 16).toUpper().rightJustified(2, '0');
        else
            out += c;
    }
    return out;
}

QString userName(uid_t uid)
{
    const passwd *account = ::getpwuid(uid);
    return account ? QString::fromLocal8Bit(account->pw_name) : QString::number(uid);
}

// Why a side file written by `writer` may not speak for the job of
// `jobOwner` that names `user`; empty when it may. The side file and its
// job are written by one hand (the spooler's backend writes both), so they
// have one owner: a side file laid down before another user's job came, or
// the spooler's side file of another job renamed onto this one's name, had
// filed the job as that user's (into their ~/PDF, or under their rules).
// The spooler (root, its user lp, the folder's owner) and this watch's own
// user may name anyone; anyone else only themselves.
QString untrustedWriter(uid_t writer, uid_t jobOwner, const QString &jobPath, const QString &user)
{
    const QString name = userName(writer);
    if (writer != jobOwner)
        return QStringLiteral("written by user %1 for a job of user %2").arg(name, userName(jobOwner));
    if (writer == 0 || writer == ::geteuid())
        return QString();
    const passwd *spooler = ::getpwnam(CaptureQueue::SpoolerUser.toLocal8Bit().constData());
    if (spooler && spooler->pw_uid == writer)
        return QString();
    struct stat folder {};
    if (::stat(QFile::encodeName(QFileInfo(jobPath).absolutePath()).constData(), &folder) == 0 && folder.st_uid == writer)
        return QString();
    if (!user.isEmpty() && user != name)
        return QStringLiteral("written by user %1 in the name of user %2").arg(name, user);
    return QString();
}

} // namespace

QString jobInfoPath(const QString &jobPath)
{
    const QFileInfo job(jobPath);
    return job.dir().filePath(QLatin1Char('.') + job.fileName() + QStringLiteral(".info"));
}

bool readJobInfo(const QString &jobPath, JobInfo *info, QString *error)
{
    *info = JobInfo();
    if (error)
        error->clear();
    const QString path = jobInfoPath(jobPath);
    const QFileInfo side(path);
    if (!side.exists() && !side.isSymLink())
        return false;
    // Read where it lies, never through a link (one to the spooler's side
    // file of another job had passed for this one's), and only a file.
    const int handle = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat written {};
    const int opened = errno;
    QFile file;
    QString cause;
    if (handle < 0)
        cause = opened == ELOOP ? QStringLiteral("a link, not the job's own details") : QString::fromLocal8Bit(std::strerror(opened));
    else if (::fstat(handle, &written) != 0 || !S_ISREG(written.st_mode))
        cause = QStringLiteral("not a regular file");
    else if (written.st_size > LargestSideFile)
        cause = QStringLiteral("too large for job details");
    else if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        cause = file.errorString();
    if (!cause.isEmpty()) {
        if (handle >= 0 && !file.isOpen())
            ::close(handle);
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, cause);
        return false;
    }
    const QByteArray text = file.read(LargestSideFile);
    for (const QByteArray &line : text.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArray key = line.left(equals);
        const QString value = unescaped(QByteArrayView(line).sliced(equals + 1));
        if (key == "job")
            info->job = value;
        else if (key == "user")
            info->user = value;
        else if (key == "title")
            info->title = value;
        else if (key == "queue")
            info->queue = value;
        else if (key == "copies")
            info->copies = qMax(1, value.toInt());
    }
    struct stat job {};
    const QString distrust = ::lstat(QFile::encodeName(jobPath).constData(), &job) != 0
        ? QStringLiteral("the job's owner cannot be told")
        : untrustedWriter(written.st_uid, job.st_uid, jobPath, info->user);
    if (!distrust.isEmpty()) {
        *info = JobInfo();
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, distrust);
        return false;
    }
    return true;
}

QByteArray jobInfoText(const JobInfo &info)
{
    return "job=" + escaped(info.job) + "\nuser=" + escaped(info.user) + "\ntitle=" + escaped(info.title)
        + "\nqueue=" + escaped(info.queue) + "\ncopies=" + QByteArray::number(info.copies) + '\n';
}
