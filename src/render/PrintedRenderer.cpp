#include "render/PrintedRenderer.h"

#include "render/SheetText.h"

#include <QFont>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <new>
#include <utility>

namespace {

const QString Family = QStringLiteral("DejaVu Sans Mono");
// The faces: draft (ESC x 0) in a plain monospaced face; letter quality
// (ESC x 1) in a serif one of fixed pitch (Roman, Courier, Prestige, Script
// and the rest of ESC k: the printers' letter-quality faces have serifs),
// but Sans serif and Sans serif H (ESC k 1, 11) in a sans-serif face of
// fixed pitch (the draft's: a printer's sans serif is of fixed pitch too,
// finer dots aside), and OCR-B and OCR-A (ESC k 5, 6) in those very faces,
// which are standards. The cells stay the pitch's whichever face draws
// them. A proportional face set in fixed cells reads back from a PDF as
// letters spaced apart ("Hambu r g"), so every face is a monospaced one.
const QString Families[] = {Family, QStringLiteral("Liberation Mono"), QStringLiteral("OCR B"), QStringLiteral("OCRA")};
enum FaceFamily { Draft, Serif, OcrB, OcrA };

int familyOf(const Printed::TextStyle &style)
{
    if (!style.letterQuality)
        return Draft;
    switch (style.typeface) {
    case 1:
    case 11: return Draft; // Sans serif, Sans serif H
    case 5: return OcrB;
    case 6: return OcrA;
    default: return Serif;
    }
}

// ESC r: a colour ribbon has four bands, black, magenta, cyan and yellow;
// violet, orange and green are printed by striking two bands over each
// other, so their ink is the two bands' inks laid one on the other (each
// takes away its share of the light). The bands' own shades are our
// choice: no reference gives them.
constexpr QRgb Magenta = qRgb(0xE0, 0x30, 0x90);
constexpr QRgb Cyan = qRgb(0x20, 0xA0, 0xE0);
constexpr QRgb Yellow = qRgb(0xF8, 0xE0, 0x20);

QColor overprinted(QRgb a, QRgb b)
{
    return QColor(qRed(a) * qRed(b) / 255, qGreen(a) * qGreen(b) / 255, qBlue(a) * qBlue(b) / 255);
}


// A printer dot row: the thickness of an underline (1/72 in).
constexpr Printed::Unit DotRow = Printed::UnitsPerInch / 72;

QFont faceFont(bool bold, bool oblique, const QString &family = Family)
{
    QFont font(family);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setStyleStrategy(QFont::NoFontMerging);
    font.setBold(bold);
    font.setItalic(oblique);
    font.setPixelSize(100);
    return font;
}

// The vertical look of a run: the glyphs' size (the em, in units) and how
// far their baseline lies below the run's.
struct Vertical
{
    double em;
    double shift;
};

// A cell spans baseline - 2/3 to baseline + 1/3 of its height, the top being
// the top of the print head's line. The glyphs are nine tenths of the cell,
// so their capitals end at that top, where a picture on the same line begins.
Vertical verticalOf(const Printed::TextStyle &style)
{
    const double height = style.height > 0 ? style.height : Printed::UnitsPerInch / 6;
    const double em = height * 0.9;
    if (style.superscript) // in the upper two thirds of the cell
        return { em * 2 / 3, -height * 2 / 9 };
    if (style.subscript) // in the lower two thirds
        return { em * 2 / 3, height / 6 };
    // Double height prints the glyph twice as high from the same baseline
    // (the printer references: it grows up, into the line above; it had
    // grown down, through the line below and its underline).
    return { style.doubleHeight ? 2 * em : em, 0 };
}

} // namespace

int PrintedRenderer::bandsOf(quint8 color)
{
    switch (color) {
    case 1: return MagentaBand;
    case 2: return CyanBand;
    case 3: return MagentaBand | CyanBand; // violet
    case 4: return YellowBand;
    case 5: return YellowBand | MagentaBand; // orange
    case 6: return YellowBand | CyanBand; // green
    default: return BlackBand;
    }
}

QColor PrintedRenderer::inkOfBands(int bands)
{
    if (!bands || (bands & BlackBand))
        return QColor(Qt::black);
    QRgb ink = qRgb(0xFF, 0xFF, 0xFF);
    for (const auto &[band, rgb] : {std::pair {MagentaBand, Magenta}, {CyanBand, Cyan}, {YellowBand, Yellow}}) {
        if (bands & band)
            ink = overprinted(ink, rgb).rgb();
    }
    return QColor(ink);
}

