#include "escp/EscpPictures.h"

#include "escp/EscpCommands.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace Escp {

namespace {

// No picture grows past these, whatever the file says: a wide carriage at
// the finest density across, and a long form at the finest down.
constexpr int MostDotsAcross = 14 * 720;
constexpr int MostDotsDown = 22 * 720;

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_Mono);
    if (image.isNull())
        return image;
    image.setColorTable({0xFFFFFFFFu, 0xFF000000u});
    image.fill(0);
    return image;
}

inline void dot(QImage &image, int x, int y)
{
    image.scanLine(y)[x >> 3] |= uchar(0x80 >> (x & 7));
}

// Sets `bits` dots of `byte` (top one first) down from row `top` in column x.
inline void column(QImage &image, int x, int top, uchar byte)
{
    for (int j = 0; j < 8; ++j) {
        if (byte & (0x80 >> j))
            dot(image, x, top + j);
    }
}

// Unpacks run-length (TIFF packbits) data into `out` up to `want` bytes; the
// bytes of `in` it used.
qsizetype unpack(const uchar *in, qsizetype size, qsizetype want, std::vector<uchar> &out)
{
    qsizetype p = 0;
    while (qsizetype(out.size()) < want && p < size) {
        const uchar counter = in[p++];
        if (counter < 128) {
            const qsizetype n = qMin<qsizetype>(counter + 1, size - p);
            out.insert(out.end(), in + p, in + p + n);
            p += n;
        } else if (p < size) {
            out.insert(out.end(), size_t(257 - counter), in[p++]);
        }
    }
    if (qsizetype(out.size()) > want)
        out.resize(size_t(want));
    return p;
}

// Writes packed row bytes at dot x of row y into a growing set of rows.
void place(std::vector<std::vector<uchar>> &rows, qsizetype y, qsizetype x, const std::vector<uchar> &bytes)
{
    if (y < 0 || y >= MostDotsDown || x < 0 || x >= MostDotsAcross)
        return;
    if (qsizetype(rows.size()) <= y)
        rows.resize(size_t(y + 1));
    std::vector<uchar> &row = rows[size_t(y)];
    const qsizetype need = qMin<qsizetype>((x + 8 * qsizetype(bytes.size()) + 7) / 8, MostDotsAcross / 8);
    if (qsizetype(row.size()) < need)
        row.resize(size_t(need));
    const int shift = int(x & 7);
    qsizetype at = x / 8;
    for (uchar b : bytes) {
        if (at >= need)
            break;
        row[size_t(at)] |= uchar(b >> shift);
        if (shift && at + 1 < need)
            row[size_t(at + 1)] |= uchar(b << (8 - shift));
        ++at;
    }
}

DotImage fromRows(const std::vector<std::vector<uchar>> &rows, int dpiX, int dpiY, bool draw)
{
    DotImage out;
    out.dpiX = dpiX;
    out.dpiY = dpiY;
    size_t widest = 0;
    for (const auto &row : rows)
        widest = std::max(widest, row.size());
    out.width = int(widest * 8);
    if (!draw || widest == 0 || rows.empty())
        return out;
    out.image = blank(out.width, int(rows.size()));
    if (out.image.isNull())
        return out;
    for (size_t y = 0; y < rows.size(); ++y) {
        if (!rows[y].empty())
            std::memcpy(out.image.scanLine(int(y)), rows[y].data(), rows[y].size());
    }
    return out;
}

// ESC . 2: the binary commands of the compressed mode, up to EXIT.
DotImage tiffImage(const uchar *data, qsizetype size, int dpiX, int dpiY, bool draw)
{
    std::vector<std::vector<uchar>> rows;
    std::vector<uchar> bytes;
    qsizetype x = 0;
    qsizetype y = 0;
    int xUnit = 1; // MOVX counts dots until MOVXBYTE
    qsizetype p = 0;
    while (p < size) {
        const uchar b = data[p++];
        const int group = b >> 5;
        if (group == 7) {
            if (b == 0xE2)
                x = 0;
            else if (b == 0xE3)
                break;
            else if (b == 0xE4)
                xUnit = 8;
            else if (b == 0xE5)
                xUnit = 1;
            continue;
        }
        if (group == 0)
            continue;
        qsizetype count = b & 0x0F;
        if (b & 0x10) {
            const int n = int(count);
            count = 0;
            for (int i = n - 1; i >= 0; --i)
                count = qMin<qsizetype>(count * 256 + (p + i < size ? data[p + i] : 0), qsizetype(1) << 40);
            p += n;
        }
        switch (group) {
        case 1: { // XFER: packed data for the row at (x, y)
            const qsizetype n = qMin(count, size - p);
            bytes.clear();
            if (n > 0)
                unpack(data + p, n, MostDotsAcross / 8, bytes);
            place(rows, y, x, bytes);
            p += n;
            break;
        }
        case 2: { // MOVX: relative, signed
            // Two's complement in 4 bits, or in the bytes that follow (at
            // most 4 of them count).
            const int bits = (b & 0x10) ? qMin(8 * (b & 0x0F), 32) : 4;
            qsizetype move = bits > 0 ? count & ((qsizetype(1) << bits) - 1) : 0;
            if (bits > 0 && move >= (qsizetype(1) << (bits - 1)))
                move -= qsizetype(1) << bits;
            x = qBound<qsizetype>(0, x + move * xUnit, qsizetype(MostDotsAcross));
            break;
        }
        case 3: // MOVY: down
            y = qMin<qsizetype>(y + count, MostDotsDown);
            break;
        default: // COLR and the rest: one colour is drawn
            break;
        }
    }
    return fromRows(rows, dpiX, dpiY, draw);
}

} // namespace

