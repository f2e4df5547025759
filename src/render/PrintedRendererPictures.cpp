// The printed look's pictures: the dots of a sheet's pictures on pixels (in
// bands), as rectangles for a PDF or a printer, or as images where the
// rectangles would be too many.
#include "render/PrintedRenderer.h"

#include "render/PictureRaster.h"

#include <QPainter>

#include <climits>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace {

// Pixels of picture dots drawn at a time: bands of this many bytes of mask.
constexpr qint64 BandBytes = qint64(4) << 20;

// The most rectangles a sheet's pictures become in a PDF or for a printer.
// Beyond them (a dithered or checkered picture at a fine resolution: half a
// megabyte of print file made half a gigabyte of PDF) the dots go as images
// instead, in bands of at most this many dots: Qt widens an image with
// transparent blanks to 32 bits a dot before it writes it.
constexpr qsizetype MostShapes = qsizetype(1) << 20;
constexpr qint64 MostImageDots = qint64(8) << 20;

qint64 gcd(qint64 a, qint64 b)
{
    while (b) {
        const qint64 t = a % b;
        a = b;
        b = t;
    }
    return a < 0 ? -a : a;
}

// The grid a vector output takes the pictures' dots on, in units a cell:
// the coarsest on which every dot's edges fall (so interleaved strips keep
// their places), but no finer than 720 cells an inch.
std::pair<int, int> gridOf(const QVector<Printed::Picture> &pictures)
{
    qint64 across = 0, down = 0;
    for (const Printed::Picture &p : pictures) {
        if (p.dpiX <= 0 || p.dpiY <= 0)
            continue;
        across = gcd(across, Printed::UnitsPerInch % p.dpiX ? 1 : Printed::UnitsPerInch / p.dpiX);
        across = gcd(across, p.x);
        down = gcd(down, Printed::UnitsPerInch % p.dpiY ? 1 : Printed::UnitsPerInch / p.dpiY);
        down = gcd(down, p.top);
    }
    const int finest = Printed::UnitsPerInch / 720;
    return {int(qMax<qint64>(finest, across)), int(qMax<qint64>(finest, down))};
}

// A sheet's pictures by the colours they are struck in. All of one colour
// (black, as most are) they are one mask in that colour's ink. Of several,
// each band of the ribbon gets the pictures that strike it, and each pixel
// takes the ink of the bands struck on it: a band printed once in each
// colour, with the carriage returned between (as colour drivers print), is
// the colours laid over each other, not the last one hiding the others.
struct Inks
{
    explicit Inks(const QVector<Printed::Picture> &pictures)
        : all(pictures)
    {
        for (const Printed::Picture &p : pictures) {
            if (p.color != pictures.first().color)
                mixed = true;
        }
        color = pictures.isEmpty() ? 0 : pictures.first().color;
        if (!mixed)
            return;
        for (const Printed::Picture &p : pictures) {
            const int bands = PrintedRenderer::bandsOf(p.color);
            for (int b = 0; b < 4; ++b) {
                if (bands & (1 << b))
                    byBand[b].append(p);
            }
        }
    }
    // The masks made for one band of rows: the bands struck and a layer.
    int masks() const
    {
        int n = 1;
        for (const QVector<Printed::Picture> &band : byBand)
            n += band.isEmpty() ? 0 : 1;
        return n;
    }

    const QVector<Printed::Picture> &all;
    bool mixed = false;
    quint8 color = 0;                       // the colour of all, when not mixed
    QVector<Printed::Picture> byBand[4];   // when mixed: black, magenta, cyan, yellow (InkBand's bits)
};

// A mask's colours: the ink for its dots, the blanks the same ink but
// transparent. (A PDF keeps an image's colours apart from its transparency:
// a viewer that smooths the two on their own would mix the blanks' colour
// into the dots at their edges, darkening a coloured ink if it were black.)
QVector<QRgb> maskColours(const QColor &ink)
{
    return {ink.rgb() & 0x00FFFFFFu, ink.rgb()};
}

