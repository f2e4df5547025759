#include "render/PrintedRenderer.h"

#include <QFont>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>

#include <cmath>

namespace {

const QString Family = QStringLiteral("DejaVu Sans Mono");

// A printer dot row: the thickness of an underline (1/72 in).
constexpr Printed::Unit DotRow = Printed::UnitsPerInch / 72;

QFont faceFont(bool bold, bool oblique)
{
    QFont font(Family);
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
    // Double height prints the glyph over two head lines, from the top of
    // this one down.
    return { style.doubleHeight ? 2 * em : em, style.doubleHeight ? height * 2 / 3 : 0 };
}

} // namespace

PrintedRenderer::PrintedRenderer()
{
    m_faces[Regular] = QRawFont::fromFont(faceFont(false, false));
    m_faces[Bold] = QRawFont::fromFont(faceFont(true, false));
    m_faces[Oblique] = QRawFont::fromFont(faceFont(false, true));
    m_faces[BoldOblique] = QRawFont::fromFont(faceFont(true, true));
}

const PrintedRenderer::Sized &PrintedRenderer::font(Face face, double pixelSize)
{
    const qint64 size = qMax<qint64>(1, qRound64(pixelSize * 64));
    const auto key = std::make_pair(int(face), size);
    auto found = m_sized.find(key);
    if (found != m_sized.end())
        return found->second;
    if (m_sized.size() > 64) // a document of many sizes: keep the cache small
        m_sized.clear();
    Sized sized;
    sized.font = m_faces[face];
    sized.font.setPixelSize(double(size) / 64);
    const QVector<quint32> zero = sized.font.glyphIndexesForString(QStringLiteral("0"));
    const QVector<QPointF> advance = sized.font.advancesForGlyphIndexes(zero);
    sized.advance = advance.isEmpty() || advance.first().x() <= 0 ? 0.6 * size / 64 : advance.first().x();
    return m_sized.emplace(key, sized).first->second;
}

void PrintedRenderer::drawRun(QPainter &painter, const Printed::TextRun &run, QPointF origin, double scale)
{
    const Printed::TextStyle &style = run.style;
    const Vertical vertical = verticalOf(style);
    const Face face = (style.bold || style.doubleStrike) ? (style.italic ? BoldOblique : Bold)
                                                          : (style.italic ? Oblique : Regular);
    const Sized &sized = font(face, vertical.em * scale);
    const double cell = double(style.advance) * scale;
    const double x = origin.x() + double(run.x) * scale;
    const double baseline = origin.y() + (double(run.baseline) + vertical.shift) * scale;

    // The glyphs are as wide as their cells: the font's own advance is
    // stretched (double width) or narrowed (condensed, 12 and 15 pitch) to
    // the run's, so the columns fall where the printer puts them.
    // The glyphs step by a whole number of the font's pixels (a PDF then
    // holds short whole numbers for every glyph's place, not fractions),
    // and the stretch makes the step the cell.
    const double step = qMax(1.0, std::round(sized.advance));
    const double stretch = cell > 0 ? cell / step : 1.0;
    // Blanks print nothing: they are left out of the glyphs (a report is
    // half blanks), and the cells keep every glyph in its column.
    const QVector<quint32> all = sized.font.glyphIndexesForString(run.text);
    QVector<quint32> glyphs;
    QVector<QPointF> positions;
    glyphs.reserve(all.size());
    positions.reserve(all.size());
    QString missing; // characters the face has no glyph for, drawn from another font
    for (qsizetype i = 0; i < all.size() && i < run.text.size(); ++i) {
        const QChar c = run.text.at(i);
        if (c == QLatin1Char(' ') || c == QChar(0xA0))
            continue;
        if (all[i] == 0 && !c.isSpace()) {
            if (missing.isEmpty())
                missing = QString(run.text.size(), QLatin1Char(' '));
            missing[i] = c;
            continue;
        }
        glyphs.append(all[i]);
        positions.append(QPointF(double(i) * step, 0));
    }
    painter.save();
    painter.translate(x, baseline);
    if (std::abs(stretch - 1.0) > 1e-6)
        painter.scale(stretch, 1.0);
    if (!glyphs.isEmpty()) {
        QGlyphRun glyphRun;
        glyphRun.setRawFont(sized.font);
        glyphRun.setGlyphIndexes(glyphs);
        glyphRun.setPositions(positions);
        painter.drawGlyphRun(QPointF(0, 0), glyphRun);
    }
    if (!missing.isEmpty()) {
        QFont fallback(Family);
        fallback.setPixelSize(qMax(1, qRound(vertical.em * scale)));
        fallback.setBold(face == Bold || face == BoldOblique);
        fallback.setItalic(face == Oblique || face == BoldOblique);
        painter.setFont(fallback);
        for (qsizetype i = 0; i < missing.size(); ++i) {
            if (missing.at(i) != QLatin1Char(' '))
                painter.drawText(QPointF(double(i) * step, 0), QString(missing.at(i)));
        }
    }
    painter.restore();

    if (style.underline && !run.text.isEmpty()) {
        const double thickness = qMax(1.0, DotRow * scale);
        const double under = origin.y() + (double(run.baseline) + style.height / 10.0) * scale;
        painter.fillRect(QRectF(x, under, cell * double(run.text.size()), thickness), Qt::black);
    }
}

