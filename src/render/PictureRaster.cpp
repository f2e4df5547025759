#include "render/PictureRaster.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

// The pixels [first, last) one dot covers along an axis, from its edges.
struct Span
{
    qint64 first;
    qint64 last;
};

// A pixel coordinate, kept to what the arithmetic below holds.
qint64 pixel(double v)
{
    return qint64(qBound(-1e12, std::floor(v), 1e12));
}

Span spanOf(double from, double to)
{
    const qint64 first = pixel(from + 0.5);
    const qint64 last = pixel(to + 0.5);
    if (last > first)
        return {first, last};
    const qint64 centre = pixel((from + to) / 2);
    return {centre, centre + 1};
}

// The edges of dot i along an axis: the picture starts at `start` units
// and each dot is `pitch` units; `origin` and `scale` make pixels.
Span dotSpan(double origin, double scale, double start, double pitch, qint64 i)
{
    return spanOf(
        origin + (start + double(i) * pitch) * scale, origin + (start + double(i + 1) * pitch) * scale);
}

// Caps a pixel coordinate to what a QRect holds.
int capped(qint64 v)
{
    return int(qBound<qint64>(-(qint64(1) << 29), v, qint64(1) << 29));
}

inline void setBits(uchar *line, qint64 first, qint64 last)
{
    for (qint64 x = first; x < last; ++x)
        line[x >> 3] |= uchar(0x80 >> (x & 7));
}

// The pixels one picture can ink: [left, right) by [top, bottom).
struct Box
{
    qint64 left, top, right, bottom;
};

Box boxOf(const Printed::Picture &p, QPointF origin, double scaleX, double scaleY)
{
    const double pitchX = double(Printed::UnitsPerInch) / p.dpiX;
    const double pitchY = double(Printed::UnitsPerInch) / p.dpiY;
    const Span first = dotSpan(origin.x(), scaleX, p.x, pitchX, p.column);
    const Span last = dotSpan(origin.x(), scaleX, p.x, pitchX, qint64(p.column) + p.image.width() - 1);
    const Span upper = dotSpan(origin.y(), scaleY, p.top, pitchY, p.row);
    const Span lower = dotSpan(origin.y(), scaleY, p.top, pitchY, qint64(p.row) + p.image.height() - 1);
    return {first.first, upper.first, last.last, lower.last};
}

// The first byte of line[k, bytes) that is not `same` (all blank or all
// ink), or `bytes`: eight bytes at a time, as a sparse or solid picture's
// rows are mostly such bytes.
int skipping(const uchar *line, int k, int bytes, uchar same)
{
    const quint64 word = same ? ~quint64(0) : quint64(0);
    for (quint64 eight; k + 8 <= bytes; k += 8) {
        std::memcpy(&eight, line + k, sizeof eight);
        if (eight != word)
            break;
    }
    while (k < bytes && line[k] == same)
        ++k;
    return k;
}

bool drawable(const Printed::Picture &p)
{
    return !p.image.isNull() && p.dpiX > 0 && p.dpiY > 0;
}

} // namespace

