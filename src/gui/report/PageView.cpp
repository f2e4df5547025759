#include "gui/report/PageView.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextCharFormat>

#include <algorithm>

namespace {

constexpr qreal Margin = 4;     // around the text, as a text document leaves it
constexpr qreal TabStop = 80;   // pixels between tab stops, as a text document sets them

bool takesNoRoom(QChar c)
{
    return (c.unicode() < 0x20 && c.unicode() != '\t') || c.unicode() == 0x7F;
}

} // namespace

// How the text of one style is drawn.
struct PageView::Look
{
    QFont font;
    QColor colour;
    qreal advance = 0;
    qreal ascent = 0;
    qreal descent = 0;
};

PageView::PageView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("PageView"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->setSingleStep(20);
}

PageView::~PageView() = default;

void PageView::setLines(std::shared_ptr<ViewLines> lines)
{
    m_lines = std::move(lines);
    m_looks.clear();
    m_marks.clear();
    m_longestMark = 0;
    m_widest = 0;
    m_anchor = m_caret = 0;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    layScreen();
    emit selectionChanged();
}

void PageView::setTextFont(const QFont &font)
{
    m_font = font;
    m_looks.clear();
    m_madeLooks.clear();
    m_widest = 0;
    layScreen();
}

void PageView::setBackground(const QColor &colour)
{
    m_background = colour;
    viewport()->update();
}

