#include "platform/FileStamp.h"

#include <QObject>

FileStamp FileStamp::of(int fd)
{
    FileStamp stamp;
    stamp.m_valid = fd >= 0 && ::fstat(fd, &stamp.m_stat) == 0;
    return stamp;
}

bool FileStamp::changed(int fd) const
{
    struct stat now {};
    return !m_valid || fd < 0 || ::fstat(fd, &now) != 0 || now.st_dev != m_stat.st_dev
        || now.st_ino != m_stat.st_ino || now.st_size != m_stat.st_size
        || now.st_mtim.tv_sec != m_stat.st_mtim.tv_sec || now.st_mtim.tv_nsec != m_stat.st_mtim.tv_nsec;
}

QString FileStamp::changedText()
{
    return QObject::tr("changed while it was being read");
}
