#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The character-mode sticker sheet's grid in bytes, in plain C++ (no Qt):
// the same stickers across and down, page after page, with the running
// number on the fourth line, a marker line after every page and the
// condensed sequences around a condensed run. CharSheetWriter writes every
// sheet through it, and the launcher writes a stored slot's sheet with it
// before it loads any of Qt.
namespace SheetGrid {

constexpr char CondensedOn = '\x0f';  // SI
constexpr char CondensedOff = '\x12'; // DC2

// Where the bytes go. put() takes them all or returns false; the caller's
// device then knows why.
class Sink
{
public:
    virtual ~Sink() = default;
    virtual bool put(const char *data, size_t size) = 0;
    // The same bytes `count` times over, for a sink that can hand them on
    // without copying them (a descriptor's writev); false when it cannot,
    // and the output then copies them as any other bytes.
    virtual bool putRepeated(const char *data, size_t size, long long count, bool *failed);
};

// Collects the bytes of many lines and hands them to the sink a megabyte at
// a time: a long sheet costs few writes (each write into the page cache has
// a cost of its own) and one buffer. Lines are built in place in it.
class ChunkedOutput
{
public:
    explicit ChunkedOutput(Sink &sink);

    // Room for at least `n` more bytes; null when the sink refused a chunk.
    char *room(size_t n);
    void commit(size_t n) { m_used += n; }
    bool append(const char *data, size_t size);
    bool append(std::string_view bytes) { return append(bytes.data(), bytes.size()); }
    // `bytes` `count` times over.
    bool appendRepeated(std::string_view bytes, long long count);
    bool flush();

private:
    Sink &m_sink;
    // Not zeroed: a page of it costs the process only when bytes are put
    // there (a sheet of a few hundred bytes would otherwise pay for
    // clearing the whole chunk, more than the rest of its run).
    std::unique_ptr<char[]> m_buffer;
    size_t m_size = 0;
    size_t m_used = 0;
};

// One sheet's grid as the writer needs it; every count already checked.
struct Grid
{
    std::string line[8];    // [1] ... [lines]: each sticker line's bytes, padded to `width`
    std::string gap;        // the spaces after every sticker of a line
    int width = 0;          // bytes of every sticker line
    int cols = 0;           // stickers across
    int rows = 0;           // sticker rows on a page
    int lines = 0;          // lines of a sticker, 0 to 7; the fourth carries the number
    int digits = 0;         // running numbers padded with zeros to this many digits
    long long pages = 1;
    std::string blankLines; // CR LFs before every row gap and page marker
    bool condensed = false;
};

// The whole sheet (all pages and the end of the file) into `out`.
bool write(const Grid &grid, ChunkedOutput &out);

// The file's end: condensed printing off (when it was on), a form feed.
bool finish(ChunkedOutput &out, bool condensed);

// The bytes between the first and the last one that is not a space; only
// spaces go, a control code at either end stays.
std::string_view trimSpaces(std::string_view bytes);

// The first running number the fourth line cuts, its text (`textLength`
// bytes once trimmed) and the number padded to `digits` being longer than
// `width`; 0 when the numbers 1 to `last` all fit.
long long firstCutNumber(size_t textLength, int width, int digits, long long last);

} // namespace SheetGrid
