#include "platform/OutputFile.h"

#include "platform/FileChecks.h"

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
