#include "platform/OutputFile.h"

#include "platform/FileChecks.h"

#include <QFile>
#include <QFileInfo>
#include <QObject>

OutputFile::OutputFile(const QString &path)
    : QSaveFile(path)
{ }

bool OutputFile::open(OpenMode mode)
{
    const QString problem = FileChecks::outputProblem(fileName());
    if (!problem.isEmpty()) {
        setErrorString(problem);
        return false;
    }
    if (FileChecks::plantedLink(fileName())) {
        setErrorString(QObject::tr("refusing to follow a link another user planted in a shared folder."));
        return false;
    }
    return QSaveFile::open(mode | Unbuffered);
}

qint64 OutputFile::writeData(const char *data, qint64 len)
{
    // A write that stops short sets no error; writing the rest fails at
    // once, and that failure carries the cause.
    qint64 done = 0;
    while (done < len) {
        const qint64 written = QSaveFile::writeData(data + done, len - done);
        if (written <= 0)
            return -1;
        done += written;
    }
    return done;
}
