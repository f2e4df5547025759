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
                count = count * 256 + data[p + i];
            p += bytes;
        }
        if (group == 1) // XFER: the count is the packed data that follows
            p += count;
    }
    return -1;
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
