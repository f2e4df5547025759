// The report view's keys: Ctrl+F to the search box, Ctrl+P the print panel,
// Page Up and Page Down the pages, the paging buttons' access keys at once.
#include "gui/controls/JeweledButton.h"
#include "gui/report/FrmReport.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextEdit>

namespace {

// A button's own access key (Alt+N for "&Next") clicks it at once: Qt's
// default shows the button pressed for a tenth of a second first, so a
// page turned by key came a hundred milliseconds later than by click.
class ClickAtOnce : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Shortcut)
            return false;
        auto *button = static_cast<QAbstractButton *>(watched);
        if (static_cast<QShortcutEvent *>(event)->isAmbiguous() || !button->isEnabled())
            return false;
        button->click();
        return true;
    }
};

} // namespace

void FrmReport::buildKeys()
{
    auto *atOnce = new ClickAtOnce(this);
    for (QAbstractButton *button : {static_cast<QAbstractButton *>(CmdFst), static_cast<QAbstractButton *>(CmdBck),
             static_cast<QAbstractButton *>(CmdNxt), static_cast<QAbstractButton *>(CmdLast)})
        button->installEventFilter(atOnce);

    const auto key = [this](const char *name, const QKeySequence &sequence, const std::function<void()> &run) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(sequence);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, run);
        addAction(action);
    };
    key("ActFind", QKeySequence(Qt::CTRL | Qt::Key_F), [this] {
        Text4->setFocus(Qt::ShortcutFocusReason);
        Text4->selectAll();
    });
    key("ActPrintPanel", QKeySequence(Qt::CTRL | Qt::Key_P), [this] { CmdPrint->click(); });
    key("ActNextPage", QKeySequence(Qt::Key_PageDown), [this] { pageKey(1); });
    key("ActPreviousPage", QKeySequence(Qt::Key_PageUp), [this] { pageKey(-1); });
}

bool FrmReport::pageKeyEvent(QEvent *event)
{
    // The page keys in the page itself (which takes them for scrolling
    // before any window key is looked at).
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *press = static_cast<QKeyEvent *>(event);
    if (press->modifiers() != Qt::NoModifier
        || (press->key() != Qt::Key_PageDown && press->key() != Qt::Key_PageUp))
        return false;
    pageKey(press->key() == Qt::Key_PageDown ? 1 : -1);
    return true;
}

void FrmReport::pageKey(int step)
{
    if (Check3->isChecked()) {
        // The continuous view has no pages: the keys scroll it.
        shownText()->verticalScrollBar()->triggerAction(
            step > 0 ? QAbstractSlider::SliderPageStepAdd : QAbstractSlider::SliderPageStepSub);
        return;
    }
    if (step > 0 && m_doc.currentPage() < PageCount() - 1)
        CmdNxt_Click();
    else if (step < 0 && m_doc.currentPage() > 0)
        CmdBck_Click();
}
