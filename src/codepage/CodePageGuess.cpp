#include "codepage/CodePageGuess.h"

#include <QChar>

#include <array>
#include <cstring>

namespace CodePage {
namespace {

constexpr qsizetype ReadLimit = 4 * 1024 * 1024;
constexpr uchar Esc = 0x1B;

qsizetype word16(const uchar *p)
{
    return qsizetype(p[0]) | qsizetype(p[1]) << 8;
}

// How many bytes a printer command starting with ESC at p[0] takes, its
// parameters and picture data included (at most `left`). Only the lengths
// matter here: which bytes are text and which are not.
qsizetype commandLength(const uchar *p, qsizetype left)
{
    if (left < 2)
        return left;
    const uchar c = p[1];
    qsizetype n = 2;
    const auto header = [&](qsizetype bytes) { return left >= bytes; };
    switch (c) {
    case 'K': case 'L': case 'Y': case 'Z': // bit image: nL nH, n columns
        n = header(4) ? 4 + word16(p + 2) : left;
        break;
    case '*': { // m nL nH, n columns of 1, 3 or 6 bytes by density
        if (!header(5))
            return left;
        const uchar m = p[2];
        const qsizetype perColumn = m >= 70 ? 6 : m >= 32 ? 3 : 1;
        n = 5 + word16(p + 3) * perColumn;
        break;
    }
    case '^': // m nL nH, n columns of two bytes
        n = header(5) ? 5 + 2 * word16(p + 3) : left;
        break;
    case '(': // x nL nH and n bytes
        n = header(5) ? 5 + word16(p + 3) : left;
        break;
    case '.': { // raster: c v h m nL nH, then m rows of (n + 7) / 8 bytes
        if (!header(8))
            return left;
        const qsizetype rowBytes = (word16(p + 6) + 7) / 8;
        const qsizetype data = qsizetype(p[5]) * rowBytes;
        if (p[2] == 0)
            return qMin(left, 8 + data);
        qsizetype i = 8;
        if (p[2] == 1) { // run-length: a count, then the bytes or one byte repeated
            for (qsizetype got = 0; got < data && i < left;) {
                const uchar count = p[i];
                const qsizetype run = count < 128 ? count + 1 : 257 - count;
                i += count < 128 ? 1 + run : 2;
                got += run;
            }
        }
        return qMin(left, i);
    }
    case 'D': case 'B': case 'b': // up to and with NUL
        for (n = c == 'b' ? 3 : 2; n < left && p[n] != 0; ++n) { }
        ++n;
        break;
    case 'C': // n, or NUL n
        n = left >= 3 && p[2] == 0 ? 4 : 3;
        break;
    case '$': case '\\': case 'c': case 'e': case 'f': case '?':
        n = 4;
        break;
    case 'X': case ':': case '&':
        n = 5;
        break;
    case ' ': case '!': case '%': case '+': case '-': case '/': case '3': case 'A': case 'I': case 'J':
    case 'N': case 'Q': case 'R': case 'S': case 'U': case 'W': case 'a': case 'i': case 'j': case 'k':
    case 'l': case 'p': case 'q': case 'r': case 's': case 't': case 'w': case 'x': case 0x19:
        n = 3;
        break;
    default:
        break;
    }
    return qMin(left, n);
}

enum class Kind { Other, Letter, Box, Neutral };

bool latinOrCyrillic(char16_t c, Id id)
{
    return id == Id::Pc866 ? c >= 0x400 && c < 0x500 : c < 0x250;
}

Kind kindOf(char16_t c, Id id)
{
    if (c >= 0x2500 && c <= 0x25A0)
        return Kind::Box;
    const QChar ch(c);
    if (ch.isLetter() && latinOrCyrillic(c, id) && c != 0xAA && c != 0xBA)
        return Kind::Letter;
    switch (c) {
    case 0xA0: case 0xA7: case 0xAB: case 0xB0: case 0xB1: case 0xB2: case 0xB5: case 0xB7: case 0xBB:
    case 0x2013: case 0x2014: case 0x2018: case 0x2019: case 0x201C: case 0x201D: case 0x2026: case 0x20AC:
        return Kind::Neutral;
    default:
        return Kind::Other;
    }
}

// One reading of the bytes: each byte above 127 scored by what it becomes
// and what stands beside it.
struct Reading
{
    Id id;
    const char16_t *chars;
    int score = 0; // in halves
};

bool isLetterAt(const Reading &r, uchar byte)
{
    return byte >= 0x80 ? kindOf(r.chars[byte], r.id) == Kind::Letter : QChar::isLetter(char16_t(byte));
}

// Of a letter in a word: whether its case goes with its neighbours' (a
// capital that begins a word of small letters does).
bool caseFits(const Reading &r, char16_t c, int prev, int next)
{
    const auto letter = [&](int b) { return b >= 0 && isLetterAt(r, uchar(b)); };
    const auto upper = [&](int b) { return QChar(r.chars[uchar(b)]).isUpper(); };
    const bool isUpper = QChar(c).isUpper();
    if ((letter(prev) && upper(prev) == isUpper) || (letter(next) && upper(next) == isUpper))
        return true;
    return isUpper && !letter(prev) && letter(next);
}

void score(Reading &r, uchar byte, int prev, int next)
{
    const char16_t c = r.chars[byte];
    const auto kindAt = [&](int b) {
        return b < 0 ? Kind::Other : b >= 0x80 ? kindOf(r.chars[b], r.id) : QChar::isLetter(char16_t(b)) ? Kind::Letter : Kind::Other;
    };
    const Kind before = kindAt(prev);
    const Kind after = kindAt(next);
    switch (kindOf(c, r.id)) {
    case Kind::Letter:
        if (byte == prev || byte == next)
            r.score -= 2; // the same letter twice over is a rule read wrong, not a word
        else if (before == Kind::Box || after == Kind::Box)
            r.score -= 4; // a letter glued to a frame is a frame read wrong
        else if (before == Kind::Letter || after == Kind::Letter)
            r.score += caseFits(r, c, prev, next) ? 6 : 0;
        else
            r.score += 1;
        break;
    case Kind::Box:
        r.score += before == Kind::Box || after == Kind::Box ? 4 : 1;
        break;
    case Kind::Neutral:
        break;
    case Kind::Other:
        r.score -= 2;
        break;
    }
}

} // namespace

bool isDos(Id id)
{
    return id == Id::Pc437 || id == Id::Pc850 || id == Id::Pc852 || id == Id::Kamenicky || id == Id::Pc866;
}

std::optional<Id> guess(QByteArrayView bytes)
{
    std::array<Reading, 7> readings {};
    const QList<Id> ids = all();
    for (int i = 0; i < ids.size() && i < int(readings.size()); ++i)
        readings[size_t(i)] = Reading {ids[i], table(ids[i])};

    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = qMin(bytes.size(), ReadLimit);
    bool any = false;
    for (qsizetype i = 0; i < size;) {
        if (p[i] == Esc) {
            i += commandLength(p + i, size - i);
            continue;
        }
        if (p[i] >= 0x80) {
            any = true;
            const int prev = i > 0 && p[i - 1] != Esc ? p[i - 1] : -1;
            const int next = i + 1 < size && p[i + 1] != Esc ? p[i + 1] : -1;
            for (Reading &r : readings)
                score(r, p[i], prev, next);
        }
        ++i;
    }
    if (!any)
        return std::nullopt;
    const Reading *best = &readings[0];
    for (const Reading &r : readings) {
        if (r.score > best->score)
            best = &r;
    }
    return best->id;
}

Id Choice::resolve(QByteArrayView bytes) const
{
    return automatic ? guess(bytes).value_or(Id::Latin1) : id;
}

std::optional<Choice> choiceFromName(QStringView name)
{
    if (name.compare(QLatin1StringView("auto"), Qt::CaseInsensitive) == 0)
        return Choice {true, Id::Latin1};
    if (const std::optional<Id> id = fromName(name))
        return Choice {false, *id};
    return std::nullopt;
}

} // namespace CodePage
