#include "render/EmphasisRenderer.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPainter>

#include <cmath>

namespace {

constexpr double Step = 0.25; // sizes go down in quarter points

double stepDown(double points)
{
    return std::floor(points / Step + 1e-9) * Step;
}

} // namespace

EmphasisRenderer::EmphasisRenderer(QPainter &painter, QPagedPaintDevice &device, const PageRenderOptions &options)
    : m_painter(painter)
    , m_device(device)
    , m_options(options)
{
    m_options.smallestPoints = qMax(1.0, m_options.smallestPoints);
    m_options.largestPoints = qMax(m_options.smallestPoints, m_options.largestPoints);
}

const EmphasisRenderer::Face &EmphasisRenderer::face(double points, bool bold, bool underline)
{
    const qint64 key = qRound64(points * 1000) * 4 + (bold ? 2 : 0) + (underline ? 1 : 0);
    auto found = m_faces.find(key);
    if (found != m_faces.end())
        return found->second;
    Face face;
    face.font = reportFont(points, bold, m_options.markup.codePage);
    face.font.setUnderline(underline);
    face.font.setKerning(false);
    // Measured on the device itself, at its resolution, so the places worked
    // out here are the places the glyphs are drawn at.
    const QFontMetricsF metrics(face.font, &m_device);
    face.advance = metrics.horizontalAdvance(QLatin1Char('0'));
    face.ascent = metrics.ascent();
    face.descent = metrics.descent() + qMax(0.0, metrics.leading());
    face.underline = underline;
    face.raw = QRawFont::fromFont(face.font);
    face.raw.setPixelSize(points * m_device.logicalDpiY() / 72.0);
    return m_faces.emplace(key, face).first->second;
}

const EmphasisRenderer::Face &EmphasisRenderer::runFace(const RunLook &look, double points)
{
    const double viewPoints = look.points > 0 ? look.points : m_options.largestPoints;
    return face(viewPoints * points / m_options.largestPoints, look.bold, look.underline);
}

double EmphasisRenderer::width(const StyledLine &line, double points)
{
    double total = 0;
    for (const StyledRun &run : line)
        total += double(run.text.size()) * runFace(run.look, points).advance;
    return total;
}

QVector<EmphasisRenderer::Line> EmphasisRenderer::layout(
    const QVector<StyledLine> &lines, double points, double sheetWidth)
{
    const Face &plain = face(points, false, false);
    QVector<Line> placed;
    placed.reserve(lines.size());
    auto start = [&]() {
        placed.append(Line());
        placed.last().ascent = plain.ascent;
        placed.last().descent = plain.descent;
    };
    auto put = [&](const QString &text, const RunLook &look, const Face &runFace) {
        Line &line = placed.last();
        line.runs.append({text, look});
        line.ascent = qMax(line.ascent, runFace.ascent);
        line.descent = qMax(line.descent, runFace.descent);
    };
    for (const StyledLine &line : lines) {
        start();
        if (width(line, points) <= sheetWidth) {
            for (const StyledRun &run : line)
                put(run.text, run.look, runFace(run.look, points));
            continue;
        }
        // Wraps at the character that would cross the edge; at least one
        // character goes on each line, however narrow the sheet.
        double x = 0;
        for (const StyledRun &run : line) {
            const Face &f = runFace(run.look, points);
            qsizetype from = 0;
            while (from < run.text.size()) {
                qsizetype fit = qsizetype(std::floor((sheetWidth - x) / f.advance + 1e-9));
                if (fit <= 0 && x > 0) {
                    start();
                    x = 0;
                    continue;
                }
                fit = qBound(qsizetype(1), fit, run.text.size() - from);
                put(run.text.mid(from, fit), run.look, f);
                x += double(fit) * f.advance;
                from += fit;
            }
        }
    }
    return placed;
}

double EmphasisRenderer::height(const QVector<Line> &lines)
{
    double total = 0;
    for (const Line &line : lines)
        total += line.ascent + line.descent;
    return total;
}

bool EmphasisRenderer::newSheet()
{
    if (m_sheets > 0 && !m_device.newPage())
        return false;
    ++m_sheets;
    return true;
}