PrintedRenderer::PrintedRenderer()
{
    // Every face is found when first asked for: a report view holds a
    // renderer for its printed look from the start, and loading four faces
    // it may never draw held up its first picture.
}

const QRawFont &PrintedRenderer::rawFace(int face)
{
    if (!m_faces[face].isValid()) {
        const int style = face % 4;
        // The OCR faces come in one weight (their other styles are
        // inverted or hollow letters, never to be picked for bold).
        const bool ocr = face / 4 == OcrB || face / 4 == OcrA;
        m_faces[face] = QRawFont::fromFont(faceFont(!ocr && (style == Bold || style == BoldOblique),
            (face / 4 != OcrA) && (style == Oblique || style == BoldOblique), Families[face / 4]));
        if (!m_faces[face].isValid() && face != style) // the family is missing: the monospaced face
            m_faces[face] = rawFace(style);
    }
    return m_faces[face];
}

const PrintedRenderer::Sized &PrintedRenderer::font(int face, double pixelSize)
{
    const qint64 size = qMax<qint64>(1, qRound64(pixelSize * 64));
    const auto key = std::make_pair(int(face), size);
    auto found = m_sized.find(key);
    if (found != m_sized.end())
        return found->second;
    if (m_sized.size() > 64) // a document of many sizes: keep the cache small
        m_sized.clear();
    Sized sized;
    sized.font = rawFace(face);
    sized.font.setPixelSize(double(size) / 64);
    const QVector<quint32> zero = sized.font.glyphIndexesForString(QStringLiteral("0"));
    const QVector<QPointF> advance = sized.font.advancesForGlyphIndexes(zero);
    sized.advance = advance.isEmpty() || advance.first().x() <= 0 ? 0.6 * size / 64 : advance.first().x();
    return m_sized.emplace(key, sized).first->second;
}

namespace {

// A run's glyphs and where each stands from the run's start, with the
// characters the face has no glyph for, kept at their places for another font.
struct PlacedGlyphs
{
    QVector<quint32> glyphs;
    QVector<QPointF> positions;
    QString missing; // blanks except at the characters drawn from another font
    // The glyphs of characters printed over another's cell (SheetText::overstruck):
    // drawn as shapes, so that a PDF's text holds each cell once.
    QVector<quint32> overGlyphs;
    QVector<QPointF> overPositions;
};

PlacedGlyphs placeGlyphs(const QRawFont &font, const QString &text, double pitch, const QBitArray *overstruck,
    const QBitArray *repeated)
{
    // Blanks print nothing: they are left out of the glyphs (a report is
    // half blanks), and the cells keep every glyph in its column.
    const QVector<quint32> all = font.glyphIndexesForString(text);
    PlacedGlyphs placed;
    placed.glyphs.reserve(all.size());
    placed.positions.reserve(all.size());
    for (qsizetype i = 0; i < all.size() && i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char(' ') || c == QChar(0xA0))
            continue;
        if (repeated && i < repeated->size() && repeated->testBit(int(i)))
            continue; // drawn there in this look often enough
        if (all[i] == 0 && !c.isSpace()) {
            if (placed.missing.isEmpty())
                placed.missing = QString(text.size(), QLatin1Char(' '));
            placed.missing[i] = c;
            continue;
        }
        const bool over = overstruck && i < overstruck->size() && overstruck->testBit(int(i));
        (over ? placed.overGlyphs : placed.glyphs).append(all[i]);
        (over ? placed.overPositions : placed.positions).append(QPointF(double(i) * pitch, 0));
    }
    return placed;
}

// ESC q: the letters' outline, and a shadow a dot below and to the right of
// them, drawn as paths; `outline` gives a glyph's.
template <typename Outline>
void drawOutlined(QPainter &painter, const Outline &outline, const PlacedGlyphs &placed,
    const Printed::TextStyle &style, const QColor &ink, double scale, double stretch)
{
    QPainterPath letters;
    for (qsizetype i = 0; i < placed.glyphs.size(); ++i)
        letters.addPath(outline(placed.glyphs[i]).translated(placed.positions[i]));
    const double dot = qMax(1.0, Printed::UnitsPerInch / 120.0 * scale);
    if (style.shadow)
        painter.fillPath(letters.translated(dot / stretch, dot), ink);
    if (style.outline) {
        if (style.shadow)
            painter.fillPath(letters, Qt::white);
        painter.strokePath(letters, QPen(ink, qMax(0.5, dot / 2)));
    } else {
        painter.fillPath(letters, ink);
    }
}

