#include "platform/OutputFile.h"

#include "platform/FileChecks.h"

#include <QFile>
#include <QFileInfo>
#include <QObject>

#include <cerrno>
#include <climits>
#include <fcntl.h>

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

bool OutputFile::commit()
{
    if (QSaveFile::commit())
        return true;
    const qsizetype nameBytes = QFile::encodeName(QFileInfo(fileName()).fileName()).size();
    if ((errorString().isEmpty() || errorString() == QLatin1String("Unknown error")) && nameBytes > NAME_MAX - 7)
        setErrorString(qt_error_string(ENAMETOOLONG));
    return false;
}

qint64 OutputFile::writeData(const char *data, qint64 len)
{
    // A write that stops short sets no error; writing the rest fails at
    // once, and that failure carries the cause.
    qint64 done = 0;
    while (done < len) {
        errno = 0;
        const qint64 written = QSaveFile::writeData(data + done, len - done);
        if (written <= 0) {
            // The cause as the kernel gave it, where Qt's is "Unknown error".
            const int cause = errno;
            if (cause != 0 && (errorString().isEmpty() || errorString() == QLatin1String("Unknown error")))
                setErrorString(qt_error_string(cause));
            return -1;
        }
        done += written;
    }
    m_written += done;
    // commit() waits until the file is on the disk: start that writing now.
    constexpr qint64 HandOn = 8 << 20;
    if (m_written - m_handedOn >= HandOn && handle() >= 0) {
        ::sync_file_range(handle(), m_handedOn, m_written - m_handedOn, SYNC_FILE_RANGE_WRITE);
        m_handedOn = m_written;
    }
    return done;
}
