#include "escp/EscpCommands.h"

#include <array>
#include <cstring>

namespace Escp {

namespace {

constexpr std::array<CommandShape, 256> makeShapes()
{
    std::array<CommandShape, 256> t{};
    auto fixed = [&t](const char *letters, uchar n) {
        for (const char *p = letters; *p; ++p)
            t[uchar(*p)] = {Shape::Fixed, n};
    };
    // No parameters: pitch, quality, emphasis, line spacing presets, reset,
    // one-line double width and condensed (ESC SO, ESC SI), MSB control,
    // unidirectional printing for one line, paper-out detection.
    fixed("#012456789<=>@EFGHMOPTg", 0);
    t[SO] = t[SI] = {Shape::Fixed, 0};
    // One parameter byte.
    fixed(" !%+-/3AIJNQRSUWahijklmpqrstwx", 1);
    t[0x19] = {Shape::Fixed, 1}; // ESC EM n: cut-sheet feeder
    // Two parameter bytes: positions, HMI, reassign bit image, fixed tabs and skips.
    fixed("$\\?cef", 2);
    // ESC : NUL n m copies the ROM font; ESC X m nL nH selects a font by size.
    fixed(":X", 3);
    t[uchar('D')] = {Shape::UpToNul, 32};
    t[uchar('B')] = {Shape::UpToNul, 16};
    t[uchar('b')] = {Shape::VfuChannel, 16};
    t[uchar('C')] = {Shape::PageLength, 0};
    t[uchar('(')] = {Shape::Extended, 0};
    for (char c : {'K', 'L', 'Y', 'Z'})
        t[uchar(c)] = {Shape::BitImage, 0};
    t[uchar('*')] = {Shape::BitImageM, 0};
    t[uchar('^')] = {Shape::NinePin, 0};
    t[uchar('&')] = {Shape::Download, 0};
    t[uchar('.')] = {Shape::Raster, 0};
    t[0x01] = {Shape::Ejl, 0};
    return t;
}

constexpr std::array<CommandShape, 256> Shapes = makeShapes();

} // namespace

CommandShape shapeOf(uchar letter)
{
    return Shapes[letter];
}

int reassignedImageCommand(uchar n, uchar m)
{
    static const char Letters[] = "KLYZ";
    const char *at = n ? std::strchr(Letters, n) : nullptr;
    return at && bytesPerColumn(m) ? int(at - Letters) : -1;
}

int bytesPerColumn(int m)
{
    switch (m) {
    case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7:
        return 1;
    case 32: case 33: case 38: case 39: case 40:
        return 3;
    case 64: case 65: case 70: case 71: case 72: case 73:
        return 6;
    default:
        return 0;
    }
}

int dotsPerInch(int m)
{
    switch (m) {
    case 0: case 32: case 64: return 60;
    case 1: case 2: case 33: case 65: return 120;
    case 3: return 240;
    case 4: return 80;
    case 5: return 72;
    case 6: case 38: case 70: return 90;
    case 7: return 144;
    case 39: case 71: return 180;
    case 40: case 72: case 73: return 360;
    default: return 0;
    }
}

qsizetype packedLength(const uchar *data, qsizetype size, qsizetype unpacked)
{
    qsizetype p = 0;
    qsizetype out = 0;
    while (out < unpacked) {
        if (p >= size)
            return -1;
        const uchar counter = data[p++];
        if (counter < 128) {
            p += counter + 1;
            out += counter + 1;
        } else {
            p += 1;
            out += 257 - counter;
        }
    }
    return p <= size ? p : -1;
}

qsizetype tiffModeLength(const uchar *data, qsizetype size)
{
    qsizetype p = 0;
    while (p < size) {
        const uchar b = data[p++];
        const uchar group = b >> 5;
        if (group == 7) { // CLR, CR, EXIT, MOVXBYTE, MOVXDOT
            if (b == 0xE3)
                return p;
            continue;
        }
        if (group == 0)
            continue; // not a command of this mode: skipped
        qsizetype count = b & 0x0F;
        if (b & 0x10) { // the count follows in `count` bytes, low byte first
            const int bytes = int(count);
            if (p + bytes > size)
                return -1;
            count = 0;
            for (int i = bytes - 1; i >= 0; --i)
                count = qMin<qsizetype>(count * 256 + data[p + i], qsizetype(1) << 40); // bad input saturates
            p += bytes;
        }
        if (group == 1) // XFER: the count is the packed data that follows
            p += count;
    }
    return -1;
}

namespace {

// The length of the definition in one form, -1 when it runs past `size`; `ok`
// false when a character's header is not one the form allows.
qsizetype downloadForm9(const uchar *p, qsizetype size, bool *ok)
{
    *ok = true;
    const int first = p[3];
    const int last = p[4];
    if (last < first)
        return 5;
    const qsizetype len = 5 + 12 * qsizetype(last - first + 1);
    for (qsizetype q = 5; q < len && q < size; q += 12) {
        const uchar a = p[q];
        if (((a >> 4) & 7) > (a & 15) || (a & 15) > 11)
            *ok = false;
        // A pin fires in every other column at most: a 9-pin character
        // has no dot beside another in a row.
        for (qsizetype c = q + 2; c < q + 12 && c < size; ++c) {
            if (p[c] & p[c - 1])
                *ok = false;
        }
    }
    return len <= size ? len : -1;
}

qsizetype downloadForm24(const uchar *p, qsizetype size, bool *ok, bool superSubscript = false)
{
    *ok = true;
    const int perColumn = downloadColumnBytes(superSubscript);
    qsizetype q = 5;
    for (int c = p[3]; c <= p[4]; ++c) {
        if (q + 3 > size)
            return -1;
        if (p[q] > 42 || p[q + 1] > 37 || p[q + 2] > 42)
            *ok = false;
        q += 3 + perColumn * qsizetype(p[q + 1]);
    }
    return q <= size ? q : -1;
}

} // namespace

qsizetype downloadLength(const uchar *p, qsizetype size, int pins, bool superSubscript)
{
    if (size < 5)
        return -1;
    bool ok9 = false, ok24 = false;
    if (pins == 9)
        return downloadForm9(p, size, &ok9);
    const qsizetype len24 = downloadForm24(p, size, &ok24, superSubscript);
    if (pins == 24 || (len24 > 0 && ok24))
        return len24;
    const qsizetype len9 = downloadForm9(p, size, &ok9);
    return len9 > 0 && ok9 ? len9 : len24;
}

int downloadForm(const uchar *p, qsizetype size, bool superSubscript)
{
    if (size < 5 || p[4] < p[3])
        return 0;
    bool ok9 = false, ok24 = false;
    const bool nine = downloadForm9(p, size, &ok9) > 0 && ok9;
    const bool twentyFour = downloadForm24(p, size, &ok24, superSubscript) > 0 && ok24;
    return nine == twentyFour ? 0 : nine ? 9 : 24;
}

qsizetype remoteModeLength(const uchar *data, qsizetype size)
{
    qsizetype p = 0;
    while (p + 4 <= size) {
        if (data[p] == ESC && data[p + 1] == 0 && data[p + 2] == 0 && data[p + 3] == 0)
            return p + 4;
        // Two letters, nL nH, then the data.
        const qsizetype n = data[p + 2] + 256 * qsizetype(data[p + 3]);
        p += 4 + n;
    }
    return -1;
}

} // namespace Escp
