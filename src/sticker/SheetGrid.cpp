#include "sticker/SheetGrid.h"

#include <algorithm>
#include <cstring>

namespace SheetGrid {
namespace {

constexpr size_t ChunkSize = 1024 * 1024;

// Writes n in decimal at p, with leading zeros up to `width` digits;
// returns the number of characters written.
int putNumber(char *p, int n, int width)
{
    char digits[12];
    int len = 0;
    do {
        digits[len++] = char('0' + n % 10);
        n /= 10;
    } while (n > 0);
    const int zeros = std::max(0, width - len);
    std::memset(p, '0', size_t(zeros));
    for (int i = 0; i < len; ++i)
        p[zeros + i] = digits[len - 1 - i];
    return zeros + len;
}

// The numbered line of a row at `q`: for each of its `cols` stickers the
// base text, its running number (from `first` on) and spaces to the width,
// then the gap. A number may run past the width; the caller's room allows
// for it. Returns the end.
char *putNumberedLine(char *q, std::string_view numberBase, int first, const Grid &grid)
{
    for (int c = 0; c < grid.cols; ++c) {
        std::memcpy(q, numberBase.data(), numberBase.size());
        size_t len = numberBase.size();
        len += size_t(putNumber(q + len, first + c, grid.digits));
        if (len < size_t(grid.width))
            std::memset(q + len, ' ', size_t(grid.width) - len);
        q += grid.width;
        std::memcpy(q, grid.gap.data(), grid.gap.size());
        q += grid.gap.size();
    }
    return q;
}

// Removes the spaces at both ends of the `len` bytes at p, moving the rest to
// p; returns the new length.
size_t trimInPlace(char *p, size_t len)
{
    const std::string_view kept = trimSpaces(std::string_view(p, len));
    if (kept.data() != p)
        std::memmove(p, kept.data(), kept.size());
    return kept.size();
}

// One page's rows into `out`: the sticker lines (the first carrying
// `prefix`, which is then used up), the gaps between rows and the marker
// line at the page's end.
struct PageParts
{
    std::string rowLine[8];    // each line across the row, untrimmed
    std::string rowLineOut[8]; // the same as written
    std::string_view numberBase;
    std::string rowGap;
    std::string pageEnd;
    size_t lineRoom = 0;
};

bool writePage(const Grid &grid, const PageParts &parts, std::string &prefix, ChunkedOutput &out)
{
    const int lines = std::min(grid.lines, 7);
    int n = 1;
    for (int r = 1; r <= grid.rows; ++r) {
        for (int x = 1; x <= lines; ++x) {
            if (x != 4 && prefix.empty()) {
                if (!out.append(parts.rowLineOut[x]))
                    return false;
                continue;
            }
            char *const start = out.room(parts.lineRoom + prefix.size() + 12 + size_t(grid.digits));
            if (!start)
                return false;
            char *q = start;
            std::memcpy(q, prefix.data(), prefix.size());
            q += prefix.size();
            if (x == 4) {
                q = putNumberedLine(q, parts.numberBase, n, grid);
                n += grid.cols;
            } else {
                std::memcpy(q, parts.rowLine[x].data(), parts.rowLine[x].size());
                q += parts.rowLine[x].size();
            }
            prefix.clear();
            q = start + trimInPlace(start, size_t(q - start));
            *q++ = '\r';
            *q++ = '\n';
            out.commit(size_t(q - start));
        }
        if (r < grid.rows && !out.append(parts.rowGap))
            return false;
    }
    return out.append(parts.pageEnd);
}

// Collects a page's bytes.
class StringSink : public Sink
{
public:
    bool put(const char *data, size_t size) override
    {
        bytes.append(data, size);
        return true;
    }
    std::string bytes;
};

} // namespace

bool Sink::putRepeated(const char *, size_t, long long, bool *failed)
{
    *failed = false;
    return false;
}

ChunkedOutput::ChunkedOutput(Sink &sink)
    : m_sink(sink)
    , m_buffer(new char[ChunkSize])
    , m_size(ChunkSize)
{ }

char *ChunkedOutput::room(size_t n)
{
    if (m_used + n > m_size) {
        if (!flush())
            return nullptr;
        if (n > m_size) {
            m_buffer.reset(new char[n]);
            m_size = n;
        }
    }
    return m_buffer.get() + m_used;
}

bool ChunkedOutput::append(const char *data, size_t size)
{
    char *p = room(size);
    if (!p)
        return false;
    if (size > 0)
        std::memcpy(p, data, size);
    commit(size);
    return true;
}

bool ChunkedOutput::appendRepeated(std::string_view bytes, long long count)
{
    if (count <= 0 || bytes.empty())
        return true;
    bool failed = false;
    if ((unsigned long long)count >= m_size / bytes.size()) { // (no product that could overflow)
        if (!flush())
            return false;
        if (m_sink.putRepeated(bytes.data(), bytes.size(), count, &failed))
            return true;
        if (failed)
            return false;
    }
    for (long long i = 0; i < count; ++i) {
        if (!append(bytes))
            return false;
    }
    return true;
}

bool ChunkedOutput::flush()
{
    if (m_used == 0)
        return true;
    if (!m_sink.put(m_buffer.get(), m_used))
        return false;
    m_used = 0;
    return true;
}

std::string_view trimSpaces(std::string_view bytes)
{
    size_t b = 0;
    size_t e = bytes.size();
    while (b < e && bytes[b] == ' ')
        ++b;
    while (e > b && bytes[e - 1] == ' ')
        --e;
    return bytes.substr(b, e - b);
}

long long firstCutNumber(size_t textLength, int width, int digits, long long last)
{
    const long long room = (long long)width - (long long)textLength; // digits the number may have
    if (room < digits || room < 1)
        return last >= 1 ? 1 : 0;
    long long first = 1; // the least number of room + 1 digits
    for (long long d = 0; d < room && first <= last; ++d)
        first *= 10;
    return first <= last ? first : 0;
}

bool finish(ChunkedOutput &out, bool condensed)
{
    if (condensed && !out.append(&CondensedOff, 1))
        return false;
    return out.append("\x0c\r\n", 3) && out.flush();
}

bool write(const Grid &grid, ChunkedOutput &out)
{
    const int lines = std::min(grid.lines, 7);
    // Every line but the numbered one is the same in every row of every
    // page: build each once, untrimmed (for the first line of the file,
    // which carries the condensed sequence) and as written.
    PageParts parts;
    for (int x = 1; x <= lines; ++x) {
        for (int c = 0; c < grid.cols; ++c)
            parts.rowLine[x] += grid.line[x] + grid.gap;
        parts.rowLineOut[x] = std::string(trimSpaces(parts.rowLine[x])) + "\r\n";
    }
    // The numbered line: the text of line 4 without its surrounding spaces,
    // the running number after it, cut or padded to the width.
    parts.numberBase = trimSpaces(grid.line[4]);
    parts.rowGap = grid.blankLines + "\r\n";
    parts.pageEnd = grid.blankLines + ".  .  .\r\n";
    parts.lineRoom = size_t(grid.cols) * (size_t(std::max(0, grid.width)) + grid.gap.size()) + 2;

    std::string prefix = grid.condensed ? std::string(1, CondensedOn) : std::string();
    if (grid.pages >= 1 && !writePage(grid, parts, prefix, out))
        return false;
    // The running numbers start again on every page and only the file's
    // first line carries the condensed sequence: every page after the first
    // is the same bytes, made once and handed on as many times as needed.
    // (A page too large to hold is made again for every page.)
    constexpr double LargestHeldPage = 16 << 20;
    const double pageRoom = double(std::max(0, grid.rows))
        * (double(lines) * double(parts.lineRoom + 12 + size_t(grid.digits)) + double(parts.rowGap.size()));
    if (grid.pages >= 2 && pageRoom <= LargestHeldPage) {
        StringSink page;
        ChunkedOutput pageOut(page);
        if (!writePage(grid, parts, prefix, pageOut) || !pageOut.flush()
            || !out.appendRepeated(page.bytes, grid.pages - 1))
            return false;
    } else {
        for (long long p = 2; p <= grid.pages; ++p) {
            if (!writePage(grid, parts, prefix, out))
                return false;
        }
    }
    return finish(out, grid.condensed);
}

} // namespace SheetGrid
