#include "platform/SaveGroup.h"

#include "platform/FileChecks.h"
#include "platform/PartFileCleanup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <limits>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct SaveGroup::Part
{
    QString path;      // as given, for messages
    QString target;    // the file that takes the bytes (a link's file)
    QString temporary; // the hidden file beside it, until committed
    QString backup;    // while committing: the old file, kept to undo
    bool existed = false;
};

namespace {

QString causeOf(int error)
{
    return qt_error_string(error);
}

// Where a save of `path` lands: the path itself, or the file a link names.
QString targetOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return info.absoluteFilePath();
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? QFileInfo(info.symLinkTarget()).absoluteFilePath() : resolved;
}

// The process's id, in 8 hex digits: a hidden file whose process has ended
// is a leftover of a killed one, which a later save may take away.
QString processTag()
{
    return QStringLiteral("%1").arg(quint32(::getpid()), 8, 16, QLatin1Char('0'));
}

bool processEnded(const QString &tag)
{
    bool ok = false;
    const quint32 pid = tag.toUInt(&ok, 16);
    return ok && pid > 0 && pid <= quint32(std::numeric_limits<pid_t>::max()) && ::kill(pid_t(pid), 0) != 0
        && errno == ESRCH;
}

} // namespace

SaveGroup::SaveGroup()
    : m_tag(processTag())
{ }

SaveGroup::~SaveGroup()
{
    for (const auto &part : m_parts) {
        if (!part->temporary.isEmpty())
            QFile::remove(part->temporary);
    }
    releaseCover();
}

QString SaveGroup::hiddenNameBeside(const QString &target, const QString &kind)
{
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    if (std::find(m_coveredFolders.begin(), m_coveredFolders.end(), folder) == m_coveredFolders.end()) {
        m_coveredFolders.push_back(folder);
        const int slot = PartFileCleanup::cover(
            QFile::encodeName(folder), QStringLiteral(".%1.part").arg(m_tag).toLatin1());
        if (slot >= 0)
            m_coverSlots.push_back(slot);
    }
    return QDir(folder).filePath(QStringLiteral(".%1%2.%3.part").arg(info.fileName(), kind, m_tag));
}

void SaveGroup::releaseCover()
{
    for (const int slot : m_coverSlots)
        PartFileCleanup::release(slot);
    m_coverSlots.clear();
    m_coveredFolders.clear();
}

bool SaveGroup::write(const QString &path, const ByteText::DeviceWriter &writer, QString *error)
{
    auto fail = [&](const QString &reason) {
        if (error)
            *error = QObject::tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason);
        return false;
    };
    const QString problem = FileChecks::outputProblem(path);
    if (!problem.isEmpty())
        return fail(problem);
    auto part = std::make_unique<Part>();
    part->path = path;
    part->target = targetOf(path);
    // A new file gets the usual mode (0666 less the umask), a replaced one
    // keeps its own.
    struct stat old;
    const bool replacing = ::stat(QFile::encodeName(part->target).constData(), &old) == 0;
    int fd = -1;
    part->temporary = hiddenNameBeside(part->target);
    fd = ::open(QFile::encodeName(part->temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) {
        // Another save's hidden file by chance, or this target twice:
        // written under a tag of its own, which a stop signal then misses
        // (and no later save takes for a leftover).
        for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
            const QFileInfo info(part->target);
            part->temporary = info.absoluteDir().filePath(
                QStringLiteral(".%1.%2-%3.part").arg(info.fileName(), processTag()).arg(attempt));
            fd = ::open(QFile::encodeName(part->temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST)
                break;
        }
    }
    if (fd < 0) {
        const int cause = errno;
        part->temporary.clear();
        return fail(causeOf(cause));
    }
    m_parts.push_back(std::move(part));
    if (replacing && ::fchmod(fd, old.st_mode & 07777) != 0) {
        const int cause = errno;
        ::close(fd);
        return fail(causeOf(cause));
    }
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(file.errorString());
    }
    QString reason;
    if (!writer(file, &reason)) {
        // The writer may know only that it failed; the file knows why.
        return fail(file.error() != QFileDevice::NoError ? file.errorString() : reason);
    }
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (::fsync(file.handle()) != 0)
        return fail(causeOf(errno));
    file.close();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    return true;
}

bool SaveGroup::commit(QString *error)
{
    // An old file is first linked to a hidden name, so that a rename that
    // fails half-way can put every file back as it was.
    size_t done = 0;
    int cause = 0;
    for (; done < m_parts.size(); ++done) {
        Part &part = *m_parts[done];
        const QByteArray target = QFile::encodeName(part.target);
        struct stat old;
        part.existed = ::lstat(target.constData(), &old) == 0;
        part.backup = hiddenNameBeside(part.target, QStringLiteral(".old"));
        if (!part.existed || ::link(target.constData(), QFile::encodeName(part.backup).constData()) != 0)
            part.backup.clear(); // no old file, or one that cannot be kept aside
        if (std::rename(QFile::encodeName(part.temporary).constData(), target.constData()) != 0) {
            cause = errno;
            if (!part.backup.isEmpty())
                QFile::remove(part.backup);
            part.backup.clear();
            break;
        }
        part.temporary.clear();
    }
    if (done == m_parts.size()) {
        for (const auto &part : m_parts) {
            if (!part->backup.isEmpty())
                QFile::remove(part->backup);
        }
        m_parts.clear();
        releaseCover();
        return true;
    }
    const QString failed = m_parts[done]->path;
    while (done-- > 0) {
        Part &part = *m_parts[done];
        if (!part.existed)
            QFile::remove(part.target);
        else if (!part.backup.isEmpty())
            std::rename(QFile::encodeName(part.backup).constData(), QFile::encodeName(part.target).constData());
    }
    if (error)
        *error = QObject::tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(failed), causeOf(cause));
    return false;
}

void SaveGroup::removeLeftParts(const QString &folder, const QString &names)
{
    const QRegularExpression part(QStringLiteral("^\\.(%1)\\.(?<tag>[0-9a-f]{8})\\.part$").arg(names));
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch m = part.match(name);
        if (m.hasMatch() && processEnded(m.captured(QStringLiteral("tag"))))
            QFile::remove(dir.filePath(name));
    }
}
