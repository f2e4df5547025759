#include "gui/printing/PrintPanel.h"
#include "printing/RawPrinting.h"

#include "gui/platform/FirstPaint.h"

#include "gui/controls/JeweledButton.h"
#include "gui/platform/CaptionFit.h"
#include "gui/platform/FirstPaint.h"
#include "gui/platform/MessageBox.h"
#include "platform/NumericText.h"
#include "platform/SettingsStore.h"
#include "gui/printing/CurrentPrinter.h"
#include "gui/printing/PrintPanelLook.h"
#include "printing/PrinterList.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QEventLoop>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScrollBar>
#include <QThread>

#include <cmath>
#include <limits>
#include <memory>

namespace {

// A typed page number as a whole number: rounded to the nearest, halves to
// even, and held within what a page number can be, so a number too large
// for one (a range typed "1 to 99999999999") reads as a very large page
// rather than wrapping round to a negative one. (A view may have a million
// pages: page 40000 is a page like any other.)
int pageNumberOf(const QLineEdit *box)
{
    const long long lowest = std::numeric_limits<int>::min(), highest = std::numeric_limits<int>::max();
    return int(qBound(lowest, NumericText::roundedValue(box->text()), highest));
}

QString informationTitle()
{
    return QCoreApplication::translate("Printing", "Information Window");
}

void setBold(QWidget *w, bool bold)
{
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
    fitCaption(w);
}

} // namespace

using namespace PrintPanelLook;

void PrintPanel::CmdPrint_Click()
{
    show();
    raise();
    waitForPrinters();
    if (CboPrinters->count() == 0) {
        MessageBox::show(this,
            m_listingError.isEmpty()
                ? QCoreApplication::translate("Printing", "No Printers Installed to do the Print job")
                : m_listingError,
            informationTitle(), QMessageBox::Information);
        return;
    }
    const int selected = CboPrinters->currentIndex();
    if (selected < 0 || CboPrinters->itemText(selected).isEmpty()) {
        MessageBox::show(this, tr("Select any of the Printer from  Printers Collection"), informationTitle(),
            QMessageBox::Information);
        CboPrinters->setFocus();
    }
}

void PrintPanel::modeRule()
{
    m_unsaved.tell(this, SettingsStore::save(SettingsAppName, QStringLiteral("ReportView"), QStringLiteral("Winp"),
        OptWinMode->isChecked() ? QStringLiteral("1") : QStringLiteral("0")));
    applyModeLook();
}

void PrintPanel::applyModeLook()
{
    const bool windows = OptWinMode->isChecked();
    setBold(OptWinMode, windows);
    FrmWin->setEnabled(windows);
    CmdPreview->setEnabled(windows);
    setBold(OptCharMode, OptCharMode->isChecked());
}

void PrintPanel::pitchRule(QCheckBox *clicked)
{
    // Boxes cleared here do not run the rules themselves (no click).
    if (clicked == Ch10) {
        setBold(Ch10, true);
        setBold(Ch12, false);
        setBold(Ch17, false);
        Ch12->setChecked(false);
        Ch17->setChecked(false);
    } else if (clicked == Ch12 || clicked == Ch17) {
        setBold(Ch10, false);
        setBold(clicked, true);
        Ch10->setChecked(false);
    } else if (clicked == ChDraft) {
        setBold(ChDraft, ChDraft->isChecked());
    }
}

void PrintPanel::pageOptionRule()
{
    for (QRadioButton *option : Op)
        setBold(option, option->isChecked());
    const bool range = Op[2]->isChecked();
    for (QLineEdit *box : {Tst, Tend}) {
        box->setEnabled(range);
        setBoxColor(box, range ? EnabledBoxColor : DisabledBoxColor);
    }
}

void PrintPanel::VScroll1_Change(int position)
{
    Text3->setText(QString::number(100 - position));
}

bool PrintPanel::checkRange()
{
    const auto number = [](const QLineEdit *box) { return NumericText::leadingNumber(box->text()); };
    if (number(Tst) >= number(Tend))
        Tend->setText(Tst->text());
    if (number(Tend) > m_pageCount)
        Tend->setText(QString::number(m_pageCount));
    if (Tst->text().isEmpty() || number(Tst) == 0)
        Tst->setText(QStringLiteral("1"));
    if (Tend->text().isEmpty() || number(Tend) == 0) {
        MessageBox::show(this, tr("plese Check Velue..."));
        Tend->setFocus();
        return false;
    }
    return true;
}

