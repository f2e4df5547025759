#include "platform/ByteText.h"

#include "platform/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QStringList>

namespace ByteText {

bool readFile(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFile::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    OutputFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool saveThrough(const QString &path, const DeviceWriter &writer, QString *error)
{
    OutputFile file(path);
    QString reason;
    if (!file.open(QIODevice::WriteOnly))
        reason = file.errorString();
    else if (!writer(file, &reason))
        file.cancelWriting();
    else if (file.error() != QFileDevice::NoError || !file.commit())
        reason = file.errorString();
    else
        return true;
    if (error)
        *error = QObject::tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason);
    return false;
}

bool writeLines(const QString &path, const QStringList &lines, QString *error)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += toBytes(line);
        bytes += "\r\n";
    }
    return writeFile(path, bytes, error);
}

QStringList splitLines(const QByteArray &bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines << toText(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < n && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << toText(bytes.mid(start));
    return lines;
}

} // namespace ByteText
