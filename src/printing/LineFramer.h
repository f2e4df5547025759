#pragma once

#include <QByteArray>

// Frames a print file's lines for the printer, chunk by chunk: a line ends at
// CR LF or at a lone CR (a lone LF stays inside the line). A line ended by CR
// LF, and a last line without terminator, go out followed by CR LF (a file
// whose last byte is a lone LF has fed its line already: nothing is added,
// or the next job would begin a line lower); a lone CR
// goes out as it is, since on the printer it means an overprint of the same
// line. With the extra-line option the very first line of the run gets one
// more CR LF. Every other byte passes through unchanged.
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
    void endLine(QByteArray &out, bool loneCr);

    bool m_extraLinePending;
    bool m_afterCr = false;  // a CR just ended a line; an LF right after it belongs to it
    bool m_lineOpen = false; // bytes since the last line end
    char m_last = 0;         // the last byte fed
};
