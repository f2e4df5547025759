#include "gui/report/FrmReport.h"

#include "gui/controls/JeweledButton.h"
#include "gui/controls/SpLebal.h"
#include "gui/export/ReportExport.h"
#include "gui/platform/Dialogs.h"
#include "gui/platform/FormActivation.h"
#include "gui/platform/KeyFilter.h"
#include "gui/platform/CaptionFit.h"
#include "gui/platform/MessageBox.h"
#include "platform/Twips.h"
#include "gui/printing/PrintPanel.h"
#include "gui/report/Calculator.h"
#include "gui/report/FileChangeBar.h"
#include "gui/report/ForeignJobBar.h"
#include "escp/ForeignLanguage.h"
#include "gui/report/CodePageBar.h"
#include "gui/report/ReportColorPanel.h"
#include "gui/report/SheetView.h"
#include "report/PageText.h"
#include "report/ReportFont.h"
#include "gui/report/OpenReportView.h"
#include "gui/report/PageCutBar.h"
#include "gui/report/PageView.h"
#include "gui/report/PageSearch.h"
#include "gui/report/PrintFileActions.h"
#include "gui/report/PrintedLookBar.h"
#include "gui/report/ViewWait.h"
#include "report/RecentFiles.h"
#include "gui/startup/FormStartup.h"
#include "platform/AppPaths.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTextEdit>
#include <QScopeGuard>
#include <QTimer>

namespace {

// The form's back colour, 0x00BBGGRR 0xD7BEFE.
const QColor FormColor(0xFE, 0xBE, 0xD7);

int tw(double twips)
{
    return Twips::toPixels(twips);
}

double twipsOf(int pixels)
{
    return Twips::fromPixels(pixels);
}

void place(QWidget *w, double left, double top, double width, double height)
{
    w->setGeometry(tw(left), tw(top), tw(width), tw(height));
}

} // namespace

FrmReport::FrmReport(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FrmReport"));
    setAttribute(Qt::WA_DeleteOnClose);
    FormActivation::install();
    setWindowTitle(tr("Report View "));
    // The form keeps its own light colour under any desktop theme, and with
    // it dark text (a dark theme's white text is unreadable on it).
    QPalette p = palette();
    p.setColor(QPalette::Window, FormColor);
    p.setColor(QPalette::Active, QPalette::WindowText, Qt::black);
    p.setColor(QPalette::Inactive, QPalette::WindowText, Qt::black);
    p.setColor(QPalette::Disabled, QPalette::WindowText, Qt::darkGray);
    setPalette(p);
    setAutoFillBackground(true);
    buildControls();
    makeAccessible();
    m_changeBar = new FileChangeBar(this);
    connect(m_changeBar, &FileChangeBar::reloadRequested, this, [this] { LoadReport(m_doc.fileName()); });
    // A large file is cut into pages while its first ones are shown; Cancel
    // gives up the opening.
    m_cutBar = new PageCutBar(this);
    connect(m_cutBar, &PageCutBar::cancelled, this, &QWidget::close);
    m_foreignBar = new ForeignJobBar(this);
    connect(&m_doc, &ReportDocument::cutProgress, this, &FrmReport::showCutProgress);
    watchQuietBars();
    acceptFileDrops(this);
    fitCaptions(this);
    // Another desktop font: the captions measured again, the bars laid out
    // anew from the font's metrics.
    followFontChanges(this, [this] { layoutForm(); });

    setMinimumSize(tw(LeastWidthTwips), tw(LeastHeightTwips));
    QSize size(tw(16500), tw(11000));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size.expandedTo(minimumSize()));
}

FrmReport::~FrmReport()
{
    countOut();
}

