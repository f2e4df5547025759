#include "escp/EscpTokenizer.h"

#include "escp/EscpCommands.h"

#include <cstring>
#include <strings.h>
#include <emmintrin.h>

using namespace Escp;

namespace {

// The control characters among 16 bytes at `p`, as a mask of one bit a byte.
inline __m128i controlsAt(const uchar *p)
{
    const __m128i limit = _mm_set1_epi8(0x1F);
    const __m128i del = _mm_set1_epi8(char(DEL));
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    return _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(v, limit), v), _mm_cmpeq_epi8(v, del));
}

// The first control character at or after `p`, or `end`. Sixty-four bytes at
// a time, then sixteen: reports are long runs of text.
const uchar *findControl(const uchar *p, const uchar *end)
{
    while (end - p >= 64) {
        const __m128i a = controlsAt(p);
        const __m128i b = controlsAt(p + 16);
        const __m128i c = controlsAt(p + 32);
        const __m128i d = controlsAt(p + 48);
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d)))) {
            const auto bits = [](__m128i m) { return quint64(unsigned(_mm_movemask_epi8(m))); };
            const quint64 mask = bits(a) | bits(b) << 16 | bits(c) << 32 | bits(d) << 48;
            return p + __builtin_ctzll(mask);
        }
        p += 64;
    }
    while (end - p >= 16) {
        const int mask = _mm_movemask_epi8(controlsAt(p));
        if (mask)
            return p + __builtin_ctz(unsigned(mask));
        p += 16;
    }
    while (p < end && !isControl(*p))
        ++p;
    return p;
}

// HP's job language around a job, as printers with a network card take it
// (a Windows driver or a print server may add it): the escape ESC %-12345X
// that starts and ends a job, and every line after it that begins with
// "@PJL" (the last of them, ENTER LANGUAGE, hands over to the printer
// language), with the line ends and blanks before each. The printer prints
// none of it; a line the file cuts short runs to the end.
qsizetype jobLanguageLength(const uchar *p, qsizetype avail)
{
    qsizetype q = 9;
    for (;;) {
        // (Line ends and blanks before a PJL line are the job language's too.)
        qsizetype line = q;
        while (line < avail && (p[line] == '\r' || p[line] == '\n' || p[line] == ' ' || p[line] == '\t'))
            ++line;
        if (avail - line < 4 || strncasecmp(reinterpret_cast<const char *>(p + line), "@PJL", 4) != 0)
            return q;
        const void *lf = std::memchr(p + line, '\n', size_t(avail - line));
        if (!lf)
            return avail;
        q = static_cast<const uchar *>(lf) - p + 1;
    }
}

} // namespace

void EscpTokenizer::followImageModes(const uchar *command, qsizetype length, ImageModes *modes)
{
    if (length >= 4 && command[1] == '?') {
        const int which = reassignedImageCommand(command[2], command[3]);
        if (which >= 0)
            (*modes)[which] = command[3];
    } else if (length >= 2 && command[1] == '@') {
        *modes = DefaultImageModes;
    }
}

