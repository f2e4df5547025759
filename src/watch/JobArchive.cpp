#include "watch/JobArchive.h"

#include "export/PngExport.h"
#include "platform/OutputFile.h"
#include "watch/JobInfo.h"
#include "platform/FileChecks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace JobArchive {

QString freePath(const QString &folder, const QString &fileName, const QSet<QString> &taken)
{
    const QFileInfo name(fileName);
    const QString stem = name.completeBaseName();
    const QString suffix = name.suffix().isEmpty() ? QString() : QLatin1Char('.') + name.suffix();
    // Pictures are named NAME-001.png ... (NAME-0001.png ... from a thousand
    // sheets on): the first of them holds the name.
    const bool pictures = PngExport::isPngName(fileName);
    const auto free = [&](const QString &path) {
        const QString held = pictures ? PngExport::firstPicture(path) : path;
        return !taken.contains(path) && !QFileInfo::exists(held) && !QFileInfo(held).isSymLink();
    };
    QString path = folder + QLatin1Char('/') + fileName;
    for (int n = 2; !free(path); ++n)
        path = QStringLiteral("%1/%2-%3%4").arg(folder, stem, QString::number(n), suffix);
    return path;
}

bool writeText(const QString &path, const QString &text, QString *error, const QString &likeFile)
{
    OutputFile file(path);
    const QByteArray bytes = text.toUtf8();
    const bool opened = file.open(QIODevice::WriteOnly);
    if (opened && !likeFile.isEmpty() && QFileInfo::exists(likeFile))
        file.setPermissions(QFileInfo(likeFile).permissions());
    if (!opened || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

namespace {

// Whether the two files hold the same bytes (neither of them a link).
bool sameBytes(const QString &a, const QString &b)
{
    const QFileInfo one(a), other(b);
    if (!one.isFile() || !other.isFile() || one.isSymLink() || other.isSymLink())
        return false;
    if (one.size() != other.size())
        return false;
    QFile first(a), second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly))
        return false;
    while (!first.atEnd()) {
        const QByteArray piece = first.read(1 << 20);
        if (piece.isEmpty() || second.read(piece.size()) != piece)
            return false;
    }
    return second.atEnd();
}

// A copy of `file` that an earlier move left in `folder`, under its name or
// name-2, name-3 ... (the names freePath gives), when its original could not
// be removed then: its path, or empty when there is none.
QString earlierCopy(const QString &file, const QString &folder)
{
    const QFileInfo name(file);
    const QString stem = name.completeBaseName();
    const QString suffix = name.suffix().isEmpty() ? QString() : QLatin1Char('.') + name.suffix();
    QString path = folder + QLatin1Char('/') + name.fileName();
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n) {
        if (sameBytes(file, path))
            return path;
        path = QStringLiteral("%1/%2-%3%4").arg(folder, stem, QString::number(n), suffix);
    }
    return QString();
}

// The side file (the capture backend's .NAME.info: its user, title, queue)
// follows its job; a copy where it cannot be moved, the original removed
// where it may be.
void moveSideFile(const QString &job, const QString &movedTo)
{
    const QString side = jobInfoPath(job);
    if (!QFileInfo(side).isFile())
        return;
    const QString target = jobInfoPath(movedTo);
    if (std::rename(QFile::encodeName(side).constData(), QFile::encodeName(target).constData()) != 0
        && (QFile::copy(side, target) || sameBytes(side, target)))
        QFile::remove(side);
}

// Removes the original of a job copied away; `note` says when it stays.
void removeOriginal(const QString &file, QString *note)
{
    if (std::remove(QFile::encodeName(file).constData()) != 0)
        *note = QStringLiteral("the original stays (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

bool moveInto(const QString &file, const QString &folder, QString *movedTo, QString *note, QString *error)
{
    note->clear();
    // done/ or failed/ in a shared output folder: another user's link there
    // would take the job, and its log, into a folder of theirs.
    const QString planted = FileChecks::plantedLinkProblem(folder);
    if (!planted.isEmpty()) {
        *error = QStringLiteral("%1: %2").arg(folder, planted);
        return false;
    }
    if (!FileChecks::makeFolder(folder, error))
        return false;
    const QString target = freePath(folder, QFileInfo(file).fileName());
    if (std::rename(QFile::encodeName(file).constData(), QFile::encodeName(target).constData()) == 0) {
        *movedTo = target;
        moveSideFile(file, target);
        return true;
    }
    // Another file system, or a spool folder only the spooler may change.
    // A copy an earlier start made, whose original could not be removed then
    // either, is this move: not one more copy of the job at every start.
    const QString earlier = earlierCopy(file, folder);
    if (!earlier.isEmpty()) {
        *movedTo = earlier;
        moveSideFile(file, earlier);
        removeOriginal(file, note);
        return true;
    }
    QFile source(file);
    OutputFile copy(target);
    if (!source.open(QIODevice::ReadOnly) || !copy.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("%1: cannot move it to %2: %3")
                     .arg(file, folder, source.isOpen() ? copy.errorString() : source.errorString());
        return false;
    }
    // The copy is as private as the job (a spooler's jobs are 0640).
    copy.setPermissions(source.permissions());
    // The cause as the write that failed met it (a full disk), before the
    // file's later steps put theirs in its place.
    QString cause;
    while (!source.atEnd()) {
        const QByteArray piece = source.read(1 << 20);
        if (piece.isEmpty()) {
            cause = source.errorString();
            break;
        }
        if (copy.write(piece) != piece.size()) {
            cause = copy.errorString();
            break;
        }
    }
    if (cause.isEmpty() && (!source.atEnd() || source.error() != QFile::NoError))
        cause = source.errorString();
    if (!cause.isEmpty() || !copy.commit()) {
        *error = QStringLiteral("%1: cannot copy it to %2: %3")
                     .arg(file, folder, cause.isEmpty() ? copy.errorString() : cause);
        return false;
    }
    *movedTo = target;
    moveSideFile(file, target);
    removeOriginal(file, note);
    return true;
}

} // namespace JobArchive
