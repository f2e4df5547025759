#include "platform/FileChecks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace FileChecks {

bool isRegularFile(const QString &path)
{
    struct stat info;
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &info) == 0
        && S_ISREG(info.st_mode);
}

namespace {

// Why the path names nothing a file may be written over: a folder, a device
// or a pipe (saving over one would put a regular file in its place).
QString kindProblem(const QString &path)
{
    struct stat info;
    // A path that cannot be looked at is left to the writer, whose own
    // error then says why.
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return QString();
    if (S_ISDIR(info.st_mode))
        return QObject::tr("it is a folder, not a regular file.");
    return QObject::tr("it is a device or a pipe, not a regular file.");
}

} // namespace

QString outputProblem(const QString &path)
{
    const QString kind = kindProblem(path);
    if (!kind.isEmpty())
        return kind;
    return plantedLinkProblem(path);
}

QString plantedLinkProblem(const QString &path)
{
    if (plantedLink(path))
        return QObject::tr("refusing to follow a link another user planted in a shared folder.");
    return QString();
}

QString outputRefusal(const QString &path, const QStringList &inputs)
{
    const QString problem = outputProblem(path);
    if (!problem.isEmpty())
        return QObject::tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), problem);
    const QString input = inputAt(path, inputs);
    return input.isEmpty() ? QString() : inputOverwriteText(path, input);
}

QString inputProblem(const QString &path)
{
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return QString();
    return QStringLiteral("not a regular file");
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat first;
    struct stat second;
    return !a.isEmpty() && !b.isEmpty() && ::stat(QFile::encodeName(a).constData(), &first) == 0
        && ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

QString inputAt(const QString &output, const QStringList &inputs)
{
    for (const QString &input : inputs) {
        if (sameFile(output, input))
            return input;
    }
    return QString();
}

QString inputOverwriteText(const QString &output, const QString &input)
{
    return QCoreApplication::translate("Export", "Cannot write %1: it is the input %2.")
        .arg(QDir::toNativeSeparators(output), QDir::toNativeSeparators(input));
}

bool plantedLink(const QString &path)
{
    struct stat link;
    if (::lstat(QFile::encodeName(path).constData(), &link) != 0 || !S_ISLNK(link.st_mode))
        return false;
    struct stat folder;
    const QByteArray folderName = QFile::encodeName(QFileInfo(path).absolutePath());
    if (::stat(folderName.constData(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return shared && link.st_uid != ::geteuid() && link.st_uid != folder.st_uid;
}

bool makeFolder(const QString &folder, QString *error)
{
    if (QDir().mkpath(folder) && QFileInfo(folder).isDir())
        return true;
    // Why not: the nearest part of the path that is there.
    QString cause = QStringLiteral("cannot make the folder");
    QString missing; // the part of the path below `part` that is not there
    for (QFileInfo part(QFileInfo(folder).absoluteFilePath());; part = QFileInfo(part.absolutePath())) {
        if (part.exists()) {
            if (!part.isDir())
                cause = part.absoluteFilePath() == QFileInfo(folder).absoluteFilePath()
                    ? QStringLiteral("not a folder (a file has its name)")
                    : QStringLiteral("cannot make the folder: %1 is a file, not a folder").arg(part.absoluteFilePath());
            else if (::access(QFile::encodeName(part.absoluteFilePath()).constData(), W_OK) != 0)
                cause = errno == EACCES
                    ? QStringLiteral("cannot make the folder: %1 may not be written").arg(part.absoluteFilePath())
                    : QStringLiteral("cannot make the folder: %1: %2").arg(part.absoluteFilePath(), qt_error_string(errno));
            else if (!missing.isEmpty() && ::mkdir(QFile::encodeName(missing).constData(), 0777) != 0 && errno != EEXIST)
                cause = QStringLiteral("cannot make the folder: %1").arg(qt_error_string(errno)); // as the kernel says
            break;
        }
        missing = part.absoluteFilePath();
        if (part.isRoot() || part.absolutePath() == part.absoluteFilePath())
            break;
    }
    *error = QStringLiteral("%1: %2").arg(folder, cause);
    return false;
}

} // namespace FileChecks