// One rule along a run: `lines` lines two dot rows apart from y down, whole
// or in dashes of 1/20 in, 1/40 in apart (ESC ( - 1 5).
void drawRule(QPainter &painter, const QColor &ink, double x, double y, double length, int lines, bool broken,
    double scale)
{
    const double thickness = qMax(1.0, DotRow * scale);
    const double dash = Printed::UnitsPerInch / 20.0 * scale;
    for (int k = 0; k < lines; ++k) {
        const double at = y + k * 2.0 * DotRow * scale;
        if (!broken) {
            painter.fillRect(QRectF(x, at, length, thickness), ink);
            continue;
        }
        for (double from = 0; from < length; from += dash * 1.5)
            painter.fillRect(QRectF(x + from, at, qMin(dash, length - from), thickness), ink);
    }
}

} // namespace

void PrintedRenderer::drawRun(QPainter &painter, const Printed::TextRun &run, QPointF origin, double scale,
    const QBitArray *overstruck, const QBitArray *repeated)
{
    // Every cell of the run drawn in this look often enough already: its
    // rules too, as they lie under every cell.
    if (repeated && !run.text.isEmpty() && repeated->size() == run.text.size()
        && repeated->count(true) == repeated->size())
        return;
    const Printed::TextStyle &style = run.style;
    const Vertical vertical = verticalOf(style);
    const int family = familyOf(style);
    const int look = (style.bold || style.doubleStrike) ? (style.italic ? BoldOblique : Bold)
                                                        : (style.italic ? Oblique : Regular);
    const int face = family * 4 + look;
    const Sized &sized = font(face, vertical.em * scale);
    const QColor ink = inkOf(style.color);
    const double cell = double(style.advance) * scale;
    const double x = origin.x() + double(run.x) * scale;
    const double baseline = origin.y() + (double(run.baseline) + vertical.shift) * scale;

    // The glyphs are as wide as their cells: the font's own advance is
    // stretched (double width) or narrowed (condensed, 12 and 15 pitch) to
    // the run's, so the columns fall where the printer puts them.
    // The glyphs step by a whole number of the font's pixels (a PDF then
    // holds short whole numbers for every glyph's place, not fractions),
    // and the stretch makes the step the cell.
    // A cell far wider or narrower than any pitch (ESC c and ESC SP space
    // the characters out) keeps the glyphs at most double or a quarter
    // wide; they then step by the cell rather than fill it. (A printer's
    // letters keep their width and leave the room blank; glyphs that fill
    // their cells keep a PDF's words whole for search and copying, where
    // gaps would have them read as single letters.)
    const double step = qMax(1.0, std::round(sized.advance));
    const double stretch = cell > 0 ? qBound(0.25, cell / step, 2.5) : 1.0;
    const double pitch = cell > 0 && std::abs(stretch - cell / step) > 1e-9 ? cell / stretch : step;
    PlacedGlyphs placed
        = placeGlyphs(sized.font, run.text, pitch, overstruck, repeated);
    painter.save();
    painter.translate(x, baseline);
    if (std::abs(stretch - 1.0) > 1e-6)
        painter.scale(stretch, 1.0);
    painter.setPen(ink);
    const qsizetype textGlyphs = placed.glyphs.size(); // the cells' own, not those struck over them
    if (style.outline || style.shadow) { // (shapes all)
        placed.glyphs += placed.overGlyphs;
        placed.positions += placed.overPositions;
        placed.overGlyphs.clear();
    }
    if (!placed.glyphs.isEmpty() && (style.outline || style.shadow)) {
        drawOutlined(
            painter, [&sized](quint32 glyph) -> const QPainterPath & { return sized.outline(glyph); }, placed, style,
            ink, scale, stretch);
        // Shapes hold no text: in a PDF the same glyphs go over them
        // unseen, so that the words are found and copied as any others.
        if (painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf) {
            QGlyphRun unseen;
            unseen.setRawFont(sized.font);
            unseen.setGlyphIndexes(placed.glyphs.first(textGlyphs));
            unseen.setPositions(placed.positions.first(textGlyphs));
            painter.setPen(Qt::transparent);
            painter.drawGlyphRun(QPointF(0, 0), unseen);
            painter.setPen(ink);
        }
    } else if (!placed.glyphs.isEmpty()) {
        QGlyphRun glyphRun;
        glyphRun.setRawFont(sized.font);
        glyphRun.setGlyphIndexes(placed.glyphs);
        glyphRun.setPositions(placed.positions);
        painter.drawGlyphRun(QPointF(0, 0), glyphRun);
    }
    if (!placed.overGlyphs.isEmpty()) {
        QPainterPath letters;
        for (qsizetype i = 0; i < placed.overGlyphs.size(); ++i)
            letters.addPath(sized.outline(placed.overGlyphs[i]).translated(placed.overPositions[i]));
        painter.fillPath(letters, ink);
    }
    if (!placed.missing.isEmpty()) {
        QFont fallback(Families[family]);
        fallback.setPixelSize(qMax(1, qRound(vertical.em * scale)));
        fallback.setBold(look == Bold || look == BoldOblique);
        fallback.setItalic(look == Oblique || look == BoldOblique);
        painter.setFont(fallback);
        for (qsizetype i = 0; i < placed.missing.size(); ++i) {
            if (placed.missing.at(i) != QLatin1Char(' '))
                painter.drawText(QPointF(double(i) * pitch, 0), QString(placed.missing.at(i)));
        }
    }
    painter.restore();

    const double width = cell * double(run.text.size());
    if (style.underline && !run.text.isEmpty()) {
        const double under = origin.y() + (double(run.baseline) + style.height / 10.0) * scale;
        drawRule(painter, ink, x, under, width, style.underlineDouble ? 2 : 1, style.underlineBroken, scale);
    }
    // ESC ( -: a line through the middle of the letters, or over them; two
    // dot rows apart when double.
    for (auto [kind, at] : {std::pair{style.strike, -style.height / 4.0}, {style.overscore, -style.height * 2 / 3.0}})
        drawRule(painter, ink, x, origin.y() + (double(run.baseline) + at) * scale, width, kind & 3, kind & 4, scale);
}