bool FrmReport::LoadReport(const QString &file)
{
    // The file is read first, so a file that cannot be read changes nothing.
    // A large one is cut into pages after its first page: the view shows at
    // once, and the rest of the pages come in while it is on screen. A file
    // without form feeds is one page, known only once the whole file is cut,
    // and its lines take a while to find: the view is put on screen for
    // these waits, with their progress, and Cancel gives the opening up.
    m_opening = true;
    m_openingGivenUp = false;
    const auto opened = qScopeGuard([this] { m_opening = false; });
    QString error;
    bool read = false;
    if (!file.isEmpty()) {
        ViewWait wait(this, tr("Reading the pages of %1 ...").arg(QFileInfo(file).fileName()), tr("Cancel"), true);
        read = m_doc.open(file, &error, [&wait](qint64 done, qint64 total) { return wait.tell(done, total); });
        if (!read && error.isEmpty())
            return false; // given up
    }
    if (!read) {
        if (error.isEmpty())
            error = tr("No file name was given.");
        MessageBox::critical(this,
            tr("The print file \"%1\" cannot be read.\n%2").arg(QDir::toNativeSeparators(file), error),
            tr("Report View"));
        return false;
    }

    // The stored settings go into the document while the file loads; its
    // page is shown once, at the end.
    m_loading = true;
    const auto loaded = qScopeGuard([this] { m_loading = false; });
    placeColorPanel();
    Label4->show();
    CmdPrint->show();
    if (!m_counted) {
        ++OpenViewCount;
        m_counted = true;
    }
    if (Frame1)
        Frame1->setPaperHeightText(QStringLiteral("0"));
    const ReportViewSettings settings = ReportViewSettings::read();
    m_doc.setStoredLook(settings);
    // The stored look, or the user's answer for files of this kind.
    const bool printed = settings.printedLook || PrintedLookBar::showsPrinted(file, m_doc.pages().bytes());
    m_doc.setCodePage(m_fixedCodePage ? *m_fixedCodePage : settings.codePage); // before the sheets are read in it
    if (m_colorPanel)
        m_colorPanel->refresh(); // the stored printer
    if (Frame1) {
        Frame1->readStoredMode();
        Frame1->LoadPrinters();
    }
    showPaper(m_doc.paperColor());
    RefreshButtons(this);

    applyForms(printed);
    // Reading a file as printed takes a while (seconds for a gigabyte): a
    // view being opened is put on screen first, with the text, so that the
    // reading's progress and its Cancel show inside it.
    if (!isVisible() && printed) {
        show();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    m_doc.setPrintedLook(printed);
    buildPrinted();
    m_changeBar->watch(file);
    m_cutBar->showProgress(0, m_doc.pagesComplete() ? 0 : 1, PageCount());
    m_editText->clear();
    m_doc.setCurrentPage(0);
    m_loading = false;
    showCodePage();
    offerDetectedCodePage();
    offerPrintedLook();
    m_foreignBar->showFor(ForeignLanguage::of(m_doc.pages().bytes()));
    placeCodePageBar();
    setPageLabel(0);
    for (JeweledButton *b : {CmdBck, CmdNxt, CmdLast, CmdFst})
        b->setEnabled(true);
    m_loadedPageShown = true;
    if (m_openingGivenUp) {
        close(); // the file is the document's already: the view goes
        return false;
    }
    if (isVisible() && !m_activated) {
        // Put on screen while it was being opened: its first activation,
        // which the opening held back, is now (page 1, Back disabled).
        m_opening = false;
        activateView();
    }
    return true;
}

void FrmReport::setReloadsItself(bool on)
{
    m_changeBar->setReloadsItself(on);
}

int FrmReport::PageCount() const
{
    return m_doc.pageCount();
}

QColor FrmReport::swatchColor(int index) const
{
    return ReportColorPanel::swatchColor(m_doc, index);
}

void FrmReport::setColumnMarkCount(int count)
{
    m_doc.setColumnMarkCount(count);
}

QString FrmReport::tagText() const
{
    return Frame1 ? Frame1->pageFile() : QString();
}

void FrmReport::exportReport()
{
    if (!waitForPages())
        return;
    m_export->exportReport(printPanel()->pageSelection(), onScreen());
}

bool FrmReport::markingColumns() const
{
    return m_export && m_export->marking();
}

void FrmReport::CmdExelExp_Click()
{
    if (!waitForPages())
        return;
    // The workbook's columns are marked at the caret, and the printed look
    // has none: marking starts this view in the text (the stored look stays).
    // In the printed look no click was recorded, and an empty workbook was
    // written and called complete.
    if (!m_export->marking() && printedLook()) {
        m_doc.setPrintedLook(false);
        m_lookBar->hide();
        applyLook();
    }
    m_export->CmdExelExp_Click();
}

bool FrmReport::event(QEvent *event)
{
    // Returning from one of our own message boxes or dialogs is no new
    // activation: it must not reset the page option the user just chose.
    if (event->type() == QEvent::WindowActivate && FormActivation::cameFromAnotherForm(this))
        activateView();
    return QWidget::event(event);
}

void FrmReport::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    activateView();
}

