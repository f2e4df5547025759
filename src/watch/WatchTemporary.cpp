#include "watch/WatchTemporary.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <climits>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace WatchTemporary {

QString folderTemplate()
{
    return QDir(QDir::tempPath()).filePath(QStringLiteral("sticker2-watch-%1-XXXXXX").arg(::getpid()));
}

int removeLeftOver()
{
    static const QRegularExpression name(QStringLiteral("^sticker2-watch-(\\d+)-[A-Za-z0-9]{6}$"));
    QDir temporary(QDir::tempPath());
    int removed = 0;
    for (const QString &entry : temporary.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch match = name.match(entry);
        if (!match.hasMatch())
            continue;
        bool number = false;
        const qint64 pid = match.captured(1).toLongLong(&number);
        // Still running (or not ours to ask about): kept.
        if (!number || pid <= 0 || pid > INT_MAX || ::kill(pid_t(pid), 0) == 0 || errno != ESRCH)
            continue;
        const QString path = temporary.filePath(entry);
        struct stat st;
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
            continue;
        if (QDir(path).removeRecursively())
            ++removed;
    }
    return removed;
}

} // namespace WatchTemporary