void PrintedRenderer::setForms(const SheetForms &forms)
{
    m_forms = forms;
    m_madeForm = nullptr;
    m_madeImage = QImage();
}

void PrintedRenderer::drawForm(
    QPainter &painter, const Printed::Sheet &sheet, QPointF origin, double scale, const QRectF &exposed)
{
    const FormPage *form = m_forms.forSheet(sheet.index);
    if (!form)
        return;
    const double unitsPerPoint = double(Printed::UnitsPerInch) / 72.0;
    const QPointF offset = m_forms.offsetPoints() * unitsPerPoint * scale;
    const QRectF target(origin + offset, form->sizePoints() * unitsPerPoint * scale);
    if (!exposed.isEmpty() && !target.intersects(exposed))
        return;
    // Made at the device's pixels, never finer than the cap.
    const QRectF device = painter.deviceTransform().mapRect(target);
    QSizeF pixels = device.size();
    const double cap = MaximumFormDpi / 72.0;
    const double finest = qMin(cap * form->sizePoints().width() / qMax(1.0, pixels.width()),
        cap * form->sizePoints().height() / qMax(1.0, pixels.height()));
    if (finest < 1.0)
        pixels *= finest;
    QSize size(qMax(1, qRound(pixels.width())), qMax(1, qRound(pixels.height())));
    QRect part(QPoint(0, 0), size);
    if (double(size.width()) * size.height() > MaximumFormPixels) {
        // A form too large to be made whole (a plan of A0 at a printer's
        // resolution) is made only where it can be seen: on the device and
        // inside the painter's clip. Still too large, it is made coarser.
        const QPaintDevice *on = painter.device();
        QRectF seen = on && on->width() > 0 && on->height() > 0
            ? painter.deviceTransform().inverted().mapRect(QRectF(0, 0, on->width(), on->height()))
            : target;
        if (painter.hasClipping())
            seen &= painter.clipBoundingRect();
        const QRectF shown = target & seen;
        if (shown.isEmpty())
            return;
        const auto partOf = [&](const QSize &whole) {
            const double fx = whole.width() / target.width(), fy = whole.height() / target.height();
            // A pixel more on each side, so that the smoothing meets no edge.
            return QRect(QPoint(int(std::floor((shown.left() - target.left()) * fx)) - 1,
                             int(std::floor((shown.top() - target.top()) * fy)) - 1),
                QPoint(int(std::ceil((shown.right() - target.left()) * fx)),
                    int(std::ceil((shown.bottom() - target.top()) * fy))))
                .intersected(QRect(QPoint(0, 0), whole));
        };
        part = partOf(size);
        const double area = double(part.width()) * part.height();
        if (area > MaximumFormPixels) {
            const double coarser = std::sqrt(MaximumFormPixels / area);
            size = QSize(qMax(1, int(size.width() * coarser)), qMax(1, int(size.height() * coarser)));
            part = partOf(size);
        }
        if (part.isEmpty())
            return;
    }
    if (m_madeForm != form || m_madeSize != size || m_madePart != part) {
        m_madeImage = form->render(size, part);
        m_madeForm = m_madeImage.isNull() ? nullptr : form;
        m_madeSize = size;
        m_madePart = part;
    }
    if (m_madeImage.isNull())
        return;
    const double fx = target.width() / size.width(), fy = target.height() / size.height();
    const QRectF placed(
        target.left() + part.left() * fx, target.top() + part.top() * fy, part.width() * fx, part.height() * fy);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(placed, m_madeImage);
    painter.restore();
}