void PrintedRenderer::drawPicture(
    QPainter &painter, const Printed::Picture &picture, QPointF origin, double scale)
{
    if (picture.image.isNull() || picture.dpiX <= 0 || picture.dpiY <= 0)
        return;
    QImage dots = picture.image;
    if (dots.format() != QImage::Format_Mono)
        dots = dots.convertToFormat(QImage::Format_Mono);
    // 1 is a dot. A PDF keeps a picture whose colours are black then white
    // as one bit a dot, losslessly (any other picture becomes a colour JPEG
    // there): the bits are turned over for it. Elsewhere the blank is made
    // transparent.
    if (m_toPdf) {
        dots.invertPixels();
        dots.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    } else {
        dots.setColorTable({ qRgba(0, 0, 0, 0), qRgb(0, 0, 0) });
    }
    const QRectF target(origin.x() + double(picture.x) * scale, origin.y() + double(picture.top) * scale,
        double(picture.width()) * scale, double(picture.height()) * scale);
    painter.save();
    painter.setPen(Qt::black);
    // Shrunk on a screen, thin lines of dots would drop out without smoothing.
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
        !m_toPdf && target.width() < dots.width());
    painter.drawImage(target, dots);
    painter.restore();
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
    const QSize size(qMax(1, qRound(pixels.width())), qMax(1, qRound(pixels.height())));
    if (m_madeForm != form || m_madeImage.size() != size) {
        m_madeImage = form->render(size);
        m_madeForm = m_madeImage.isNull() ? nullptr : form;
    }
    if (m_madeImage.isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, m_madeImage);
    painter.restore();
}

void PrintedRenderer::draw(
    QPainter &painter, const Printed::Sheet &sheet, QPointF origin, double scale, const QRectF &exposed)
{
    if (scale <= 0)
        return;
    m_toPdf = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf;
    drawForm(painter, sheet, origin, scale, exposed);
    painter.save();
    painter.setPen(Qt::black);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const bool all = exposed.isEmpty();
    for (const Printed::Picture &picture : sheet.pictures) {
        const QRectF place(origin.x() + double(picture.x) * scale, origin.y() + double(picture.top) * scale,
            double(picture.width()) * scale, double(picture.height()) * scale);
        if (all || place.intersects(exposed))
            drawPicture(painter, picture, origin, scale);
    }
    for (const Printed::TextRun &run : sheet.runs) {
        if (!all) {
            const Vertical v = verticalOf(run.style);
            const double top = origin.y() + (double(run.baseline) + v.shift - v.em) * scale;
            const double bottom = origin.y() + (double(run.baseline) + v.shift + v.em / 2) * scale;
            if (bottom < exposed.top() || top > exposed.bottom())
                continue;
        }
        drawRun(painter, run, origin, scale);
    }
    painter.restore();
}

QSizeF PrintedRenderer::usedSize(const Printed::Sheet &sheet)
{
    double right = 0, bottom = 0;
    for (const Printed::TextRun &run : sheet.runs) {
        const double end = double(run.x) + double(run.style.advance) * double(run.text.size());
        right = qMax(right, end);
        bottom = qMax(bottom, double(run.baseline) + run.style.height / 4.0);
    }
    for (const Printed::Picture &picture : sheet.pictures) {
        right = qMax(right, double(picture.x) + picture.width());
        bottom = qMax(bottom, double(picture.top) + picture.height());
    }
    return QSizeF(right, bottom);
}