void EmphasisRenderer::drawRun(const QString &text, const Face &f, QPointF origin)
{
    // One glyph run with every glyph in its column: a PDF gets the run as one
    // text item, and blanks, which print nothing, are left out of it (an
    // underlined run keeps them, so its rule runs under them too).
    const QVector<quint32> all = f.raw.glyphIndexesForString(text);
    if (all.size() != text.size()) { // a face that does not map one to one
        m_painter.setFont(f.font);
        m_painter.drawText(origin, text);
        return;
    }
    QVector<quint32> glyphs;
    QVector<QPointF> positions;
    glyphs.reserve(all.size());
    positions.reserve(all.size());
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (!f.underline && text.at(i) == QLatin1Char(' '))
            continue;
        glyphs.append(all.at(i));
        positions.append(QPointF(double(i) * f.advance, 0));
    }
    if (glyphs.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(f.raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    run.setUnderline(f.underline);
    m_painter.drawGlyphRun(origin, run);
}

void EmphasisRenderer::drawLine(const Line &line, double top)
{
    double x = 0;
    const double baseline = top + line.ascent;
    for (const StyledRun &run : line.runs) {
        const Face &f = runFace(run.look, m_points);
        m_painter.setPen(QColor::fromRgba(run.look.colour));
        drawRun(run.text, f, QPointF(x, baseline));
        x += double(run.text.size()) * f.advance;
    }
}

// The lines are laid out and drawn as they come, each wrapped at the
// character that would cross the edge, as layout() wraps them.
double EmphasisRenderer::hugePagePoints(QByteArrayView page)
{
    // A first reading finds the widest line at the largest size, so that a
    // long report without form feeds is drawn at the size its width allows,
    // as a smaller page is. A line still a little too wide after the font's
    // rounding wraps like any other.
    const double largest = m_options.largestPoints;
    double widest = 0, x = 0;
    StyledPage::stream(
        page, m_options.markup,
        [&](QStringView text, const RunLook &look) { x += double(text.size()) * runFace(look, largest).advance; },
        [&] {
            widest = qMax(widest, x);
            x = 0;
        });
    widest = qMax(widest, x);
    const double sheetWidth = m_device.width();
    if (widest <= sheetWidth)
        return largest;
    return qMax(m_options.smallestPoints, stepDown(largest * sheetWidth / widest));
}

bool EmphasisRenderer::drawHugePage(QByteArrayView page)
{
    m_points = hugePagePoints(page);
    if (!newSheet())
        return false;
    const double sheetWidth = m_device.width();
    const double sheetHeight = m_device.height();
    const Face &plain = face(m_points, false, false);
    Line row;
    double x = 0, y = 0;
    bool ok = true;
    auto startRow = [&]() {
        row.runs.clear();
        row.ascent = plain.ascent;
        row.descent = plain.descent;
        x = 0;
    };
    auto endRow = [&]() {
        const double rowHeight = row.ascent + row.descent;
        if (ok && y > 0 && y + rowHeight > sheetHeight) {
            ok = newSheet();
            y = 0;
        }
        if (ok)
            drawLine(row, y);
        y += rowHeight;
        startRow();
    };
    startRow();
    StyledPage::stream(
        page, m_options.markup,
        [&](QStringView text, const RunLook &look) {
            const Face &f = runFace(look, m_points);
            qsizetype from = 0;
            while (ok && from < text.size()) {
                qsizetype fit = qsizetype(std::floor((sheetWidth - x) / f.advance + 1e-9));
                if (fit <= 0 && x > 0) {
                    endRow();
                    continue;
                }
                fit = qBound(qsizetype(1), fit, text.size() - from);
                if (!row.runs.isEmpty() && row.runs.last().look == look)
                    row.runs.last().text += text.mid(from, fit);
                else
                    row.runs.append({text.mid(from, fit).toString(), look});
                row.ascent = qMax(row.ascent, f.ascent);
                row.descent = qMax(row.descent, f.descent);
                x += double(fit) * f.advance;
                from += fit;
            }
        },
        endRow);
    return ok;
}

bool EmphasisRenderer::drawPage(QByteArrayView page)
{
    if (page.size() > HugePageBytes)
        return drawHugePage(page);
    const QVector<StyledLine> lines = StyledPage::build(page, m_options.markup);
    const double sheetWidth = m_device.width();
    const double sheetHeight = m_device.height();
    const double largest = m_options.largestPoints;
    const double smallest = m_options.smallestPoints;

    auto widest = [&](double points) {
        double most = 0;
        for (const StyledLine &line : lines)
            most = qMax(most, width(line, points));
        return most;
    };
    // The widest line fits: the first guess scales it to the width, the
    // steps after it only make up for the rounding of the font sizes.
    double points = largest;
    const double atLargest = widest(largest);
    if (atLargest > sheetWidth)
        points = qMax(smallest, stepDown(largest * sheetWidth / atLargest));
    while (points > smallest && widest(points) > sheetWidth)
        points = qMax(smallest, points - Step);
    QVector<Line> placed = layout(lines, points, sheetWidth);

    // All lines on one sheet, when a size not below the smallest does it.
    const double tall = height(placed);
    if (tall > sheetHeight && points > smallest && stepDown(points * sheetHeight / tall) >= smallest) {
        for (double smaller = stepDown(points * sheetHeight / tall);;
             smaller = qMax(smallest, smaller - Step)) {
            QVector<Line> tried = layout(lines, smaller, sheetWidth);
            if (height(tried) <= sheetHeight) {
                points = smaller;
                placed = std::move(tried);
                break;
            }
            if (smaller <= smallest)
                break;
        }
    }

    m_points = points;
    if (!newSheet())
        return false;
    double y = 0;
    for (const Line &line : placed) {
        const double lineHeight = line.ascent + line.descent;
        if (y > 0 && y + lineHeight > sheetHeight) {
            if (!newSheet())
                return false;
            y = 0;
        }
        drawLine(line, y);
        y += lineHeight;
    }
    return true;
}