void FrmReport::activateView()
{
    if (Frame1)
        Frame1->selectPageOption(0);
    layoutForm();
    if (!m_activated && !m_opening) {
        m_activated = true;
        // The first activation shows page 1. When the load has just shown it
        // and nothing has touched it since, it is not built a second time
        // (on a long page that would double the wait).
        if (m_loadedPageShown && m_doc.currentPage() == 0 && !m_editText->document()->isModified()) {
            setPageLabel(0);
            CmdBck->setEnabled(false);
            CmdNxt->setEnabled(true);
        } else {
            CmdFst_Click();
        }
    }
}

void FrmReport::layoutForm()
{
    const double formWidth = twipsOf(width());
    // The page under the top bar (500 twips at the form's font) and over
    // the bottom bar (750 twips), each as tall as its controls need.
    int topBarWidth = 0;
    const int topBar = layoutTopBar(&topBarWidth);
    const int bottomBar = sizeBottomRight();
    m_editText->setGeometry(tw(15), topBar, tw(formWidth - 100), qMax(0, height() - topBar - bottomBar));
    SheetPane->setGeometry(m_editText->geometry());
    m_pageView->setGeometry(m_editText->geometry());
    m_changeBar->setGeometry(m_editText->x(), m_editText->y(), m_editText->width(), m_changeBar->sizeHint().height());
    const double barTop = twipsOf(m_editText->y() + m_editText->height());
    placeCodePageBar();

    const double exitLeft = formWidth - twipsOf(JeExit->width()) - 200;
    const double printLeft = formWidth - twipsOf(CmdPrint->width()) - twipsOf(JeExit->width()) - 260;
    // The two boxes stand one above the other: room for the wider caption.
    const double contLeft = printLeft - twipsOf(qMax(Check3->width(), Check2->width())) - 300;
    JeExit->move(tw(exitLeft), tw(barTop + 150));
    CmdPrint->move(tw(printLeft), tw(barTop + 150));
    Check3->move(tw(contLeft), tw(barTop + 40));
    Check2->move(tw(contLeft), qMax(tw(barTop + 370), Check3->geometry().bottom() + 1 + tw(30)));
    // The picture sits left of the check boxes; it is drawn 15 twips further
    // right and down while the mouse is on it.
    m_imageHome = QPoint(tw(contLeft - 400), tw(barTop + 170));
    m_calculatorImage->move(m_imageHome + (m_calculatorPressed ? QPoint(tw(15), tw(15)) : QPoint()));
    place(Frame8, 30, barTop, qMax(0.0, twipsOf(m_imageHome.x()) - 130), 700);
    const int rowEnd = layoutBottomRow();

    // Narrower than this, the bars' controls would run into each other or
    // out of the bottom bar.
    const int bottomBarWidth = tw(30 + 60 + 130) + rowEnd + (width() - m_imageHome.x());
    const int least = qMax(tw(LeastWidthTwips), qMax(topBarWidth, bottomBarWidth));
    if (least != minimumWidth())
        setMinimumWidth(least);
    placeColorPanel();
    placePrintPanel();
}

void FrmReport::placePrintPanel()
{
    if (!Frame1)
        return;
    CenterForm(Frame1);
    const int x = qBound(0, Frame1->x(), qMax(0, width() - Frame1->width()));
    const int y = qBound(0, Frame1->y(), qMax(0, height() - Frame1->height()));
    Frame1->move(x, y);
}

