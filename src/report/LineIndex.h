#pragma once

#include <QByteArrayView>
#include <QVector>

// The lines of a text held as bytes (a page, or a whole mapped file), found
// in one pass and kept sparse: a mark at the first line start after every
// few kilobytes, so that a gigabyte costs a few megabytes of index whatever
// its lines look like, and line i is found from the mark before it. A line
// ends at CR LF, a lone CR or a lone LF. Positions count characters as the
// view counts them: one a byte, and one for each line end (CR LF included).
// A line of more than 64 KB goes on on the next line, without a line end.
// The bytes are not copied; they must outlive the index.
class LineIndex
{
public:
    struct Line
    {
        qint64 number = 0;
        qint64 begin = 0;    // first byte
        qint64 end = 0;      // byte after the last one, before the line end
        qint64 next = 0;     // where the next line begins
        qint64 position = 0; // position of the first character
        qint64 length() const { return end - begin; }
        // Whether a line end follows (not so for the last line, nor for a
        // line cut for its length, whose text goes on on the next).
        bool ended() const { return next > end; }
    };

    LineIndex() = default;
    explicit LineIndex(QByteArrayView bytes);

    QByteArrayView bytes() const { return m_bytes; }
    // At least 1: an empty text is one empty line.
    qint64 lineCount() const { return m_lineCount; }
    // Positions in all, line ends included.
    qint64 positionCount() const { return m_bytes.size() - m_crLfCount; }
    // The most bytes a line holds.
    qint64 longestLine() const { return m_longest; }

    Line line(qint64 number) const;
    // The line after `line`; the same line past the last.
    Line next(const Line &line) const;
    // The line that holds a position (a line end belongs to its line); a
    // position past the end gives the last line.
    Line lineAt(qint64 position) const;
    // The position of a byte.
    qint64 positionOf(qint64 byte) const;

    // Where the line end at or after `from` begins, or `to` when none does.
    static qint64 findBreak(const char *data, qint64 from, qint64 to);

private:
    struct Mark
    {
        qint64 line;
        qint64 byte;
        qint64 position;
    };
    Line lineFrom(const Mark &mark) const;
    Line advance(Line line, qint64 lines) const;

    QByteArrayView m_bytes;
    QVector<Mark> m_marks{{0, 0, 0}};
    qint64 m_lineCount = 1;
    qint64 m_crLfCount = 0;
    qint64 m_longest = 0;
};