const PageView::Look &PageView::look(int style) const
{
    const Look *&found = m_looks[style];
    if (found)
        return *found;
    QFont font = m_font;
    QColor colour = Qt::black;
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

// Each character takes the advance of its style's font (the report fonts are
// monospaced); control codes take none, a tab runs to the next tab stop.
PageView::Laid PageView::layLine(const ViewLine &line) const
{
    Laid laid;
    laid.line = line;
    laid.x.resize(line.text.size() + 1);
    const Look &plain = look(0);
    laid.ascent = plain.ascent;
    qreal descent = plain.descent;
    qreal x = Margin;
    qsizetype at = 0;
    for (const MarkupRun &run : line.runs) {
        const Look &style = look(run.style);
        laid.ascent = qMax(laid.ascent, style.ascent);
        descent = qMax(descent, style.descent);
        for (qsizetype end = at + run.length; at < end; ++at) {
            laid.x[at] = x;
            const QChar c = line.text.at(at);
            if (c == QLatin1Char('\t'))
                x = Margin + (std::floor((x - Margin) / TabStop) + 1) * TabStop;
            else if (!takesNoRoom(c))
                x += style.advance;
        }
    }
    laid.x[at] = x;
    laid.height = laid.ascent + descent;
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

void PageView::updateScrollBars()
{
    const qint64 count = m_lines ? m_lines->lineCount() : 1;
    const qreal lineHeight = qMax<qreal>(1, look(0).ascent + look(0).descent);
    const int page = qMax(1, int(viewport()->height() / lineHeight));
    QScrollBar *down = verticalScrollBar();
    const QSignalBlocker quiet(down);
    down->setRange(0, int(qBound<qint64>(0, count - page, qint64(INT_MAX))));
    down->setPageStep(page);
    const qreal longest = m_lines ? m_lines->index().longestLine() * look(0).advance + 2 * Margin : 0;
    QScrollBar *across = horizontalScrollBar();
    across->setRange(0, qMax(0, int(qMax(longest, m_widest)) - viewport()->width()));
    across->setPageStep(viewport()->width());
}

qint64 PageView::firstVisibleLine() const
{
    return verticalScrollBar()->value();
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    layScreen();
}

void PageView::scrollContentsBy(int, int dy)
{
    if (dy != 0)
        layScreen();
    else
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
    // The selection's ground, under the text.
    if (selTo > 0 && selFrom <= line.text.size()) {
        const qreal left = laid.x.at(qBound<qint64>(0, selFrom, line.text.size()));
        qreal right = laid.x.at(qBound<qint64>(0, selTo, line.text.size()));
        if (selTo > line.text.size())
            right += look(0).advance / 2; // the line end is selected too
        painter.fillRect(QRectF(left + dx, laid.top, right - left, laid.height), palette.highlight());
    }
    const qreal baseline = laid.top + laid.ascent;
    qsizetype at = 0;
    for (const MarkupRun &run : line.runs) {
        const Look &style = look(run.style);
        const qsizetype end = at + run.length;
        while (at < end) {
            // A piece of one look: the same mark, the same side of the selection.
            const auto markOf = [&](qsizetype i) -> const Mark * {
                const Mark *found = nullptr;
                for (const Mark *m : std::as_const(marks)) {
                    if (start + i >= m->start && start + i < m->start + m->length)
                        found = m;
                }
                return found;
            };
            const auto selected = [&](qsizetype i) { return i >= selFrom && i < selTo; };
            const Mark *mark = markOf(at);
            const bool inSelection = selected(at);
            qsizetype stop = at + 1;
            while (stop < end && markOf(stop) == mark && selected(stop) == inSelection
                && takesNoRoom(line.text.at(stop)) == takesNoRoom(line.text.at(at)))
                ++stop;
            if (!takesNoRoom(line.text.at(at)) && laid.x.at(at) + dx < viewport()->width()
                && laid.x.at(stop) + dx > 0) {
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
                QString piece = line.text.mid(at, stop - at);
                piece.replace(QLatin1Char('\t'), QLatin1Char(' '));
                painter.drawText(QPointF(laid.x.at(at) + dx, baseline), piece);
            }
            at = stop;
        }
    }
    if (hasFocus() && m_caret >= start && m_caret <= start + line.text.size()) {
        const qreal x = laid.x.at(m_caret - start) + dx;
        painter.fillRect(QRectF(x, laid.top, 1, laid.height), palette.text());
    }
}

qint64 PageView::lineLength(const LineIndex::Line &line) const
{
    return line.length() + (m_lines->isLast(line) && m_lines->positionCount() > m_lines->index().positionCount() ? 1 : 0);
}

qint64 PageView::positionAt(const QPoint &point)
{
    if (!m_lines || m_screen.isEmpty())
        return 0;
    const Laid *hit = &m_screen.last();
    for (const Laid &laid : std::as_const(m_screen)) {
        if (point.y() < laid.top + laid.height) {
            hit = &laid;
            break;
        }
    }
    const qreal x = point.x() + horizontalScrollBar()->value();
    qsizetype column = 0;
    while (column < hit->line.text.size() && x > (hit->x.at(column) + hit->x.at(column + 1)) / 2)
        ++column;
    return hit->line.line.position + column;
}

void PageView::select(qint64 anchor, qint64 caret)
{
    const qint64 end = m_lines ? m_lines->positionCount() : 0;
    m_anchor = qBound<qint64>(0, anchor, end);
    m_caret = qBound<qint64>(0, caret, end);
    viewport()->update();
    emit selectionChanged();
}

QString PageView::selectedText() const
{
    return m_lines ? m_lines->text(selectionStart(), selectionStart() + selectionLength()) : QString();
}

PageView::LineColumn PageView::lineColumn() const
{
    if (!m_lines)
        return {};
    const LineIndex::Line line = m_lines->index().lineAt(selectionStart());
    return {line.number, selectionStart() - line.position};
}

void PageView::copy() const
{
    if (selectionLength() > 0)
        QGuiApplication::clipboard()->setText(selectedText());
}

void PageView::addMark(const Mark &mark)
{
    if (mark.length <= 0)
        return;
    // Kept in order of their starts for drawing; a later mark at the same
    // start goes after the earlier ones, so it wins.
    const auto at = std::upper_bound(m_marks.begin(), m_marks.end(), mark.start,
        [](qint64 start, const Mark &m) { return start < m.start; });
    m_marks.insert(at, mark);
    m_longestMark = qMax(m_longestMark, mark.length);
    viewport()->update();
}

void PageView::clearMarks()
{
    m_marks.clear();
    m_longestMark = 0;
    viewport()->update();
}

void PageView::setColumnMarks(const QVector<int> &columns)
{
    m_columnMarks = columns;
    viewport()->update();
}

void PageView::ensureVisible(qint64 position)
{
    if (!m_lines)
        return;
    const LineIndex::Line line = m_lines->index().lineAt(position);
    const qint64 first = firstVisibleLine();
    qint64 shown = 0;
    for (const Laid &laid : std::as_const(m_screen))
        shown += laid.top + laid.height <= viewport()->height() ? 1 : 0;
    if (line.number < first || line.number >= first + qMax<qint64>(1, shown))
        verticalScrollBar()->setValue(int(qMin<qint64>(line.number, INT_MAX)));
    for (const Laid &laid : std::as_const(m_screen)) {
        if (laid.line.line.number == line.number) {
            const qreal x = laid.x.at(qBound<qint64>(0, position - line.position, laid.line.text.size()));
            QScrollBar *across = horizontalScrollBar();
            if (x < across->value() || x > across->value() + viewport()->width() - look(0).advance)
                across->setValue(int(x - viewport()->width() / 3));
        }
    }
}

qint64 PageView::moved(int key, bool *handled)
{
    *handled = true;
    const LineIndex &index = m_lines->index();
    const LineIndex::Line line = index.lineAt(m_caret);
    const qint64 column = m_caret - line.position;
    const qint64 page = qMax(1, verticalScrollBar()->pageStep());
    const auto onLine = [&](qint64 number) {
        const LineIndex::Line to = index.line(number);
        return to.position + qMin(column, lineLength(to));
    };
    switch (key) {
    case Qt::Key_Left: return m_caret - 1;
    case Qt::Key_Right: return m_caret + 1;
    case Qt::Key_Up: return line.number == 0 ? m_caret : onLine(line.number - 1);
    case Qt::Key_Down: return line.number + 1 >= index.lineCount() ? m_caret : onLine(line.number + 1);
    case Qt::Key_PageUp: return onLine(line.number - page);
    case Qt::Key_PageDown: return onLine(line.number + page);
    case Qt::Key_Home: return line.position;
    case Qt::Key_End: return line.position + lineLength(line);
    default: *handled = false; return m_caret;
    }
}

void PageView::keyPressEvent(QKeyEvent *event)
{
    if (!m_lines)
        return QAbstractScrollArea::keyPressEvent(event);
    if (event == QKeySequence::SelectAll)
        return select(0, m_lines->positionCount());
    if (event == QKeySequence::Copy)
        return copy();
    const bool control = event->modifiers() & Qt::ControlModifier;
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    bool handled = false;
    qint64 to = m_caret;
    if (control && event->key() == Qt::Key_Home) {
        to = 0;
        handled = true;
    } else if (control && event->key() == Qt::Key_End) {
        to = m_lines->positionCount();
        handled = true;
    } else {
        to = moved(event->key(), &handled);
    }
    if (!handled)
        return QAbstractScrollArea::keyPressEvent(event);
    select(extend ? m_anchor : to, to);
    ensureVisible(m_caret);
}

void PageView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    const qint64 at = positionAt(event->position().toPoint());
    select(event->modifiers() & Qt::ShiftModifier ? m_anchor : at, at);
}

void PageView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    QScrollBar *down = verticalScrollBar();
    if (point.y() < 0)
        down->setValue(down->value() - 1);
    else if (point.y() > viewport()->height())
        down->setValue(down->value() + 1);
    select(m_anchor, positionAt(point));
}
