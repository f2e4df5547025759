#include "watch/JobArchive.h"

#include "platform/OutputFile.h"

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
    QString path = folder + QLatin1Char('/') + fileName;
    for (int n = 2; taken.contains(path) || QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = QStringLiteral("%1/%2-%3%4").arg(folder, stem, QString::number(n), suffix);
    return path;
}

bool writeText(const QString &path, const QString &text, QString *error)
{
    OutputFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

namespace {

// The capture backend's side file of a job (its user, title, queue): .NAME.info beside it.
QString sideFileOf(const QString &job)
{
    const QFileInfo info(job);
    return info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".info");
}

// The side file follows its job; a copy where it cannot be moved.
void moveSideFile(const QString &job, const QString &movedTo)
{
    const QString side = sideFileOf(job);
    if (!QFileInfo(side).isFile())
        return;
    const QString target = sideFileOf(movedTo);
    if (std::rename(QFile::encodeName(side).constData(), QFile::encodeName(target).constData()) != 0
        && QFile::copy(side, target))
        QFile::remove(side);
}

} // namespace

bool moveInto(const QString &file, const QString &folder, QString *movedTo, QString *note, QString *error)
{
    note->clear();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("%1: cannot make the folder").arg(folder);
        return false;
    }
    const QString target = freePath(folder, QFileInfo(file).fileName());
    if (std::rename(QFile::encodeName(file).constData(), QFile::encodeName(target).constData()) == 0) {
        *movedTo = target;
        moveSideFile(file, target);
        return true;
    }
    // Another file system, or a spool folder only the spooler may change.
    QFile source(file);
    OutputFile copy(target);
    if (!source.open(QIODevice::ReadOnly) || !copy.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("%1: cannot move it to %2: %3")
                     .arg(file, folder, source.isOpen() ? copy.errorString() : source.errorString());
        return false;
    }
    while (!source.atEnd()) {
        const QByteArray piece = source.read(1 << 20);
        if (piece.isEmpty() || copy.write(piece) != piece.size())
            break;
    }
    if (!source.atEnd() || source.error() != QFile::NoError || !copy.commit()) {
        *error = QStringLiteral("%1: cannot copy it to %2: %3").arg(file, folder, copy.errorString());
        return false;
    }
    *movedTo = target;
    moveSideFile(file, target);
    if (std::remove(QFile::encodeName(file).constData()) != 0)
        *note = QStringLiteral("the original stays (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
    return true;
}

} // namespace JobArchive
