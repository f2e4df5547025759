#include "startup/MainModule.h"

#include "platform/AppPaths.h"

#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

const QString SettingsAppName = QStringLiteral("Sticker2");

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

QString TrimSpaces(const QString &text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text.at(b) == QLatin1Char(' '))
        ++b;
    while (e > b && text.at(e - 1) == QLatin1Char(' '))
        --e;
    return text.mid(b, e - b);
}

QString PadRight(const QString &text, int width)
{
    if (width <= 0)
        return QString();
    QString s = TrimSpaces(text);
    s.append(QString(width, QLatin1Char(' ')));
    return s.left(width);
}

int IntegerKeyFilter(int keyCode)
{
    if (keyCode == 45 || (keyCode >= 48 && keyCode <= 57) || keyCode == 8 || keyCode == 13)
        return keyCode;
    return 1;
}

int DecimalKeyFilter(int keyCode, const QString &boxText)
{
    if (keyCode == 45 || keyCode == 8 || keyCode == 13)
        return keyCode;
    if (keyCode == 46)
        return boxText.contains(QLatin1Char('.')) ? 1 : keyCode;
    if (keyCode >= 48 && keyCode <= 57)
        return keyCode;
    return 1;
}

QString ShortPathOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QString();
    return info.absoluteFilePath();
}
