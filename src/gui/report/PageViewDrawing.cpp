// How the page view lays out and draws the lines on screen.
#include "gui/report/PageView.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QScrollBar>
#include <QTextCharFormat>

#include <algorithm>
#include <cmath>

const PageView::Look &PageView::look(int style) const
{
    const Look *&found = m_looks[style];
    if (found)
        return *found;
    QFont font = m_font;
    QColor colour = m_text;
    if (m_lines) {
        const QTextCharFormat &format = m_lines->format(style);
        if (format.hasProperty(QTextFormat::FontPointSize))
            font.setPointSizeF(format.fontPointSize());
        if (format.hasProperty(QTextFormat::FontWeight))
            font.setWeight(QFont::Weight(format.fontWeight()));
        if (format.hasProperty(QTextFormat::FontUnderline) || format.hasProperty(QTextFormat::TextUnderlineStyle))
            font.setUnderline(format.fontUnderline());
        if (format.hasProperty(QTextFormat::ForegroundBrush))
            colour = format.foreground().color();
    }
    font.setPointSizeF(font.pointSizeF() * m_scale);
    Look &made = m_madeLooks[{font.pointSizeF(), font.weight(), font.underline(), colour.rgba()}];
    if (made.advance == 0) {
        const QFontMetricsF metrics(font, viewport());
        made.font = font;
        made.colour = colour;
        made.advance = metrics.horizontalAdvance(QLatin1Char('0'));
        made.ascent = metrics.ascent();
        made.descent = metrics.descent();
    }
    found = &made;
    return made;
}

qreal PageView::after(QChar c, qreal x, qreal advance)
{
    if (c == QLatin1Char('\t'))
        return Margin + (std::floor((x - Margin) / TabStop) + 1) * TabStop;
    return takesNoRoom(c) ? x : x + advance;
}

qreal PageView::lineWidth(const ViewLine &line) const
{
    qreal x = Margin;
    qsizetype at = 0;
    for (const MarkupRun &run : line.runs) {
        const qreal advance = look(run.style).advance;
        for (const qsizetype end = at + run.length; at < end; ++at)
            x = after(line.text.at(at), x, advance);
    }
    return x + Margin;
}

// Each character takes the advance of its style's font (the report fonts are
// monospaced); control codes take none, a tab runs to the next tab stop.
PageView::Laid PageView::layLine(const ViewLine &line) const
{
    Laid laid;
    laid.line = line;
    laid.x.resize(line.text.size() + 1);
    // A line is as high as its highest character, rounded up to a whole
    // pixel, as a text document lays it out: a line that holds only hidden
    // sequences is a sliver. An empty line is as high as its line end.
    const Look &empty = look(line.startStyle);
    laid.ascent = line.text.isEmpty() ? empty.ascent : 0;
    qreal descent = line.text.isEmpty() ? empty.descent : 0;
    qreal x = Margin;
    qsizetype at = 0;
    for (const MarkupRun &run : line.runs) {
        const Look &style = look(run.style);
        if (run.length > 0) {
            laid.ascent = qMax(laid.ascent, style.ascent);
            descent = qMax(descent, style.descent);
        }
        for (qsizetype end = at + run.length; at < end; ++at) {
            laid.x[at] = x;
            x = after(line.text.at(at), x, style.advance);
        }
    }
    laid.x[at] = x;
    laid.height = std::ceil(laid.ascent + descent);
    return laid;
}

void PageView::layScreen()
{
    m_screen.clear();
    if (m_lines) {
        qreal top = Margin;
        const qreal bottom = viewport()->height();
        qint64 first = firstVisibleLine();
        // A few lines at a time, as many as fill the screen.
        while (top < bottom && first < m_lines->lineCount()) {
            const int want = qMax(8, int((bottom - top) / qMax<qreal>(1, look(0).ascent + look(0).descent)) + 1);
            const QVector<ViewLine> lines = m_lines->lines(first, want);
            for (const ViewLine &line : lines) {
                Laid laid = layLine(line);
                laid.top = top;
                top += laid.height;
                m_widest = qMax(m_widest, laid.x.last() + Margin);
                m_screen.append(laid);
                if (top >= bottom)
                    break;
            }
            first += lines.size();
        }
    }
    updateScrollBars();
    viewport()->update();
}

void PageView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), m_background);
    const qreal dx = -horizontalScrollBar()->value();
    for (const Laid &laid : std::as_const(m_screen))
        drawLine(painter, laid, dx);
    if (!m_columnMarks.isEmpty()) {
        painter.setPen(QPen(Qt::gray, 1, Qt::DotLine));
        for (int column : std::as_const(m_columnMarks)) {
            const qreal x = dx + Margin + column * look(0).advance;
            painter.drawLine(QPointF(x, 0), QPointF(x, viewport()->height()));
        }
    }
}