// Hands `draw` the dots of `area` (the pictures rastered with `at` and the
// scales, PictureRaster::dots) as masks whose ink is the mask's colour for
// 1, with the bands it stands for: one mask of all when the pictures are of
// one colour, else one for each set of bands struck on some pixel, no pixel
// in two. False when a mask could not be made.
template<typename Draw>
bool drawLayers(const Inks &inks, QPointF at, double scaleX, double scaleY, const QRect &area, Draw draw)
{
    if (!inks.mixed) {
        QImage mask = PictureRaster::dots(inks.all, at, scaleX, scaleY, area);
        if (mask.isNull())
            return false;
        if (inks.color)
            mask.setColorTable(maskColours(PrintedRenderer::inkOf(inks.color)));
        draw(PrintedRenderer::bandsOf(inks.color), mask);
        return true;
    }
    QImage bands[4];
    std::vector<PictureRaster::RowInk> inked[4];
    std::vector<PictureRaster::RowInk> rows(size_t(qMax(0, area.height())), PictureRaster::RowInk {INT_MAX, 0});
    int struck = 0;
    for (int b = 0; b < 4; ++b) {
        if (inks.byBand[b].isEmpty())
            continue;
        bands[b] = PictureRaster::dots(inks.byBand[b], at, scaleX, scaleY, area, &inked[b]);
        if (bands[b].isNull())
            return false;
        struck |= 1 << b;
        for (size_t y = 0; y < rows.size() && y < inked[b].size(); ++y) {
            rows[y].first = qMin(rows[y].first, inked[b][y].first);
            rows[y].last = qMax(rows[y].last, inked[b][y].last);
        }
    }
    for (int set = 1; set < 16; ++set) {
        // Black covers the colours struck with it: black alone, or colours.
        if ((set & struck) != set || (set != PrintedRenderer::BlackBand && (set & PrintedRenderer::BlackBand)))
            continue;
        QImage layer(area.size(), QImage::Format_Mono);
        if (layer.isNull())
            return false;
        layer.setColorTable(maskColours(PrintedRenderer::inkOfBands(set)));
        layer.fill(0);
        bool any = false;
        for (int y = 0; y < area.height(); ++y) {
            const PictureRaster::RowInk span = rows[size_t(y)];
            if (span.last <= span.first)
                continue;
            const uchar *lines[4] = {};
            for (int b = 0; b < 4; ++b)
                lines[b] = bands[b].isNull() ? nullptr : bands[b].constScanLine(y);
            uchar *out = layer.scanLine(y);
            for (int k = span.first; k < span.last; ++k) {
                uchar ink = 0xFF;
                if (set == PrintedRenderer::BlackBand) {
                    ink = lines[0][k];
                } else {
                    // Set bands inked, the others blank; padding bits stay
                    // blank, as a set holds at least one band.
                    for (int b = 0; b < 4; ++b) {
                        if (lines[b])
                            ink &= (set & (1 << b)) ? lines[b][k] : uchar(~lines[b][k]);
                    }
                }
                out[k] = ink;
                any = any || ink;
            }
        }
        if (any)
            draw(set, layer);
    }
    return true;
}

// Makes the dots of `area` (the pictures rastered with `at` and the scales,
// PictureRaster::dots) `rows` rows at a time and hands each band's masks to
// `draw`, unsmoothed: one picture of the whole area could be far larger than
// any band.
template<typename Draw>
void drawInBands(QPainter &painter, const Inks &inks, QPointF at, double scaleX, double scaleY, const QRect &area,
    int rows, Draw draw)
{
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (int top = area.top(); top <= area.bottom(); top += rows) {
        const QRect band(area.left(), top, area.width(), qMin(rows, area.bottom() + 1 - top));
        if (!drawLayers(inks, at, scaleX, scaleY, band, [&](int, QImage &mask) { draw(band, mask); }))
            break;
    }
    painter.restore();
}

// The cells of the grid (cells of `size` pixels, the first at `origin`)
// whose centres lie in pixel p, or the one under the pixel's centre when
// none does (cells larger than pixels): the dots a pixel shows, as
// PictureRaster inks it.
std::pair<int, int> cellsOfPixel(int p, double origin, double size)
{
    const int first = int(std::ceil((p - origin) / size - 0.5));
    const int end = int(std::ceil((p + 1 - origin) / size - 0.5));
    if (end > first)
        return {first, end};
    const int under = int(std::floor((p + 0.5 - origin) / size));
    return {under, under + 1};
}