namespace PictureRaster {

QRect bounds(const QVector<Printed::Picture> &pictures, QPointF origin, double scaleX, double scaleY)
{
    Box all {0, 0, 0, 0};
    bool any = false;
    for (const Printed::Picture &p : pictures) {
        if (!drawable(p))
            continue;
        const Box b = boxOf(p, origin, scaleX, scaleY);
        if (!any) {
            all = b;
            any = true;
        } else {
            all.left = qMin(all.left, b.left), all.right = qMax(all.right, b.right);
            all.top = qMin(all.top, b.top), all.bottom = qMax(all.bottom, b.bottom);
        }
    }
    if (!any)
        return QRect();
    return QRect(
        QPoint(capped(all.left), capped(all.top)), QPoint(capped(all.right - 1), capped(all.bottom - 1)));
}

QImage dots(const QVector<Printed::Picture> &pictures, QPointF origin, double scaleX, double scaleY,
    const QRect &area, std::vector<RowInk> *inked)
{
    if (area.isEmpty())
        return QImage();
    QImage out(area.size(), QImage::Format_Mono);
    if (out.isNull())
        return out;
    out.setColorTable({qRgba(0, 0, 0, 0), qRgb(0, 0, 0)});
    out.fill(0);
    std::vector<RowInk> rows;
    drawDots(
        out.bits(), int(out.bytesPerLine()), pictures, origin, scaleX, scaleY, area, inked ? *inked : rows);
    return out;
}

int maskBytesPerLine(int width)
{
    return (width + 31) / 32 * 4;
}

void drawDots(uchar *bits, int bytesPerLine, const QVector<Printed::Picture> &pictures, QPointF origin,
    double scaleX, double scaleY, const QRect &area, std::vector<RowInk> &inked)
{
    inked.assign(size_t(qMax(0, area.height())), RowInk {bytesPerLine, 0});
    if (area.isEmpty())
        return;
    const qint64 areaLeft = area.left(), areaTop = area.top();
    const qint64 areaRight = qint64(area.right()) + 1, areaBottom = qint64(area.bottom()) + 1;
    std::vector<Span> columns;
    std::vector<uchar> row(static_cast<size_t>(bytesPerLine));
    for (const Printed::Picture &p : pictures) {
        if (!drawable(p))
            continue;
        const Box box = boxOf(p, origin, scaleX, scaleY);
        if (box.right <= areaLeft || box.left >= areaRight || box.bottom <= areaTop || box.top >= areaBottom)
            continue;
        const double pitchX = double(Printed::UnitsPerInch) / p.dpiX;
        const double pitchY = double(Printed::UnitsPerInch) / p.dpiY;
        // Each dot column's pixels, inside the area.
        const int width = p.image.width();
        columns.resize(size_t(width));
        qint64 low = areaRight - areaLeft, high = 0; // in the area's own pixels
        for (int i = 0; i < width; ++i) {
            const Span s = dotSpan(origin.x(), scaleX, p.x, pitchX, qint64(p.column) + i);
            Span &c = columns[size_t(i)];
            c.first = qMax(s.first, areaLeft) - areaLeft;
            c.last = qMin(s.last, areaRight) - areaLeft;
            if (c.last > c.first)
                low = qMin(low, c.first), high = qMax(high, c.last);
        }
        if (high <= low)
            continue;
        const qint64 lowByte = low >> 3, highByte = (high + 7) >> 3;
        for (int j = 0; j < p.image.height(); ++j) {
            const Span s = dotSpan(origin.y(), scaleY, p.top, pitchY, qint64(p.row) + j);
            const qint64 first = qMax(s.first, areaTop) - areaTop;
            const qint64 last = qMin(s.last, areaBottom) - areaTop;
            if (last <= first)
                continue;
            std::fill(row.begin() + lowByte, row.begin() + highByte, uchar(0));
            const uchar *line = p.image.constScanLine(j);
            bool any = false;
            for (int k = 0; k < (width + 7) / 8; ++k) {
                if (!line[k])
                    continue;
                for (int b = 0; b < 8; ++b) {
                    const int i = k * 8 + b;
                    if (i < width && (line[k] & (0x80 >> b))
                        && columns[size_t(i)].last > columns[size_t(i)].first) {
                        setBits(row.data(), columns[size_t(i)].first, columns[size_t(i)].last);
                        any = true;
                    }
                }
            }
            if (!any)
                continue;
            for (qint64 y = first; y < last; ++y) {
                uchar *target = bits + y * bytesPerLine;
                for (qint64 k = lowByte; k < highByte; ++k)
                    target[k] |= row[size_t(k)];
                RowInk &ink = inked[size_t(y)];
                ink.first = qMin(ink.first, int(lowByte));
                ink.last = qMax(ink.last, int(highByte));
            }
        }
    }
}

void clearDots(uchar *bits, int bytesPerLine, const std::vector<RowInk> &inked)
{
    for (size_t y = 0; y < inked.size(); ++y) {
        if (inked[y].last > inked[y].first)
            std::memset(bits + qsizetype(y) * bytesPerLine + inked[y].first, 0,
                size_t(inked[y].last - inked[y].first));
    }
}

bool addRectangles(
    const QImage &mask, QPoint at, QVector<QRect> &rectangles, const std::vector<RowInk> *inked, qsizetype most)
{
    // The runs of the row above, left to right, each with its rectangle; a
    // run of this row that has the same ends grows that rectangle down. Both
    // rows' runs come in order, so they are matched in one walk.
    struct Run
    {
        int start, end;
        qsizetype rectangle;
    };
    std::vector<Run> above, here;
    const int width = mask.width();
    const int allBytes = (width + 7) / 8;
    for (int y = 0; y < mask.height(); ++y) {
        const uchar *line = mask.constScanLine(y);
        here.clear();
        size_t match = 0;
        int x = 0;
        int bytes = allBytes;
        if (inked && size_t(y) < inked->size()) {
            x = qMax(0, (*inked)[size_t(y)].first) * 8;
            bytes = qMin(allBytes, (*inked)[size_t(y)].last);
        }
        // Past the row's last byte that can hold ink, all is blank.
        const int end = qMin(width, bytes * 8);
        // A byte at a time: blank bytes are passed by whole, and a run's ends
        // are found by the leading bits of the byte they lie in.
        while (x < end) {
            int k = x >> 3;
            uchar ink = uchar(line[k] & (0xFF >> (x & 7)));
            if (!ink) {
                k = skipping(line, k + 1, bytes, 0x00);
                if (k >= bytes)
                    break;
                ink = line[k];
            }
            const int start = (k << 3) + __builtin_clz(unsigned(ink)) - 24;
            if (start >= end)
                break;
            uchar blank = uchar(~line[k] & (0xFF >> (start & 7)));
            if (!blank) {
                k = skipping(line, k + 1, bytes, 0xFF);
                blank = k < bytes ? uchar(~line[k]) : uchar(0);
            }
            x = blank ? qMin(end, (k << 3) + __builtin_clz(unsigned(blank)) - 24) : end;
            while (match < above.size() && above[match].start < start)
                ++match;
            if (match < above.size() && above[match].start == start && above[match].end == x) {
                rectangles[above[match].rectangle].setBottom(at.y() + y);
                here.push_back(above[match]);
            } else {
                if (rectangles.size() >= most)
                    return false;
                rectangles.append(QRect(at.x() + start, at.y() + y, x - start, 1));
                here.push_back({start, x, rectangles.size() - 1});
            }
        }
        above.swap(here);
    }
    return true;
}

} // namespace PictureRaster
