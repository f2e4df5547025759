// The report view's keys: Ctrl+F to the search box, Ctrl+P the print panel,
// Page Up and Page Down a screen and at the page's end the next page,
// Ctrl+Home and Ctrl+End the first and last page, Escape closes the print
// and colour panels, Ctrl+W the view, the paging buttons' access keys at once.
#include "gui/controls/JeweledButton.h"
#include "gui/report/FrmReport.h"
#include "gui/report/PageSearch.h"
#include "gui/report/ViewZoom.h"
#include "gui/printing/PrintPanel.h"
#include "gui/report/ReportColorPanel.h"
#include "gui/report/SheetView.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
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
    key("ActFindNext", QKeySequence(Qt::Key_F3), [this] { runSearch(1); });
    key("ActFindPrevious", QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { runSearch(-1); });
    key("ActFirstPage", QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { endKey(-1); });
    key("ActLastPage", QKeySequence(Qt::CTRL | Qt::Key_End), [this] { endKey(1); });
    key("ActClosePanel", QKeySequence(Qt::Key_Escape), [this] { closePanel(); });
    key("ActCloseView", QKeySequence(Qt::CTRL | Qt::Key_W), [this] { close(); });
}

void FrmReport::buildZoom()
{
    m_zoom = new ViewZoom(m_pageView, SheetPane, this);
    QMenu *menu = m_contextMenu->addMenu(tr("Zoom"));
    menu->setObjectName(QStringLiteral("MnuZoom"));
    const auto item = [this, menu](const char *name, const QString &caption, const QList<QKeySequence> &keys,
                          const std::function<void()> &run) {
        auto *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, run);
        addAction(action); // the keys work with the menu closed
    };
    item("ActZoomIn", tr("Zoom In"), {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        [this] { m_zoom->step(1); });
    item("ActZoomOut", tr("Zoom Out"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [this] { m_zoom->step(-1); });
    item("ActActualSize", tr("Actual Size"), {QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { m_zoom->setScale(1); });
    item("ActFitWidth", tr("Fit Width"), {}, [this] { m_zoom->fitWidth(); });
    item("ActFitPage", tr("Fit Page"), {}, [this] { m_zoom->fitPage(); });
}

void FrmReport::closePanel()
{
    // Escape stops a search under way first (the search box's own key).
    if (m_searching || m_search->running()) {
        m_stopSearch = true;
        m_search->stop();
        return;
    }
    // The panel on top first; the page takes the keys again.
    QWidget *panel = Frame1 && Frame1->isVisible() ? static_cast<QWidget *>(Frame1)
        : m_colorPanel && m_colorPanel->isVisible() ? static_cast<QWidget *>(m_colorPanel)
                                         : nullptr;
    if (!panel)
        return;
    panel->hide();
    shownPane()->setFocus(Qt::OtherFocusReason);
}

QAbstractScrollArea *FrmReport::shownPane() const
{
    return printedLook() && !Check3->isChecked() ? static_cast<QAbstractScrollArea *>(SheetPane) : shownText();
}

void FrmReport::endKey(int step)
{
    if (Check3->isChecked()) {
        // The continuous view has no pages: its start or end.
        QScrollBar *bar = shownText()->verticalScrollBar();
        bar->setValue(step > 0 ? bar->maximum() : bar->minimum());
        return;
    }
    if (step > 0)
        CmdLast_Click();
    else
        CmdFst_Click();
}

bool FrmReport::pageKeyEvent(QEvent *event)
{
    // The page keys in the page itself (which takes them for scrolling
    // before any window key is looked at).
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *press = static_cast<QKeyEvent *>(event);
    const int key = press->key();
    if (press->modifiers() == Qt::ControlModifier && (key == Qt::Key_Home || key == Qt::Key_End)) {
        endKey(key == Qt::Key_End ? 1 : -1);
        return true;
    }
    if (press->modifiers() != Qt::NoModifier || (key != Qt::Key_PageDown && key != Qt::Key_PageUp))
        return false;
    pageKey(key == Qt::Key_PageDown ? 1 : -1);
    return true;
}

void FrmReport::pageKey(int step)
{
    // A screen at a time, as a reader reads: the page turns only once its
    // end (or, going back, its start) is on screen, and the page before
    // shows from its end.
    QScrollBar *bar = shownPane()->verticalScrollBar();
    const bool atEnd = step > 0 ? bar->value() >= bar->maximum() : bar->value() <= bar->minimum();
    if (!atEnd || Check3->isChecked()) {
        bar->triggerAction(step > 0 ? QAbstractSlider::SliderPageStepAdd : QAbstractSlider::SliderPageStepSub);
        return;
    }
    if (step > 0 && (m_doc.currentPage() < PageCount() - 1 || !m_doc.pagesComplete())) {
        CmdNxt_Click();
    } else if (step < 0 && m_doc.currentPage() > 0) {
        CmdBck_Click();
        QScrollBar *shown = shownPane()->verticalScrollBar();
        shown->setValue(shown->maximum());
    }
}
