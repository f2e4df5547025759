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

// Cuts rows of packed dots (top dot row first; row(y, &bytes) gives a
// row's bytes, dot 0 in the top bit of the first) into the inked boxes of
// their tiles.
template<typename Rows>
std::vector<DotPiece> tiles(int width, int height, Rows row)
{
    std::vector<DotPiece> pieces;
    for (int top = 0; top < height; top += TileDotsDown) {
        const int bottom = qMin(height, top + TileDotsDown);
        for (int left = 0; left < width; left += TileDotsAcross) {
            const int right = qMin(width, left + TileDotsAcross); // past the tile
            int x0 = right, x1 = -1, y0 = bottom, y1 = -1;
            for (int y = top; y < bottom; ++y) {
                qsizetype bytes = 0;
                const uchar *line = row(y, &bytes);
                const qsizetype first = left / 8;
                const qsizetype last = qMin<qsizetype>(bytes, (right + 7) / 8); // past the tile's bytes
                qsizetype k = first;
                while (k < last && !line[k])
                    ++k;
                if (k >= last) // a blank row, or one that ends before the tile
                    continue;
                qsizetype m = last - 1;
                while (!line[m])
                    --m;
                // The first and last dot set in the row, within the tile.
                const int a = int(k * 8) + __builtin_clz(unsigned(line[k])) - 24;
                int b = int(m * 8) + 7 - __builtin_ctz(unsigned(line[m]));
                if (a >= right)
                    continue; // only the padding after the last dot
                if (b >= right) { // padding bits set: the last real dot
                    for (b = right - 1; !(line[b / 8] & (0x80 >> (b & 7))); --b) { }
                }
                x0 = qMin(x0, a), x1 = qMax(x1, b);
                y0 = qMin(y0, y), y1 = qMax(y1, y);
            }
            if (x1 < 0)
                continue;
            DotPiece piece;
            piece.column = x0;
            piece.row = y0;
            piece.image = blank(x1 - x0 + 1, y1 - y0 + 1);
            if (piece.image.isNull())
                continue;
            // Each row shifted to begin at x0, a byte at a time.
            const int shift = x0 & 7;
            const qsizetype from = x0 / 8;
            const qsizetype out = (x1 - x0) / 8 + 1;
            for (int y = y0; y <= y1; ++y) {
                qsizetype bytes = 0;
                const uchar *line = row(y, &bytes);
                uchar *target = piece.image.scanLine(y - y0);
                for (qsizetype i = 0; i < out; ++i) {
                    const uchar hi = from + i < bytes ? line[from + i] : 0;
                    const uchar lo = shift && from + i + 1 < bytes ? line[from + i + 1] : 0;
                    target[i] = shift ? uchar((hi << shift) | (lo >> (8 - shift))) : hi;
                }
                // Dots past x1 belong to the next tile or to no dot at all.
                const int tail = (x1 - x0 + 1) & 7;
                if (tail)
                    target[out - 1] &= uchar(0xFF << (8 - tail));
            }
            pieces.push_back(std::move(piece));
        }
    }
    return pieces;
}

// The inked tiles of a whole image.
std::vector<DotPiece> tilesOf(const QImage &image)
{
    if (image.isNull())
        return {};
    const qsizetype bytes = (image.width() + 7) / 8;
    return tiles(image.width(), image.height(), [&image, bytes](int y, qsizetype *n) {
        *n = bytes;
        return image.constScanLine(y);
    });
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
    out.pieces = tiles(out.width, int(rows.size()), [&rows](int y, qsizetype *n) {
        *n = qsizetype(rows[size_t(y)].size());
        return rows[size_t(y)].data();
    });
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
            // The position goes on past the dots drawn: a row may come in
            // pieces, side by side, or with MOVX skipping white between.
            x = qMin<qsizetype>(x + 8 * qsizetype(bytes.size()), MostDotsAcross);
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
        case 3: // MOVY: down, and back to the left end, as CR
            y = qMin<qsizetype>(y + count, MostDotsDown);
            x = 0;
            break;
        default: // COLR and the rest: one colour is drawn
            break;
        }
    }
    return fromRows(rows, dpiX, dpiY, draw);
}

} // namespace

DotImage columnImage(const uchar *data, qsizetype available, qsizetype columns, int m, int pins, bool draw)
{
    DotImage out;
    const int perColumn = bytesPerColumn(m);
    out.dpiX = dotsPerInch(m);
    out.dpiY = perColumn == 1 ? (pins == 9 ? 72 : 60) : perColumn == 3 ? 180 : 360;
    if (!perColumn || !out.dpiX)
        return DotImage();
    const qsizetype have = qMin(columns, available / perColumn);
    out.width = int(qMin<qsizetype>(have, MostDotsAcross));
    if (!draw || out.width <= 0)
        return out;
    QImage image = blank(out.width, 8 * perColumn);
    if (image.isNull())
        return out;
    for (int c = 0; c < out.width; ++c) {
        for (int k = 0; k < perColumn; ++k) {
            if (const uchar b = data[qsizetype(c) * perColumn + k])
                column(image, c, 8 * k, b);
        }
    }
    out.pieces = tilesOf(image);
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
    QImage image = blank(out.width, 9);
    if (image.isNull())
        return out;
    for (int c = 0; c < out.width; ++c) {
        column(image, c, 0, data[2 * qsizetype(c)]);
        if (data[2 * qsizetype(c) + 1] & 0x80)
            dot(image, c, 8);
    }
    out.pieces = tilesOf(image);
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
    const qsizetype width = qMin<qsizetype>(Escp::word(command + 6), MostDotsAcross);
    const qsizetype rowBytes = (width + 7) / 8;
    const int height = command[5];
    DotImage out;
    out.dpiX = dpiX;
    out.dpiY = dpiY;
    out.width = int(width);
    if (!draw || width == 0 || height == 0)
        return out;
    std::vector<uchar> bytes;
    const qsizetype full = (Escp::word(command + 6) + 7) / 8 * height;
    if (compression == 1) {
        unpack(data, size, full, bytes);
    } else {
        bytes.assign(data, data + qMin(size, full));
    }
    // The rows as they lie in the data, cut to the dots drawn.
    const qsizetype fullRow = (Escp::word(command + 6) + 7) / 8;
    out.pieces = tiles(int(width), height, [&bytes, fullRow, rowBytes](int y, qsizetype *n) {
        const qsizetype at = y * fullRow;
        *n = qBound(qsizetype(0), qsizetype(bytes.size()) - at, rowBytes);
        return bytes.data() + qMin<qsizetype>(at, qsizetype(bytes.size()));
    });
    return out;
}

} // namespace Escp