qsizetype EscpTokenizer::commandLength(const uchar *data, qsizetype size, qsizetype pos, int pins, bool superSubscript,
    const ImageModes &imageModes)
{
    const qsizetype avail = size - pos;
    if (avail < 2)
        return -1;
    const uchar *p = data + pos;
    if (p[1] == '%' && avail >= 9 && std::memcmp(p + 2, "-12345X", 7) == 0)
        return jobLanguageLength(p, avail);
    const CommandShape shape = shapeOf(p[1]);
    qsizetype len = -1;
    switch (shape.shape) {
    case Shape::Unknown:
        len = 2;
        break;
    case Shape::Fixed:
        len = 2 + shape.fixed;
        break;
    case Shape::Ejl: {
        // Every line that begins with "@EJL" belongs to it.
        qsizetype q = 2;
        while (avail - q >= 4 && std::memcmp(p + q, "@EJL", 4) == 0) {
            const void *lf = std::memchr(p + q, '\n', size_t(avail - q));
            if (!lf)
                return -1;
            q = static_cast<const uchar *>(lf) - p + 1;
        }
        return q;
    }
    case Shape::UpToNul:
    case Shape::VfuChannel: {
        // Stops at the NUL, or after as many stops as the printer takes
        // plus one (then the list had no NUL and the rest is text).
        const qsizetype first = shape.shape == Shape::VfuChannel ? 3 : 2;
        const qsizetype most = first + shape.fixed + 1;
        for (qsizetype i = first; i < avail && i < most; ++i) {
            if (p[i] == 0)
                return i + 1;
            if (i > first && p[i] <= p[i - 1])
                return i; // stops must rise: the list ended unterminated
        }
        return avail >= most ? most : -1;
    }
    case Shape::PageLength:
        if (avail < 3)
            return -1;
        len = p[2] == 0 ? 4 : 3;
        break;
    case Shape::Extended:
        if (avail < 5)
            return -1;
        len = 5 + word(p + 3);
        if (p[2] == 'R' && len <= avail) {
            const qsizetype rest = remoteModeLength(p + len, avail - len);
            return rest < 0 ? -1 : len + rest;
        }
        break;
    case Shape::BitImage: {
        if (avail < 4)
            return -1;
        static const char Letters[] = "KLYZ";
        const int perColumn = bytesPerColumn(imageModes[std::strchr(Letters, p[1]) - Letters]);
        len = 4 + word(p + 2) * (perColumn ? perColumn : 1);
        break;
    }
    case Shape::BitImageM: {
        if (avail < 5)
            return -1;
        const int perColumn = bytesPerColumn(p[2]);
        len = 5 + word(p + 3) * (perColumn ? perColumn : 1);
        break;
    }
    case Shape::NinePin:
        if (avail < 5)
            return -1;
        len = 5 + 2 * word(p + 3);
        break;
    case Shape::Download:
        return downloadLength(p, avail, pins, superSubscript);
    case Shape::Raster: {
        if (avail < 8)
            return -1;
        const qsizetype rowBytes = (word(p + 6) + 7) / 8;
        const qsizetype bytes = rowBytes * p[5];
        switch (p[2]) {
        case 0:
            len = 8 + bytes;
            break;
        case 1: {
            const qsizetype packed = packedLength(p + 8, avail - 8, bytes);
            return packed < 0 ? avail + 1 : 8 + packed;
        }
        case 2: {
            const qsizetype tiff = tiffModeLength(p + 8, avail - 8);
            return tiff < 0 ? avail + 1 : 8 + tiff;
        }
        default:
            len = 8; // a compression the printer does not know: the header only
            break;
        }
        break;
    }
    }
    if (len > avail && shape.shape != Shape::BitImage && shape.shape != Shape::BitImageM
        && shape.shape != Shape::NinePin && shape.shape != Shape::Raster)
        return -1;
    return len;
}

EscpToken EscpTokenizer::next()
{
    EscpToken t;
    t.offset = m_pos;
    if (m_pos >= m_size)
        return t;
    const uchar *const p = m_data + m_pos;
    const uchar c = *p;
    if (c == ESC) {
        qsizetype len = commandLength(m_data, m_size, m_pos, m_pins, m_superSubscript, m_imageModes);
        const qsizetype avail = m_size - m_pos;
        if (len > avail) { // a picture cut short: its dots as far as they go
            t.truncated = true;
            len = avail;
        }
        if (len > 0) {
            const uchar letter = p[1];
            const Shape shape = shapeOf(letter).shape;
            t.kind = (shape == Shape::BitImage || shape == Shape::BitImageM || shape == Shape::NinePin
                         || shape == Shape::Raster)
                ? EscpToken::Picture
                : EscpToken::Command;
            t.code = letter;
            t.sub = len > 2 ? p[2] : 0;
            t.parameters = m_pos + 2;
            t.length = len;
            m_pos += len;
            m_superSubscript = superSubscriptAfter(letter, m_superSubscript);
            followImageModes(p, len, &m_imageModes);
            return t;
        }
        // Cut short by the end of the file: the printer waits for the rest.
        t.kind = EscpToken::Unfinished;
        t.code = m_size - m_pos >= 2 ? p[1] : 0;
        t.parameters = m_pos + 1;
        t.length = m_size - m_pos;
        m_pos = m_size;
        return t;
    }
    if (isControl(c)) {
        t.kind = EscpToken::Control;
        t.code = c;
        t.length = 1;
        t.parameters = m_pos + 1;
        ++m_pos;
        return t;
    }
    // At most MostText bytes a token: a sheet that ends inside a long run
    // begins the next one there, and each sheet would otherwise scan the
    // rest of the run again.
    const uchar *stop = findControl(p + 1, m_data + qMin(m_size, m_pos + MostText));
    t.kind = EscpToken::Text;
    t.length = stop - p;
    m_pos += t.length;
    return t;
}
