#include "watch/OpenWriters.h"

#include <QFile>
#include <QHash>
#include <QPair>

#ifdef Q_OS_LINUX
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace OpenWriters {

#ifdef Q_OS_LINUX
namespace {

// The access mode of descriptor `fd` of process `pid`, from its "flags:" line.
bool writes(const char *pid, const char *fd)
{
    char path[600];
    std::snprintf(path, sizeof path, "/proc/%s/fdinfo/%s", pid, fd);
    FILE *info = std::fopen(path, "re");
    if (!info)
        return false;
    char line[128];
    bool result = false;
    while (std::fgets(line, sizeof line, info)) {
        if (std::strncmp(line, "flags:", 6) == 0) {
            const long flags = std::strtol(line + 6, nullptr, 8);
            result = (flags & O_ACCMODE) != O_RDONLY;
            break;
        }
    }
    std::fclose(info);
    return result;
}

bool isNumber(const char *name)
{
    return *name && std::isdigit(static_cast<unsigned char>(*name));
}

} // namespace

QSet<QString> openForWriting(const QStringList &paths)
{
    // The files by device and inode, so each descriptor costs one lookup.
    QHash<QPair<dev_t, ino_t>, QString> targets;
    for (const QString &path : paths) {
        struct stat target;
        if (::stat(QFile::encodeName(path).constData(), &target) == 0)
            targets.insert({target.st_dev, target.st_ino}, path);
    }
    QSet<QString> found;
    if (targets.isEmpty())
        return found;
    DIR *proc = ::opendir("/proc");
    if (!proc)
        return found;
    while (found.size() < targets.size()) {
        const dirent *process = ::readdir(proc);
        if (!process)
            break;
        if (!isNumber(process->d_name))
            continue;
        char fdPath[300];
        std::snprintf(fdPath, sizeof fdPath, "/proc/%s/fd", process->d_name);
        DIR *fds = ::opendir(fdPath); // fails for other users' processes
        if (!fds)
            continue;
        while (const dirent *fd = ::readdir(fds)) {
            if (!isNumber(fd->d_name))
                continue;
            char link[600];
            struct stat open;
            std::snprintf(link, sizeof link, "%s/%s", fdPath, fd->d_name);
            if (::stat(link, &open) != 0)
                continue;
            const auto hit = targets.constFind({open.st_dev, open.st_ino});
            if (hit != targets.cend() && !found.contains(*hit) && writes(process->d_name, fd->d_name))
                found.insert(*hit);
        }
        ::closedir(fds);
    }
    ::closedir(proc);
    return found;
}
#else
QSet<QString> openForWriting(const QStringList &)
{
    return {};
}
#endif

bool isOpenForWriting(const QString &path)
{
    return !openForWriting({path}).isEmpty();
}

} // namespace OpenWriters
