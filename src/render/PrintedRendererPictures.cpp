// The printed look's pictures: the dots of a sheet's pictures on pixels (in
// bands), as rectangles for a PDF or a printer, or as images where the
// rectangles would be too many.
#include "render/PrintedRenderer.h"

#include "render/PictureRaster.h"

#include <QPainter>

#include <climits>
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