void PrintedRenderer::draw(
    QPainter &painter, const Printed::Sheet &sheet, QPointF origin, double scale, const QRectF &exposed)
{
    if (scale <= 0)
        return;
    drawForm(painter, sheet, origin, scale, exposed);
    painter.save();
    painter.setPen(Qt::black);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const bool all = exposed.isEmpty();
    if (!sheet.pictures.isEmpty()) {
        // On pixels (a window, an image) the dots are laid on the device's
        // own pixels when nothing turns or shears the drawing; elsewhere (a
        // PDF, a printer, a preview) they go as shapes.
        const bool pixels = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster
            && painter.combinedTransform().type() <= QTransform::TxScale
            && painter.combinedTransform().m11() > 0 && painter.combinedTransform().m22() > 0;
        if (pixels)
            drawPicturesOnPixels(painter, sheet.pictures, origin, scale, exposed);
        else
            drawPicturesAsShapes(painter, sheet.pictures, origin, scale);
    }
    QVector<QBitArray> repeated;
    const QVector<QBitArray> overstruck = SheetText::overstruck(sheet, &repeated);
    for (qsizetype r = 0; r < sheet.runs.size(); ++r) {
        const Printed::TextRun &run = sheet.runs.at(r);
        if (!all) {
            const Vertical v = verticalOf(run.style);
            const double top = origin.y() + (double(run.baseline) + v.shift - v.em) * scale;
            const double bottom = origin.y() + (double(run.baseline) + v.shift + v.em / 2) * scale;
            if (bottom < exposed.top() || top > exposed.bottom())
                continue;
        }
        drawRun(painter, run, origin, scale,
            overstruck.isEmpty() || overstruck.at(r).isEmpty() ? nullptr : &overstruck.at(r),
            repeated.isEmpty() || repeated.at(r).isEmpty() ? nullptr : &repeated.at(r));
    }
    painter.restore();
}

double PrintedRenderer::fitScale(const QSizeF &sheet, const QSizeF &used, const QSizeF &paper)
{
    // The blank part of a wide carriage's sheet beyond the paper is left
    // off rather than shrinking the text on it.
    const double width = qMin(sheet.width(), qMax(paper.width(), used.width()));
    const double height = qMin(sheet.height(), qMax(paper.height(), used.height()));
    double scale = 1.0;
    if (width > 0)
        scale = qMin(scale, paper.width() / width);
    if (height > 0)
        scale = qMin(scale, paper.height() / height);
    return scale;
}

double PrintedRenderer::fitScale(const Printed::Sheet &sheet, double unit, const QSizeF &paper)
{
    return fitScale(QSizeF(sheet.width, sheet.height) * unit, usedSize(sheet) * unit, paper);
}

QSizeF PrintedRenderer::usedSize(const Printed::Sheet &sheet)
{
    // What prints: blanks at the end of a run print nothing unless they are
    // underlined, and a picture's blank dots were never kept.
    double right = 0, bottom = 0;
    for (const Printed::TextRun &run : sheet.runs) {
        qsizetype cells = run.text.size();
        if (!run.style.underline) {
            while (cells > 0 && (run.text.at(cells - 1) == QLatin1Char(' ') || run.text.at(cells - 1) == QChar(0xA0)))
                --cells;
        }
        if (cells == 0)
            continue;
        const double end = double(run.x) + double(run.style.advance) * double(cells);
        right = qMax(right, end);
        bottom = qMax(bottom, double(run.baseline) + run.style.height / 4.0);
    }
    for (const Printed::Picture &picture : sheet.pictures) {
        right = qMax(right, double(picture.right()));
        bottom = qMax(bottom, double(picture.lower()));
    }
    return QSizeF(right, bottom);
}
