// Selecting in the page view as in a text editor: words by a double click
// and Ctrl+Left/Right, a line by a triple click, and the selection handed
// to the desktop's primary selection.
#include "gui/report/PageView.h"

#include "gui/platform/MessageBox.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QMouseEvent>

namespace {

// Words are read from this much text either side of the caret, so a page
// that is one line of megabytes costs no more than a screen.
constexpr qint64 WordWindow = 4096;
// A selection larger than this is not offered as the primary selection: it
// would be copied whole at every change.
constexpr qint64 MostPrimary = 4 << 20;

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

qint64 PageView::wordEdge(qint64 position, int direction) const
{
    if (!m_lines)
        return position;
    const LineIndex &index = m_lines->index();
    const LineIndex::Line line = index.lineAt(position);
    const qint64 lineEnd = line.position + lineLength(line);
    const qint64 from = qMax(line.position, position - WordWindow);
    const QString text = m_lines->text(from, qMin(lineEnd, position + WordWindow));
    qint64 at = position - from;
    if (direction > 0) {
        if (position >= lineEnd)
            return line.number + 1 < index.lineCount() ? index.line(line.number + 1).position : position;
        while (at < text.size() && isWordCharacter(text.at(at)))
            ++at;
        while (at < text.size() && !isWordCharacter(text.at(at)))
            ++at;
        return from + at;
    }
    if (position <= line.position) {
        if (line.number == 0)
            return 0;
        const LineIndex::Line before = index.line(line.number - 1);
        return before.position + lineLength(before);
    }
    while (at > 0 && !isWordCharacter(text.at(at - 1)))
        --at;
    while (at > 0 && isWordCharacter(text.at(at - 1)))
        --at;
    return from + at;
}

void PageView::selectWordAt(qint64 position)
{
    if (!m_lines)
        return;
    const LineIndex::Line line = m_lines->index().lineAt(position);
    const qint64 lineEnd = line.position + lineLength(line);
    const qint64 from = qMax(line.position, position - WordWindow);
    const QString text = m_lines->text(from, qMin(lineEnd, position + WordWindow));
    qint64 start = position - from;
    qint64 end = start;
    if (end < text.size() && isWordCharacter(text.at(end))) {
        while (start > 0 && isWordCharacter(text.at(start - 1)))
            --start;
        while (end < text.size() && isWordCharacter(text.at(end)))
            ++end;
    } else if (end < text.size()) {
        ++end; // a space or a sign alone
    }
    select(from + start, from + end);
}

void PageView::selectLineAt(qint64 position)
{
    if (!m_lines)
        return;
    const LineIndex &index = m_lines->index();
    const LineIndex::Line line = index.lineAt(position);
    // The line with its line end, as a text editor selects it.
    const qint64 end = line.number + 1 < index.lineCount() ? index.line(line.number + 1).position
                                                            : line.position + lineLength(line);
    select(line.position, end);
}

void PageView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseDoubleClickEvent(event);
    selectWordAt(positionAt(event->position().toPoint()));
    m_doubleClickTime = QDateTime::currentMSecsSinceEpoch();
    m_doubleClickAt = event->position().toPoint();
    offerPrimarySelection();
}

void PageView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        offerPrimarySelection();
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void PageView::offerPrimarySelection() const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection() && selectionLength() > 0 && selectionLength() <= MostPrimary)
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void PageView::copy()
{
    if (selectionLength() <= 0)
        return;
    if (selectionLength() > m_mostCopied) {
        MessageBox::show(this,
            tr("The selection holds %L1 characters, more than the %L2 the clipboard takes. "
               "Nothing was copied: export the pages as text instead.")
                .arg(selectionLength())
                .arg(m_mostCopied),
            tr("Information Window"), QMessageBox::Information);
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QGuiApplication::clipboard()->setText(selectedText());
    QGuiApplication::restoreOverrideCursor();
}
