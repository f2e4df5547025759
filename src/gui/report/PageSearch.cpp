#include "gui/report/PageSearch.h"

#include "gui/platform/MessageBox.h"
#include "gui/report/SheetView.h"
#include "render/SheetText.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>
#include <utility>

namespace {

// A few megabytes a step: pending events run between steps, so the window
// answers and Escape stops the marking.
constexpr qint64 Step = 4 << 20;
constexpr qsizetype MostAStep = 4096;
// Each mark takes a few dozen bytes: a text found all over a large file is
// marked so far, not until memory runs out.
constexpr qsizetype MostMarks = 1000000;

bool isPointerInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace

PageSearch::PageSearch(PageView *page, SheetView *sheet, QLineEdit *box, QObject *parent)
    : QObject(parent)
    , m_page(page)
    , m_sheet(sheet)
    , m_box(box)
{
    setObjectName(QStringLiteral("PageSearch"));
    // "2 of 7" inside the box, at its right end.
    m_count = new QLabel(box);
    m_count->setObjectName(QStringLiteral("SearchCount"));
    m_count->setAccessibleName(tr("Matches"));
    m_count->setForegroundRole(QPalette::PlaceholderText);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 4, 0);
    row->addStretch(1);
    row->addWidget(m_count);
    m_count->hide();
    connect(box, &QLineEdit::textEdited, this, &PageSearch::clearCount);
}

void PageSearch::clearCount()
{
    m_count->hide();
    m_box->setTextMargins(0, 0, 0, 0);
}

void PageSearch::find(int direction, const PageView::Mark &look)
{
    if (m_running) {
        m_pendingSteps += direction;
        return;
    }
    const QString needle = m_box->text();
    if (needle.isEmpty())
        return;
    if (needle != m_needle || m_page->shared() != m_searched || !m_searched) {
        m_needle = needle;
        m_matches.clear();
        m_current = -1;
        m_markedTo = 0;
    }
    if (m_markedTo >= 0) {
        // Not marked yet, or stopped on the way: marked from where it stopped.
        QPointer<PageSearch> alive(this);
        const bool whole = markAll(needle, look);
        if (!alive || !whole)
            return;
    }
    step(direction);
    for (int pending = std::exchange(m_pendingSteps, 0); pending != 0; pending -= pending > 0 ? 1 : -1)
        step(pending > 0 ? 1 : -1);
}

bool PageSearch::markAll(const QString &needle, PageView::Mark look)
{
    QPointer<PageSearch> alive(this);
    m_searched = m_page->shared();
    const std::shared_ptr<ViewLines> searched = m_searched;
    const qint64 end = searched ? searched->positionCount() : 0;
    look.length = needle.size();
    m_running = true;
    m_stopped = false;
    m_page->installEventFilter(this);
    m_page->viewport()->installEventFilter(this);
    qint64 from = m_markedTo;
    while (from < end) {
        QCoreApplication::processEvents();
        if (!alive)
            return false; // the window was closed
        if (m_stopped || m_page->shared() != searched)
            break;
        const QVector<qint64> found = searched->findAll(needle, from, qMin(end, from + Step), MostAStep);
        for (const qint64 at : found) {
            look.start = at;
            m_page->addMark(look);
        }
        m_matches += found;
        from = found.size() == MostAStep ? found.last() + 1 : from + Step;
        if (m_matches.size() >= MostMarks && from < end) {
            MessageBox::information(m_page->window(),
                tr("The search stopped at %1 matches of \"%2\": those are marked.").arg(m_matches.size()).arg(needle),
                tr("Search"));
            from = end;
            break;
        }
    }
    m_markedTo = from < end ? from : -1;
    m_running = false;
    m_page->removeEventFilter(this);
    m_page->viewport()->removeEventFilter(this);
    giveHeldKeys();
    if (m_page->shared() != searched) {
        m_searched.reset(); // another page is shown: its matches are not these
        m_matches.clear();
        return false;
    }
    return m_markedTo < 0;
}

void PageSearch::step(int direction)
{
    if (m_matches.isEmpty()) {
        m_current = -1;
        showCount(0, 0);
        return;
    }
    const qint64 caret = m_page->selectionStart();
    const bool onMatch = m_current >= 0 && m_current < m_matches.size() && m_matches.at(m_current) == caret
        && m_page->selectionLength() == m_needle.size();
    if (onMatch) {
        m_current = int((m_current + direction + m_matches.size()) % m_matches.size());
    } else if (direction > 0) {
        // The first match from the caret on, or round to the first.
        const auto at = std::lower_bound(m_matches.cbegin(), m_matches.cend(), caret);
        m_current = at == m_matches.cend() ? 0 : int(at - m_matches.cbegin());
    } else {
        const auto at = std::lower_bound(m_matches.cbegin(), m_matches.cend(), caret);
        m_current = at == m_matches.cbegin() ? int(m_matches.size()) - 1 : int(at - m_matches.cbegin()) - 1;
    }
    const qint64 start = m_matches.at(m_current);
    m_page->select(start, start + m_needle.size());
    m_page->ensureVisible(start + m_needle.size());
    m_page->ensureVisible(start);
    showCount(current(), count());
    emit matchSelected();
}

void PageSearch::findOnSheet(int direction, const QColor &colour)
{
    const QString needle = m_box->text();
    if (needle.isEmpty())
        return;
    const Printed::Sheet &sheet = m_sheet->sheet();
    const QVector<QRectF> areas = SheetText::find(sheet, needle);
    const int total = int(areas.size());
    const QString key = QStringLiteral("%1:%2:%3").arg(sheet.firstByte).arg(sheet.endByte).arg(needle);
    if (total == 0)
        m_sheetCurrent = -1;
    else if (key == m_sheetKey && m_sheetCurrent >= 0)
        m_sheetCurrent = (m_sheetCurrent + direction + total) % total;
    else
        m_sheetCurrent = direction > 0 ? 0 : total - 1;
    m_sheetKey = key;
    m_sheet->setMarks(areas, colour, m_sheetCurrent);
    showCount(m_sheetCurrent + 1, total);
}

void PageSearch::showCount(int current, int total)
{
    m_count->setText(total == 0 ? tr("no match") : tr("%1 of %2").arg(current).arg(total));
    m_count->show();
    m_box->setTextMargins(0, 0, m_count->sizeHint().width() + 6, 0);
}

bool PageSearch::eventFilter(QObject *watched, QEvent *event)
{
    // While the matches are marked, keys typed into the page wait for it.
    if (m_running && (watched == m_page || watched == m_page->viewport())) {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            m_heldKeys.append(new QKeyEvent(key->type(), key->key(), key->modifiers(), key->text(),
                key->isAutoRepeat(), ushort(key->count())));
            return true;
        }
        if (event->type() == QEvent::KeyRelease || isPointerInput(event->type()))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

void PageSearch::giveHeldKeys()
{
    for (QEvent *key : std::exchange(m_heldKeys, {}))
        QCoreApplication::postEvent(m_page, key);
}
