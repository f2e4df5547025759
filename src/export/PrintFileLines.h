#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Reads a print file line by line: a line ends at CR LF or at a lone CR, and
// the end is dropped; a lone LF stays in its line. A file that ends with a
// line end has no empty line after it. Only a read buffer and the current
// line are held.
class PrintFileLines
{
public:
    explicit PrintFileLines(QIODevice &device);

    // The next line; false at the end of the file or on a read error.
    bool next(QByteArray *line);
    bool failed() const { return m_failed; }

private:
    bool fill();

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
    bool m_failed = false;
};