void FrmReport::placeColorPanel()
{
    // The colour panel is as tall as its font makes it: the window is never
    // lower than it, and it moves up from under the top bar as far as it
    // must to show whole. It is built when it is first shown.
    if (!m_colorPanel) {
        if (tw(LeastHeightTwips) != minimumHeight())
            setMinimumHeight(tw(LeastHeightTwips));
        return;
    }
    const int panelHeight = m_colorPanel->sizeHint().height();
    const int leastHeight = qMax(tw(LeastHeightTwips), panelHeight + tw(240));
    if (leastHeight != minimumHeight())
        setMinimumHeight(leastHeight);
    m_colorPanel->move(m_colorPanel->x(), qBound(0, tw(ColorPanelTopTwips), height() - panelHeight));
}

void FrmReport::closeEvent(QCloseEvent *event)
{
    m_stopSearch = true; // stops a running search
    Timer1->stop();
    countOut();
    event->accept();
}

void FrmReport::countOut()
{
    if (!m_counted)
        return;
    m_counted = false;
    if (OpenViewCount > 0)
        --OpenViewCount;
}

bool FrmReport::eventFilter(QObject *watched, QEvent *event)
{
    quietBarEvent(watched, event);
    if ((m_editText && watched == m_editText->viewport()) || (m_pageView && watched == m_pageView->viewport())
        || (SheetPane && watched == SheetPane->widget()))
        return editTextMouseEvent(event) || QWidget::eventFilter(watched, event);
    if (watched == m_editText || watched == m_pageView)
        return editTextKeyEvent(event) || QWidget::eventFilter(watched, event);

    const QEvent::Type type = event->type();
    if (watched == Text4 && type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Escape) {
            m_stopSearch = true;
            m_search->stop();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runSearch(static_cast<QKeyEvent *>(event)->modifiers() & Qt::ShiftModifier ? -1 : 1);
            return true;
        }
    } else if (watched == Text2 && type == QEvent::FocusOut) {
        Text2->clear();
    } else if (watched == Check2 && type == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const bool shiftRight = mouse->button() == Qt::RightButton && mouse->modifiers() == Qt::ShiftModifier;
        Check1->setChecked(shiftRight);
    } else if (watched == m_calculatorImage) {
        if (type == QEvent::Enter)
            setImagePressed(true);
        else if (type == QEvent::Leave)
            setImagePressed(false);
        else if (type == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            startCalculator();
    } else if ((watched == Label4 || watched == lb1) && type == QEvent::MouseButtonRelease) {
        showColorPanel();
    }
    return QWidget::eventFilter(watched, event);
}

void FrmReport::CmdImport_Click()
{
    // The dialog starts where the file shown lies, with the kind of file
    // imported last offered first.
    const QString chosen = Dialogs::openFileName(this,
        tr("[ TXT File Only ]Select A File From Which To Retrive Data"), PrintFileActions::importFilter(),
        m_importName.isEmpty() ? QFileInfo(m_doc.fileName()).absolutePath() : m_importName);
    // The dialog keeps the last name chosen in this view: cancelling it after
    // an earlier Import loads that file again.
    const QString name = chosen.isEmpty() ? m_importName : chosen;
    if (name.isEmpty())
        return;
    m_importName = name;
    QString file = ShortPathOf(name);
    if (file.isEmpty())
        file = name;
    if (!LoadReport(file))
        return;
    RecentFiles::add(name);
    m_unsavedImport.tell(this, PrintFileActions::rememberImportFilter(name));
}

void FrmReport::startCalculator()
{
    QString error;
    if (!Calculator::start(&error))
        MessageBox::information(this, error, tr("Calculator"));
}

void FrmReport::setImagePressed(bool pressed)
{
    if (m_calculatorPressed == pressed)
        return;
    m_calculatorPressed = pressed;
    m_calculatorImage->move(m_imageHome + (pressed ? QPoint(tw(15), tw(15)) : QPoint()));
}

void FrmReport::showColorPanel()
{
    colorPanel()->show();
    m_colorPanel->raise();
}
