#pragma once

#include <QFile>

// Standard output for the output name "-", as a device whose every write is
// checked: a full disk, a size limit or /dev/full fails the write that met
// it, with its cause ("No space left on device", "File too large") where a
// short write would otherwise give "Unknown error".
class StandardOutput : public QFile
{
public:
    // False with the cause when standard output is closed.
    bool openOutput();
    // Whatever the C library still holds goes out; false with the cause
    // in errorString() when it cannot.
    bool finish();

protected:
    qint64 writeData(const char *data, qint64 len) override;
};
