#include "watch/FolderLock.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FolderLock::~FolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FolderLock::take(const QString &folder, const QString &holder, QString *error)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        *error = QStringLiteral("%1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int cause = errno;
        ::close(fd);
        *error = cause == EWOULDBLOCK
            ? QStringLiteral("%1: another watch %2 already (one watch per folder: stop the other, "
                             "e.g. systemctl stop 'sticker2-pdf@*', first)")
                  .arg(folder, holder)
            : QStringLiteral("%1: cannot lock it: %2").arg(folder, QString::fromLocal8Bit(std::strerror(cause)));
        return false;
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
    return true;
}