// Pictures of several inks on pixels coarser than their dots: a pixel
// inked as PictureRaster inks it takes the mean of the inks of the dots it
// shows. Laid over each other instead, cyan dots beside yellow ones came out
// as solid green, and a dithered colour much darker than it prints.
void drawMixedOnCoarsePixels(QPainter &painter, const QVector<Printed::Picture> &pictures, const Inks &inks,
    QPointF at, double scaleX, double scaleY, const QRect &area, double ratio)
{
    const auto [cellX, cellY] = gridOf(pictures);
    const double sizeX = scaleX * cellX, sizeY = scaleY * cellY; // pixels a cell
    const QRect all = PictureRaster::bounds(pictures, QPointF(0, 0), 1.0 / cellX, 1.0 / cellY);
    const int left = qMax(all.left(), cellsOfPixel(area.left(), at.x(), sizeX).first);
    const int right = qMin(all.right() + 1, cellsOfPixel(area.right(), at.x(), sizeX).second);
    if (right <= left)
        return;
    std::vector<std::pair<int, int>> columns(size_t(area.width())); // each pixel's cells, from `left`
    for (int x = 0; x < area.width(); ++x) {
        const auto [first, end] = cellsOfPixel(area.left() + x, at.x(), sizeX);
        columns[size_t(x)] = {qMax(first, left) - left, qMin(end, right) - left};
    }
    QRgb inkOfSet[16] = {};
    for (int set = 1; set < 16; ++set)
        inkOfSet[set] = PrintedRenderer::inkOfBands(set).rgb();
    // A band's cells and pixels each within MostImageDots.
    const double cellRows = 1.0 / sizeY + 1;
    const qint64 fits = qMin<qint64>(qint64(double(MostImageDots) / (right - left) / cellRows), MostImageDots / area.width());
    const int rows = int(qBound<qint64>(1, fits, qint64(area.height())));
    for (int top = area.top(); top <= area.bottom(); top += rows) {
        const int bottom = qMin(top + rows, area.bottom() + 1);
        const int cellTop = qMax(all.top(), cellsOfPixel(top, at.y(), sizeY).first);
        const int cellEnd = qMin(all.bottom() + 1, cellsOfPixel(bottom - 1, at.y(), sizeY).second);
        if (cellEnd <= cellTop)
            continue;
        const QRect cells(left, cellTop, right - left, cellEnd - cellTop);
        std::vector<uchar> setOf(size_t(cells.width()) * size_t(cells.height()), 0);
        const bool made = drawLayers(inks, QPointF(0, 0), 1.0 / cellX, 1.0 / cellY, cells, [&](int set, QImage &mask) {
            for (int y = 0; y < mask.height(); ++y) {
                const uchar *line = mask.constScanLine(y);
                uchar *out = setOf.data() + size_t(y) * size_t(cells.width());
                for (int x = 0; x < cells.width(); ++x) {
                    if (line[x >> 3] & (0x80 >> (x & 7)))
                        out[x] = uchar(set);
                }
            }
        });
        QImage band(area.width(), bottom - top, QImage::Format_ARGB32_Premultiplied);
        if (!made || band.isNull())
            return;
        band.fill(Qt::transparent);
        bool any = false;
        for (int y = top; y < bottom; ++y) {
            const auto [first, end] = cellsOfPixel(y, at.y(), sizeY);
            const int rowFirst = qMax(first, cellTop) - cellTop, rowEnd = qMin(end, cellEnd) - cellTop;
            QRgb *out = reinterpret_cast<QRgb *>(band.scanLine(y - top));
            for (int x = 0; x < area.width(); ++x) {
                qint64 n = 0, red = 0, green = 0, blue = 0;
                for (int r = rowFirst; r < rowEnd; ++r) {
                    const uchar *row = setOf.data() + size_t(r) * size_t(cells.width());
                    for (int c = columns[size_t(x)].first; c < columns[size_t(x)].second; ++c) {
                        if (!row[c])
                            continue;
                        const QRgb ink = inkOfSet[row[c]];
                        red += qRed(ink);
                        green += qGreen(ink);
                        blue += qBlue(ink);
                        ++n;
                    }
                }
                if (n) {
                    out[x] = qRgb(int(red / n), int(green / n), int(blue / n));
                    any = true;
                }
            }
        }
        if (any) {
            band.setDevicePixelRatio(ratio);
            painter.drawImage(QPointF(area.left() / ratio, top / ratio), band);
        }
    }
}

} // namespace

