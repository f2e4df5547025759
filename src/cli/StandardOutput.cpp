#include "cli/StandardOutput.h"

#include <cerrno>
#include <fcntl.h>
#include <cstdio>
#include <cstring>
#include <unistd.h>

bool StandardOutput::openOutput()
{
    // The descriptor, not the C library's stream: its buffer would hold the
    // last bytes until exit, where no one checks that they were written.
    std::fflush(stdout);
    if (::fcntl(STDOUT_FILENO, F_GETFD) < 0) {
        setErrorString(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool StandardOutput::finish()
{
    if (error() != NoError)
        return false;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        setErrorString(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

qint64 StandardOutput::writeData(const char *data, qint64 len)
{
    // A write that stops short sets no error; writing the rest fails at
    // once, and that failure carries the cause.
    qint64 done = 0;
    while (done < len) {
        const qint64 written = QFile::writeData(data + done, len - done);
        if (written <= 0)
            return -1;
        done += written;
    }
    return done;
}
