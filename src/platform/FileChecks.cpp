#include "platform/FileChecks.h"

#include <QFile>
#include <QObject>
#include <cerrno>
#include <sys/stat.h>

namespace FileChecks {

bool isRegularFile(const QString &path)
{
    struct stat info;
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &info) == 0
        && S_ISREG(info.st_mode);
}

QString outputProblem(const QString &path)
{
    struct stat info;
    // A path that cannot be looked at is left to the writer, whose own
    // error then says why.
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return QString();
    if (S_ISDIR(info.st_mode))
        return QObject::tr("it is a folder, not a file.");
    return QObject::tr("it is a device or a pipe, not a regular file.");
}

} // namespace FileChecks