void PrintedRenderer::drawPicturesOnPixels(QPainter &painter, const QVector<Printed::Picture> &pictures,
    QPointF origin, double scale, const QRectF &exposed)
{
    // The painter's own scale and the device's pixel ratio: the dots are
    // laid on the device's real pixels.
    const QTransform toDevice = painter.combinedTransform();
    const double ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const QPointF at = toDevice.map(origin) * ratio;
    const double scaleX = scale * toDevice.m11() * ratio;
    const double scaleY = scale * toDevice.m22() * ratio;
    QRect area = PictureRaster::bounds(pictures, at, scaleX, scaleY);
    if (painter.device())
        area &= QRect(0, 0, int(painter.device()->width() * ratio), int(painter.device()->height() * ratio));
    if (!exposed.isEmpty())
        area &= QRectF(toDevice.mapRect(exposed).topLeft() * ratio, toDevice.mapRect(exposed).size() * ratio)
                    .toAlignedRect();
    if (painter.hasClipping()) {
        const QRectF clip = toDevice.mapRect(painter.clipBoundingRect());
        area &= QRectF(clip.topLeft() * ratio, clip.size() * ratio).toAlignedRect();
    }
    if (area.isEmpty())
        return;
    painter.save();
    painter.setWorldTransform(QTransform());
    painter.setViewTransformEnabled(false);
    const Inks inks(pictures);
    const auto [cellX, cellY] = gridOf(pictures);
    if (inks.mixed && (scaleX * cellX < 1 || scaleY * cellY < 1)) {
        drawMixedOnCoarsePixels(painter, pictures, inks, at, scaleX, scaleY, area, ratio);
        painter.restore();
        return;
    }
    const int rows = int(qMax<qint64>(1, BandBytes / inks.masks() / qMax(1, (area.width() + 7) / 8)));
    drawInBands(painter, inks, at, scaleX, scaleY, area, rows, [&](const QRect &band, QImage &mask) {
        mask.setDevicePixelRatio(ratio);
        painter.drawImage(QPointF(band.left() / ratio, band.top() / ratio), mask);
    });
    painter.restore();
}

void PrintedRenderer::drawPicturesAsShapes(
    QPainter &painter, const QVector<Printed::Picture> &pictures, QPointF origin, double scale)
{
    // The dots as rectangles filled in one go: a PDF or a printer gets the
    // ink alone (the blanks show what lies below) at any resolution, and
    // with one fill no seam can show between strips.
    const auto [cellX, cellY] = gridOf(pictures);
    const double toCellX = 1.0 / cellX, toCellY = 1.0 / cellY;
    const QRect area = PictureRaster::bounds(pictures, QPointF(0, 0), toCellX, toCellY);
    if (area.isEmpty())
        return;
    const Inks inks(pictures);
    if (inks.mixed) {
        drawMixedAsShapes(painter, pictures, origin, scale, area);
        return;
    }
    QVector<QRect> cells;
    std::vector<PictureRaster::RowInk> inked;
    // The bands' mask is kept blank between uses (only its inked bytes are
    // cleared), for the next band and the next sheet; one wider than a band
    // is not kept.
    const int bytesPerLine = PictureRaster::maskBytesPerLine(area.width());
    const int rows = int(qMax<qint64>(1, BandBytes / bytesPerLine));
    const size_t maskBytes = size_t(bytesPerLine) * size_t(qMin(rows, area.height()));
    std::vector<uchar> wide;
    std::vector<uchar> &bits = maskBytes <= size_t(BandBytes) ? m_maskBits : wide;
    try {
        if (bits.size() < maskBytes)
            bits.resize(maskBytes);
    } catch (const std::bad_alloc &) {
        return; // as a mask that could not be made: the sheet's budget keeps real ones far smaller
    }
    bool tooMany = false;
    for (int top = area.top(); top <= area.bottom(); top += rows) {
        const QRect band(area.left(), top, area.width(), qMin(rows, area.bottom() + 1 - top));
        try {
            PictureRaster::drawDots(
                bits.data(), bytesPerLine, pictures, QPointF(0, 0), toCellX, toCellY, band, inked);
            const QImage mask(bits.data(), band.width(), band.height(), bytesPerLine, QImage::Format_Mono);
            tooMany = !PictureRaster::addRectangles(mask, band.topLeft(), cells, &inked, MostShapes);
        } catch (...) {
            // Out of memory half-way: the kept mask is made blank all the
            // same, or the next sheet would show these dots.
            PictureRaster::clearDots(bits.data(), bytesPerLine, inked);
            throw;
        }
        PictureRaster::clearDots(bits.data(), bytesPerLine, inked);
        if (tooMany) {
            cells = QVector<QRect>();
            drawPicturesAsImage(painter, pictures, origin, scale, area);
            return;
        }
    }
    QVector<QRectF> shapes;
    shapes.reserve(cells.size());
    const double w = cellX * scale, h = cellY * scale;
    for (const QRect &c : cells)
        shapes.append(QRectF(origin.x() + c.x() * w, origin.y() + c.y() * h, c.width() * w, c.height() * h));
    painter.save();
    painter.setPen(Qt::NoPen);
    if (inks.color)
        painter.setBrush(inkOf(inks.color));
    else
        painter.setBrush(Qt::black);
    painter.drawRects(shapes.constData(), int(shapes.size()));
    painter.restore();
}

