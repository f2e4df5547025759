#include "watch/JobInfo.h"

#include "platform/FileChecks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// A side file is a few lines; anything far larger is not one.
constexpr qint64 LargestSideFile = 64 * 1024;

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// %XX back to its byte; a '%' without two hex digits stays as it is. The
// other side of put_value() in src/backend/sticker2-backend.c, which writes
// the side file (the format is described in JobInfo.h).
QString unescaped(QByteArrayView value)
{
    QByteArray bytes;
    bytes.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value.at(i);
        if (c == '%' && i + 2 < value.size() && hexValue(value.at(i + 1)) >= 0 && hexValue(value.at(i + 2)) >= 0) {
            bytes.append(char(hexValue(value.at(i + 1)) * 16 + hexValue(value.at(i + 2))));
            i += 2;
        } else {
            bytes.append(c);
        }
    }
    return QString::fromUtf8(bytes);
}

// A value as put_value() in the backend writes it.
QByteArray escaped(const QString &value)
{
    QByteArray out;
    for (const char c : value.toUtf8()) {
        const uchar byte = uchar(c);
        if (byte < 0x20 || byte == 0x7f || c == '%')
            out += '%' + QByteArray::number(byte, 16).toUpper().rightJustified(2, '0');
        else
            out += c;
    }
    return out;
}

} // namespace

QString jobInfoPath(const QString &jobPath)
{
    const QFileInfo job(jobPath);
    return job.dir().filePath(QLatin1Char('.') + job.fileName() + QStringLiteral(".info"));
}

bool readJobInfo(const QString &jobPath, JobInfo *info, QString *error)
{
    *info = JobInfo();
    if (error)
        error->clear();
    const QString path = jobInfoPath(jobPath);
    const QFileInfo side(path);
    if (!side.exists() && !side.isSymLink())
        return false;
    const QString kind = FileChecks::inputProblem(path);
    QFile file(path);
    if (!kind.isEmpty() || side.size() > LargestSideFile || !file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path,
                !kind.isEmpty() ? kind
                    : side.size() > LargestSideFile ? QStringLiteral("too large for job details")
                                                    : file.errorString());
        return false;
    }
    const QByteArray text = file.read(LargestSideFile);
    for (const QByteArray &line : text.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArray key = line.left(equals);
        const QString value = unescaped(QByteArrayView(line).sliced(equals + 1));
        if (key == "job")
            info->job = value;
        else if (key == "user")
            info->user = value;
        else if (key == "title")
            info->title = value;
        else if (key == "queue")
            info->queue = value;
        else if (key == "copies")
            info->copies = qMax(1, value.toInt());
    }
    return true;
}

QByteArray jobInfoText(const JobInfo &info)
{
    return "job=" + escaped(info.job) + "\nuser=" + escaped(info.user) + "\ntitle=" + escaped(info.title)
        + "\nqueue=" + escaped(info.queue) + "\ncopies=" + QByteArray::number(info.copies) + '\n';
}