DotImage columnImage(const uchar *data, qsizetype available, qsizetype columns, int m, bool draw)
{
    DotImage out;
    const int perColumn = bytesPerColumn(m);
    out.dpiX = dotsPerInch(m);
    out.dpiY = perColumn == 1 ? 72 : perColumn == 3 ? 180 : 360;
    if (!perColumn || !out.dpiX)
        return DotImage();
    const qsizetype have = qMin(columns, available / perColumn);
    out.width = int(qMin<qsizetype>(have, MostDotsAcross));
    if (!draw || out.width <= 0)
        return out;
    out.image = blank(out.width, 8 * perColumn);
    if (out.image.isNull())
        return out;
    for (int c = 0; c < out.width; ++c) {
        for (int k = 0; k < perColumn; ++k) {
            if (const uchar b = data[qsizetype(c) * perColumn + k])
                column(out.image, c, 8 * k, b);
        }
    }
    return out;
}

DotImage ninePinImage(const uchar *data, qsizetype available, qsizetype columns, int m, bool draw)
{
    DotImage out;
    out.dpiX = m ? 120 : 60;
    out.dpiY = 72;
    const qsizetype have = qMin(columns, available / 2);
    out.width = int(qMin<qsizetype>(have, MostDotsAcross));
    if (!draw || out.width <= 0)
        return out;
    out.image = blank(out.width, 9);
    if (out.image.isNull())
        return out;
    for (int c = 0; c < out.width; ++c) {
        column(out.image, c, 0, data[2 * qsizetype(c)]);
        if (data[2 * qsizetype(c) + 1] & 0x80)
            dot(out.image, c, 8);
    }
    return out;
}

DotImage rasterImage(const uchar *command, qsizetype length, bool draw)
{
    if (length < 8)
        return DotImage();
    const uchar compression = command[2];
    const uchar v = command[3];
    const uchar h = command[4];
    if (v == 0 || h == 0 || 3600 / v > 1440 || 3600 / h > 1440)
        return DotImage();
    const int dpiX = 3600 / h;
    const int dpiY = 3600 / v;
    const uchar *data = command + 8;
    const qsizetype size = length - 8;
    if (compression == 2)
        return tiffImage(data, size, dpiX, dpiY, draw);
    if (compression > 1)
        return DotImage(); // a compression the printer does not know
    const qsizetype width = qMin<qsizetype>(command[6] + 256 * qsizetype(command[7]), MostDotsAcross);
    const qsizetype rowBytes = (width + 7) / 8;
    const int height = command[5];
    DotImage out;
    out.dpiX = dpiX;
    out.dpiY = dpiY;
    out.width = int(width);
    if (!draw || width == 0 || height == 0)
        return out;
    std::vector<uchar> bytes;
    const qsizetype full = (command[6] + 256 * qsizetype(command[7]) + 7) / 8 * height;
    if (compression == 1) {
        unpack(data, size, full, bytes);
    } else {
        bytes.assign(data, data + qMin(size, full));
    }
    out.image = blank(int(width), height);
    if (out.image.isNull())
        return out;
    const qsizetype fullRow = (command[6] + 256 * qsizetype(command[7]) + 7) / 8;
    for (int y = 0; y < height; ++y) {
        const qsizetype at = y * fullRow;
        if (at >= qsizetype(bytes.size()))
            break;
        std::memcpy(out.image.scanLine(y), bytes.data() + at, size_t(qMin(rowBytes, qsizetype(bytes.size()) - at)));
    }
    return out;
}

} // namespace Escp