void PrintedRenderer::drawMixedAsShapes(
    QPainter &painter, const QVector<Printed::Picture> &pictures, QPointF origin, double scale, const QRect &area)
{
    // As drawPicturesAsShapes, a set of rectangles for each set of inks
    // struck, none overlapping another.
    const Inks inks(pictures);
    const auto [cellX, cellY] = gridOf(pictures);
    const double toCellX = 1.0 / cellX, toCellY = 1.0 / cellY;
    const int rows = int(qMax<qint64>(1, BandBytes / inks.masks() / PictureRaster::maskBytesPerLine(area.width())));
    std::map<int, QVector<QRect>> cells;
    qsizetype count = 0;
    for (int top = area.top(); top <= area.bottom(); top += rows) {
        const QRect band(area.left(), top, area.width(), qMin(rows, area.bottom() + 1 - top));
        bool tooMany = false;
        const bool made = drawLayers(inks, QPointF(0, 0), toCellX, toCellY, band, [&](int set, QImage &mask) {
            QVector<QRect> &those = cells[set];
            const qsizetype before = those.size();
            tooMany = tooMany
                || !PictureRaster::addRectangles(mask, band.topLeft(), those, nullptr, MostShapes - (count - before));
            count += those.size() - before;
        });
        if (!made)
            return;
        if (tooMany) {
            cells.clear();
            drawPicturesAsImage(painter, pictures, origin, scale, area);
            return;
        }
    }
    const double w = cellX * scale, h = cellY * scale;
    painter.save();
    painter.setPen(Qt::NoPen);
    for (const auto &[set, rectangles] : cells) {
        QVector<QRectF> shapes;
        shapes.reserve(rectangles.size());
        for (const QRect &c : rectangles)
            shapes.append(QRectF(origin.x() + c.x() * w, origin.y() + c.y() * h, c.width() * w, c.height() * h));
        painter.setBrush(inkOfBands(set));
        painter.drawRects(shapes.constData(), int(shapes.size()));
    }
    painter.restore();
}

void PrintedRenderer::drawPicturesAsImage(
    QPainter &painter, const QVector<Printed::Picture> &pictures, QPointF origin, double scale, const QRect &area)
{
    // One dot a pixel, blanks transparent, a band at a time.
    const auto [cellX, cellY] = gridOf(pictures);
    const double toCellX = 1.0 / cellX, toCellY = 1.0 / cellY;
    const Inks inks(pictures);
    const int rows = int(qBound<qint64>(1, MostImageDots / qMax(1, area.width()), qint64(area.height())));
    const double w = cellX * scale, h = cellY * scale;
    // An ink other than black kept exact: a PDF would hold it as a JPEG,
    // which shifts a colour (black stays black either way).
    painter.save();
    if (inks.mixed || inks.color)
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
    drawInBands(painter, inks, QPointF(0, 0), toCellX, toCellY, area, rows, [&](const QRect &band, QImage &mask) {
        painter.drawImage(
            QRectF(origin.x() + band.x() * w, origin.y() + band.y() * h, band.width() * w, band.height() * h), mask);
    });
    painter.restore();
}
