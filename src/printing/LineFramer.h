#pragma once

#include <QByteArray>

// Frames a print file's lines for the printer, chunk by chunk: a line ends at
// CR LF or at a lone CR (a lone LF stays inside the line), and every line goes
// out followed by CR LF. A last line without terminator still counts. With
// the extra-line option the very first line of the run gets one more CR LF.
// Every other byte passes through unchanged.
class LineFramer
{
public:
    explicit LineFramer(bool extraFirstLine = false)
        : m_extraLinePending(extraFirstLine)
    { }

    // Appends the framed form of the next piece of the file to `out`.
    void feed(const char *data, qsizetype size, QByteArray &out);
    // End of one copy of the file: closes a last line left open.
    void finishCopy(QByteArray &out);

private:
    void endLine(QByteArray &out);

    bool m_extraLinePending;
    bool m_afterCr = false;  // a CR just ended a line; an LF right after it belongs to it
    bool m_lineOpen = false; // bytes since the last line end
};
