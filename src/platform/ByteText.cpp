#include "platform/ByteText.h"

#include <QFile>
#include <QSaveFile>
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
    // Unbuffered, so a short write (a full disk, a file-size limit) is seen
    // here: a buffered one surfaces only at commit, which lets it pass.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size()
        || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
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