bool PrintPanel::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the range end checks the range; a range without an end keeps
    // the focus there. Switching to another window is not leaving it.
    // A box that is disabled or hidden (the view choosing "All Pages", the
    // panel closing) is not being left by the user.
    if (watched == Tend && event->type() == QEvent::FocusOut && !m_checkingRange && Tend->isEnabled()
        && Tend->isVisible()) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            m_checkingRange = true;
            const bool valid = checkRange();
            m_checkingRange = false;
            if (!valid)
                QMetaObject::invokeMethod(Tend, qOverload<>(&QWidget::setFocus), Qt::QueuedConnection);
        }
    }
    return QFrame::eventFilter(watched, event);
}

void PrintPanel::LoadPrinters()
{
    const int listing = ++m_listing;
    m_printersDue = true;
    FirstPaint::then(this, this, [this, listing] { askForPrinters(listing); });
}

void PrintPanel::askForPrinters(int listing)
{
    if (listing != m_listing || listing == m_askedListing)
        return; // a later listing is asked for already, or this one is under way
    m_askedListing = listing;
    auto list = std::make_shared<PrinterList>();
    QThread *asking = QThread::create([list] { *list = PrinterList::fetch(); });
    connect(asking, &QThread::finished, this, [this, list, listing] {
        if (listing == m_listing)
            showPrinters(*list);
    });
    connect(asking, &QThread::finished, asking, &QObject::deleteLater);
    asking->start();
}

void PrintPanel::waitForPrinters()
{
    if (!m_printersDue)
        return;
    askForPrinters(m_listing); // not asked yet when the window is not drawn yet
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    QEventLoop loop;
    connect(this, &PrintPanel::printersListed, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QGuiApplication::restoreOverrideCursor();
}

bool PrintPanel::printServerAnswered()
{
    if (!m_printers.timedOut)
        return true;
    MessageBox::show(this, m_printers.error, informationTitle(), QMessageBox::Information);
    LoadPrinters(); // the server may answer the next click
    return false;
}

void PrintPanel::showPrinters(const PrinterList &list)
{
    m_printersDue = false;
    m_printers = list;
    // No spooler at all is no printer installed; one that does not answer is told.
    m_listingError = list.timedOut ? list.error : QString();
    CboPrinters->clear();
    CboPrinters->addItems(list.names);
    emit printersListed();
    if (CboPrinters->count() == 0)
        return;
    // The current printer is the selected entry when the list has it.
    const QString current = CurrentPrinter::chosen().isEmpty() ? list.defaultName : CurrentPrinter::chosen();
    CboPrinters->setCurrentIndex(CboPrinters->findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive));
    CboPrinters->setCurrentText(current);
    LaDefult->setText(tr("Defult Printer :%1").arg(current));
}

void PrintPanel::setPaperHeightText(const QString &text)
{
    ComPaperHeight->setCurrentText(text);
}

void PrintPanel::setPageCount(int pageCount)
{
    m_pageCount = pageCount;
    Tend->setToolTip(tr(" %1  : Maximum ").arg(pageCount));
}

void PrintPanel::selectPageOption(int index)
{
    if (index < 0 || index >= 3)
        return;
    Op[index]->setChecked(true);
    pageOptionRule();
}

int PrintPanel::pageOption() const
{
    return m_pageGroup->checkedId();
}

void PrintPanel::readStoredMode()
{
    const QString stored = SettingsStore::read(
        SettingsAppName, QStringLiteral("ReportView"), QStringLiteral("Winp"), QStringLiteral("0"));
    if (NumericText::isNumber(stored) && NumericText::leadingNumber(stored) != 0) {
        OptWinMode->setChecked(true);
        applyModeLook();
    }
}

bool PrintPanel::windowsMode() const
{
    return OptWinMode->isChecked();
}

PageSelection PrintPanel::pageSelection() const
{
    PageSelection pages;
    switch (pageOption()) {
    case 2: // "Page Range": the typed numbers as they stand, 1-based
        pages.kind = PageSelection::Range;
        pages.first = pageNumberOf(Tst);
        pages.last = pageNumberOf(Tend);
        break;
    case 1:
        pages.kind = PageSelection::Current;
        break;
    default:
        break;
    }
    return pages;
}

PrintChoice PrintPanel::choice() const
{
    PrintChoice c;
    c.mode = windowsMode() ? PrintMode::Desktop : PrintMode::Character;
    c.pages = pageSelection();
    c.copiesText = Text3->text();
    c.copies = copiesOf(c.copiesText);
    c.printerName = CboPrinters->currentText();
    c.pageOnScreen = Chwinprint->isChecked();
    return c;
}
