#include "platform/OutputFile.h"

#include "platform/FileChecks.h"

#include <QFile>
#include <QFileInfo>
#include <QObject>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A link in a folder everyone may write to and that keeps others' files
// (sticky, like /tmp) is followed only when the caller or the folder's
// owner made it, as the kernel follows such links for open(). Saving
// resolves the link itself and renames over its target, so without this
// another user could have any file of the caller's replaced.
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

} // namespace

OutputFile::OutputFile(const QString &path)
    : QSaveFile(path)
{ }

bool OutputFile::open(OpenMode mode)
{
    const QString problem = FileChecks::outputProblem(fileName());
    if (!problem.isEmpty()) {
        setErrorString(problem);
        return false;
    }
    if (plantedLink(fileName())) {
        setErrorString(QObject::tr("refusing to follow a link another user planted in a shared folder."));
        return false;
    }
    return QSaveFile::open(mode | Unbuffered);
}

qint64 OutputFile::writeData(const char *data, qint64 len)
{
    // A write that stops short sets no error; writing the rest fails at
    // once, and that failure carries the cause.
    qint64 done = 0;
    while (done < len) {
        const qint64 written = QSaveFile::writeData(data + done, len - done);
        if (written <= 0)
            return -1;
        done += written;
    }
    return done;
}
