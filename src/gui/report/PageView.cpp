#include "gui/report/PageView.h"

#include <QApplication>
#include <QDateTime>
#include <QClipboard>
#include <QKeyEvent>
#include <QScrollBar>

#include <cmath>

#include <algorithm>

PageView::PageView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("PageView"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->setSingleStep(20);
    m_measure.setSingleShot(true);
    m_measure.setInterval(0);
    connect(&m_measure, &QTimer::timeout, this, &PageView::measureWidth);
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
    m_measured = false;
    m_measure.start();
    layScreen();
    emit selectionChanged();
}

void PageView::measureWidth()
{
    // A page of ordinary size is measured whole once it is on screen, so the
    // scroll bar reaches its widest line as drawn (control codes take no
    // room); a larger one is only estimated from its longest line until its
    // lines are on screen.
    constexpr qint64 MeasuredUpTo = 1 << 20;
    if (!m_lines || m_lines->positionCount() > MeasuredUpTo)
        return;
    m_measured = true;
    constexpr qint64 Step = 256;
    for (qint64 first = 0; first < m_lines->lineCount(); first += Step) {
        for (const ViewLine &line : m_lines->lines(first, Step))
            m_widest = qMax(m_widest, lineWidth(line));
    }
    updateScrollBars();
}

void PageView::setTextFont(const QFont &font)
{
    m_font = font;
    m_looks.clear();
    m_madeLooks.clear();
    m_widest = 0;
    m_measured = false;
    m_measure.start();
    layScreen();
}

void PageView::setScale(qreal scale)
{
    if (scale <= 0 || scale == m_scale)
        return;
    // The place across is kept in proportion.
    QScrollBar *across = horizontalScrollBar();
    const qreal ratio = scale / m_scale;
    const int acrossAt = int(across->value() * ratio);
    m_scale = scale;
    setTextFont(m_font);
    across->setValue(acrossAt);
}

qreal PageView::contentWidth() const
{
    const qreal estimated = m_lines && !m_measured ? m_lines->index().longestLine() * look(0).advance + 2 * Margin : 0;
    return qMax(estimated, m_widest);
}

qreal PageView::plainLineHeight() const
{
    return std::ceil(look(0).ascent + look(0).descent);
}

void PageView::setBackground(const QColor &colour, const QColor &text)
{
    m_background = colour;
    if (text != m_text) {
        m_text = text;
        m_looks.clear();
        m_madeLooks.clear();
        layScreen();
    }
    viewport()->update();
}

void PageView::updateScrollBars()
{
    const qint64 count = m_lines ? m_lines->lineCount() : 1;
    // Lines are whole pixels high and start below the margin: a page of
    // plain lines is the lines that fit whole, so the last line can be
    // scrolled to.
    const qreal lineHeight = qMax<qreal>(1, std::ceil(look(0).ascent + look(0).descent));
    const int page = qMax(1, int((viewport()->height() - Margin) / lineHeight));
    QScrollBar *down = verticalScrollBar();
    const QSignalBlocker quiet(down);
    down->setRange(0, int(qBound<qint64>(0, count - page, qint64(INT_MAX))));
    down->setPageStep(page);
    const qreal longest = m_lines && !m_measured ? m_lines->index().longestLine() * look(0).advance + 2 * Margin : 0;
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
    } else if (control && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
        to = wordEdge(m_caret, event->key() == Qt::Key_Right ? 1 : -1);
        handled = true;
    } else {
        to = moved(event->key(), &handled);
    }
    if (!handled)
        return QAbstractScrollArea::keyPressEvent(event);
    select(extend ? m_anchor : to, to);
    ensureVisible(m_caret);
    if (extend)
        offerPrimarySelection();
}

void PageView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    const qint64 at = positionAt(event->position().toPoint());
    // A third click soon after a double click, where it was: the line.
    const bool third = m_doubleClickTime >= 0
        && QDateTime::currentMSecsSinceEpoch() - m_doubleClickTime <= QApplication::doubleClickInterval()
        && (event->position().toPoint() - m_doubleClickAt).manhattanLength() <= QApplication::startDragDistance();
    m_doubleClickTime = -1;
    if (third)
        return selectLineAt(at);
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

// The caret shows while the view has the focus.
void PageView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void PageView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}
