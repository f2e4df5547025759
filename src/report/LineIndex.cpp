#include "report/LineIndex.h"

#include <algorithm>
#include <cstring>

namespace {

// A mark at the first line start after this many bytes since the last mark.
constexpr qint64 MarkSpacing = 4096;
// A line longer than this goes on on the next line, so that a file without
// line ends (a picture, say) is not laid out in one piece of gigabytes.
constexpr qint64 LongestLine = 1 << 16;

constexpr quint64 Ones = 0x0101010101010101ULL;
constexpr quint64 Highs = 0x8080808080808080ULL;

// Whether some byte of the word is CR or LF (a word with none never says so).
inline bool mayHoldBreak(quint64 word)
{
    const quint64 lf = word ^ (Ones * '\n');
    const quint64 cr = word ^ (Ones * '\r');
    return (((lf - Ones) & ~lf) | ((cr - Ones) & ~cr)) & Highs;
}

} // namespace

qint64 LineIndex::findBreak(const char *data, qint64 from, qint64 to)
{
    // Eight bytes a step where no line end can be; most lines are long
    // enough for that to be most of the work.
    qint64 p = from;
    while (p + 8 <= to) {
        quint64 word;
        std::memcpy(&word, data + p, 8);
        if (mayHoldBreak(word))
            break;
        p += 8;
    }
    for (; p < to; ++p) {
        if (data[p] == '\n' || data[p] == '\r')
            return p;
    }
    return to;
}

LineIndex::LineIndex(QByteArrayView bytes)
    : m_bytes(bytes)
{
    Line line = lineFrom({0, 0, 0});
    qint64 lastMark = 0;
    qint64 crLf = 0;
    qint64 longest = line.length();
    while (line.next < bytes.size() || line.ended()) {
        crLf += line.next - line.end == 2 ? 1 : 0;
        line = lineFrom({line.number + 1, line.next, line.position + line.length() + (line.ended() ? 1 : 0)});
        longest = std::max(longest, line.length());
        if (line.begin - lastMark >= MarkSpacing) {
            m_marks.append({line.number, line.begin, line.position});
            lastMark = line.begin;
        }
    }
    m_lineCount = line.number + 1;
    m_crLfCount = crLf;
    m_longest = longest;
}

LineIndex::Line LineIndex::lineFrom(const Mark &mark) const
{
    Line line;
    line.number = mark.line;
    line.begin = mark.byte;
    line.position = mark.position;
    const char *data = m_bytes.data();
    const qint64 size = m_bytes.size();
    const qint64 limit = std::min(size, line.begin + LongestLine);
    line.end = findBreak(data, line.begin, limit);
    line.next = line.end;
    if (line.end == limit && limit < size) {
        // Cut where no sequence of the markup can be cut (each begins with a
        // control code): after a few bytes of none, if there are such.
        for (qint64 p = limit; p > limit - 4096; --p) {
            if (std::none_of(data + p - 8, data + p, [](char c) { return uchar(c) < 0x20; })) {
                line.end = line.next = p;
                break;
            }
        }
    } else if (line.end < size) {
        line.next = line.end + 1;
        if (data[line.end] == '\r' && line.next < size && data[line.next] == '\n')
            ++line.next;
    }
    return line;
}

LineIndex::Line LineIndex::next(const Line &line) const
{
    if (line.number + 1 >= m_lineCount)
        return line;
    return lineFrom({line.number + 1, line.next, line.position + line.length() + (line.ended() ? 1 : 0)});
}

LineIndex::Line LineIndex::advance(Line line, qint64 lines) const
{
    while (lines-- > 0 && line.number + 1 < m_lineCount)
        line = next(line);
    return line;
}

LineIndex::Line LineIndex::line(qint64 number) const
{
    number = std::clamp<qint64>(number, 0, m_lineCount - 1);
    const auto after = std::upper_bound(m_marks.cbegin(), m_marks.cend(), number,
        [](qint64 n, const Mark &mark) { return n < mark.line; });
    const Mark &mark = *(after - 1);
    return advance(lineFrom(mark), number - mark.line);
}

LineIndex::Line LineIndex::lineAt(qint64 position) const
{
    const auto after = std::upper_bound(m_marks.cbegin(), m_marks.cend(), position,
        [](qint64 p, const Mark &mark) { return p < mark.position; });
    Line line = lineFrom(*(after - 1));
    while (position > line.position + line.length() && line.number + 1 < m_lineCount)
        line = next(line);
    return line;
}

qint64 LineIndex::positionOf(qint64 byte) const
{
    const auto after = std::upper_bound(m_marks.cbegin(), m_marks.cend(), byte,
        [](qint64 b, const Mark &mark) { return b < mark.byte; });
    Line line = lineFrom(*(after - 1));
    while (byte >= line.next && line.number + 1 < m_lineCount)
        line = next(line);
    return line.position + std::min(byte - line.begin, line.length());
}
