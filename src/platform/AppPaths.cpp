#include "platform/AppPaths.h"

#include "platform/ByteText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace AppPaths {

QString programFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Sticker2");
}

QString formatFolder()
{
    return findNoCase(programFolder(), QStringLiteral("Format"));
}

QString findNoCase(const QString &folder, const QString &name)
{
    QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                              | QDir::NoDotAndDotDot);
    for (const QString &e : entries) {
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(e);
    }
    return dir.filePath(name);
}

QString privateTempFolder()
{
    const QString path = QDir::tempPath() + QStringLiteral("/sticker2-%1").arg(::getuid());
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return QString();
    struct stat st;
    if (::lstat(native.constData(), &st) != 0)
        return QString();
    // Someone else's folder, or a link planted in its place, is never used.
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return QString();
    if ((st.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0)
        return QString();
    return path;
}

bool ensureProgramFolder()
{
    QDir dir;
    if (!dir.mkpath(programFolder()) || !dir.mkpath(formatFolder()))
        return false;
    const QString setting = findNoCase(formatFolder(), QStringLiteral("Setting.txt"));
    if (QFile::exists(setting))
        return true;
    // Sensible first-run geometry for A4: a fixed-pitch font, 10 points,
    // 1/2 inch margins, stickers 1.25 inches apart, lines 1/5 inch apart.
    return ByteText::writeFile(
        setting, "Liberation Mono\r\n 10 \r\n 720 \r\n 720 \r\n 1800 \r\n 288 \r\n0\r\n", nullptr);
}

} // namespace AppPaths

QString NextTempFileName(QString &lastNumber)
{
    const QString folder = AppPaths::privateTempFolder();
    if (folder.isEmpty())
        return QString();
    qint64 n = lastNumber.trimmed().toLongLong();
    QString candidate;
    while (n <= 9999999) {
        candidate = QStringLiteral("%1/Tz%2.Tmp").arg(folder).arg(n);
        const QByteArray native = QFile::encodeName(candidate);
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            break;
        }
        if (errno != EEXIST)
            return QString();
        ++n;
    }
    lastNumber = QString::number(n);
    return candidate;
}

QString ShortPathOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QString();
    return info.absoluteFilePath();
}
