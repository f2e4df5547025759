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

} // namespace ByteText