void PageView::drawSelectionGround(QPainter &painter, const Laid &laid, qreal dx, qint64 selFrom, qint64 selTo) const
{
    const qsizetype size = laid.line.text.size();
    if (selTo <= 0 || selFrom > size)
        return;
    const qreal left = laid.x.at(qBound<qint64>(0, selFrom, size));
    qreal right = laid.x.at(qBound<qint64>(0, selTo, size));
    if (selTo > size)
        right += look(0).advance / 2; // the line end is selected too
    // Out to whole pixels, as a text document draws its selection.
    painter.fillRect(QRectF(left + dx, laid.top, right - left, laid.height).toAlignedRect(), palette().highlight());
}

void PageView::drawLine(QPainter &painter, const Laid &laid, qreal dx) const
{
    const ViewLine &line = laid.line;
    const qint64 start = line.line.position;
    const qint64 selFrom = selectionStart() - start;
    const qint64 selTo = selFrom + selectionLength();
    const QPalette &palette = this->palette();
    // The marks that reach into the line, in the order they were made.
    QVector<const Mark *> marks;
    const auto from = std::lower_bound(m_marks.cbegin(), m_marks.cend(), start - m_longestMark,
        [](const Mark &mark, qint64 at) { return mark.start < at; });
    for (auto m = from; m != m_marks.cend() && m->start < start + line.text.size(); ++m) {
        if (m->start + m->length > start)
            marks.append(&*m);
    }
    drawSelectionGround(painter, laid, dx, selFrom, selTo);
    // The characters on screen and the mark each shows (the last that
    // covers it): found once a line, not once a character, so a long line
    // full of search matches paints as fast as any.
    const qsizetype first = qMax<qsizetype>(0,
        std::upper_bound(laid.x.cbegin(), laid.x.cend(), -dx) - laid.x.cbegin() - 1);
    const qsizetype last = qBound<qsizetype>(first,
        std::lower_bound(laid.x.cbegin(), laid.x.cend(), viewport()->width() - dx) - laid.x.cbegin() + 1,
        line.text.size());
    QVector<const Mark *> cover(last - first, nullptr);
    for (const Mark *m : std::as_const(marks)) {
        const qint64 to = qMin<qint64>(m->start + m->length - start, last);
        for (qint64 i = qMax<qint64>(m->start - start, first); i < to; ++i)
            cover[i - first] = m;
    }
    const auto markOf = [&](qsizetype i) { return i >= first && i < last ? cover.at(i - first) : nullptr; };
    const qreal baseline = laid.top + laid.ascent;
    qsizetype at = 0;
    for (const MarkupRun &run : line.runs) {
        const Look &style = look(run.style);
        const qsizetype end = at + run.length;
        while (at < end) {
            // A piece of one look: the same mark, the same side of the selection.
            const auto selected = [&](qsizetype i) { return i >= selFrom && i < selTo; };
            const Mark *mark = markOf(at);
            const bool inSelection = selected(at);
            qsizetype stop = at + 1;
            while (stop < end && markOf(stop) == mark && selected(stop) == inSelection
                && takesNoRoom(line.text.at(stop)) == takesNoRoom(line.text.at(at))
                && line.text.at(stop) != QLatin1Char('\t') && line.text.at(stop - 1) != QLatin1Char('\t'))
                ++stop;
            // Only what is on screen is drawn: a line of thousands of
            // characters is not shaped whole.
            const qsizetype from = qMax(at, first);
            const qsizetype to = qMin(stop, last);
            if (!takesNoRoom(line.text.at(at)) && from < to) {
                QFont font = style.font;
                QColor colour = style.colour;
                if (mark) {
                    colour = mark->colour;
                    if (mark->bold >= 0)
                        font.setBold(mark->bold == 1);
                }
                if (inSelection)
                    colour = palette.color(QPalette::HighlightedText);
                painter.setFont(font);
                painter.setPen(colour);
                QString piece = line.text.mid(from, to - from);
                piece.replace(QLatin1Char('\t'), QLatin1Char(' '));
                painter.drawText(QPointF(laid.x.at(from) + dx, baseline), piece);
            }
            at = stop;
        }
    }
    if (hasFocus() && m_caret >= start && m_caret <= start + line.text.size()) {
        const qreal x = laid.x.at(m_caret - start) + dx;
        painter.fillRect(QRectF(x, laid.top, 1, laid.height), palette.text());
    }
}
