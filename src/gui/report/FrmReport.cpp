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

QTextEdit *makeRichText(const QString &name, QWidget *parent)
{
    auto *edit = new QTextEdit(parent);
    edit->setObjectName(name);
    edit->setAcceptRichText(false);
    edit->setLineWrapMode(QTextEdit::NoWrap);
    edit->setFont(reportFont(ReportStartPoints));
    edit->document()->setDefaultFont(reportFont(ReportStartPoints));
    edit->setUndoRedoEnabled(false);
    return edit;
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
    connect(&m_doc, &ReportDocument::cutProgress, this, &FrmReport::showCutProgress);
    watchQuietBars();
    acceptFileDrops(this);
    fitCaptions(this);
    // Another desktop font: the captions measured again, the bars laid out
    // anew from the font's metrics.
    followFontChanges(this, [this] { layoutForm(); });

    setMinimumSize(tw(LeastWidthTwips), tw(5000));
    QSize size(tw(16500), tw(11000));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size.expandedTo(minimumSize()));
}

FrmReport::~FrmReport()
{
    countOut();
}

void FrmReport::buildControls()
{
    m_editText = makeRichText(QStringLiteral("Rt1"), this);
    m_editText->setReadOnly(true);
    m_editText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_editText->setContextMenuPolicy(Qt::NoContextMenu);
    m_editText->viewport()->setContextMenuPolicy(Qt::NoContextMenu);
    m_editText->installEventFilter(this);
    m_editText->viewport()->installEventFilter(this);
    m_pageView = new PageView(this);
    // Another page, file or match: the caption follows.
    connect(m_pageView, &PageView::selectionChanged, this, [this] { m_captionCurrent = false; });
    m_pageView->installEventFilter(this);
    m_pageView->viewport()->installEventFilter(this);
    SheetPane = new SheetView(this);
    SheetPane->hide();
    SheetPane->widget()->installEventFilter(this); // Ctrl+click zooms, a right-click shows the menu

    buildTopBar();
    buildBottomBar();
    buildKeys();

    buildContextMenu();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(300);
    connect(Timer1, &QTimer::timeout, this, &FrmReport::Timer1_Timer);
    Timer1->start();

    m_colorPanel = new ReportColorPanel(this);
    m_colorPanel->move(tw(120), tw(1500));
    connect(m_colorPanel, &ReportColorPanel::codePageChosen, this, [this] {
        // The panel wrote it into the document, and the page followed.
        m_fixedCodePage.reset();
        m_codePageBar->hide();
        // The continuous view stays continuous, read in the new code page.
        if (Check3->isChecked())
            Check3_Click(true);
    });
    connect(m_colorPanel, &ReportColorPanel::printedLookChosen, this, [this] { applyLook(); });
    // The swatches and the code page write the document; the page on screen
    // follows it at once.
    m_colorPanel->setDocument(&m_doc);
    connect(&m_doc, &ReportDocument::codePageChanged, this, [this] {
        if (!m_loading)
            showCodePage();
    });
    connect(&m_doc, &ReportDocument::markupChanged, this, &FrmReport::showMarkup);
    connect(&m_doc, &ReportDocument::paperColorChanged, this, &FrmReport::showPaper);
    connect(m_colorPanel, &ReportColorPanel::detectChosen, this, &FrmReport::detectCodePage);
    m_codePageBar = new CodePageBar(this);
    connect(m_codePageBar, &CodePageBar::switchChosen, this, &FrmReport::setCodePage);
    connect(m_colorPanel, &ReportColorPanel::formsChosen, this, [this] {
        applyForms(true);
        showPage(m_doc.currentPage());
    });
    buildLookChoice();
    buildZoom();
    PrintFileActions::addTo(this, m_contextMenu);
    connect(m_colorPanel, &ReportColorPanel::printerChosen, this, [this] {
        // Sheets of another length or width.
        m_doc.setPrinterSetup(ReportViewSettings::read().printerSetup());
        applyLook();
    });
    Frame1 = new PrintPanel(m_doc, this);
    // What prints of the page on screen: its text as shown, or the selection.
    Frame1->setShownText([this] { return onScreen(); });
    // The view follows the document: a zoom is shown where it changes, and
    // sheets that could not be read leave the printed look.
    connect(&m_doc, &ReportDocument::zoomChanged, this, &FrmReport::showZoom);
    connect(&m_doc, &ReportDocument::lookChanged, this, [this](bool printed) {
        if (!printed)
            m_colorPanel->ChkPrinted->setChecked(false);
    });
    connect(m_colorPanel->ChL, &QCheckBox::toggled, Frame1, &PrintPanel::setExtraLine);
    m_export = new ReportExport(m_doc, CmdExelExp, this);
    m_export->setRowShown([this](const QString &row) {
        if (row.isEmpty())
            Text4->clear();
        else
            Text4->setText(row);
    });
    connect(CmdPrint, &QPushButton::clicked, this, [this] {
        if (waitForPages())
            Frame1->CmdPrint_Click();
    });
}

void FrmReport::buildTopBar()
{
    // Placed and sized by layoutTopBar.
    Label4 = new QLabel(tr("Color Setting"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->installEventFilter(this);

    Check1 = new QCheckBox(tr("Vsual"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setChecked(true);
    connect(Check1, &QCheckBox::toggled, &m_doc, &ReportDocument::setVisual);

    Command2 = new JeweledButton(QStringLiteral("Command2"), tr("Zoom"), this);
    connect(Command2, &QPushButton::clicked, this, &FrmReport::Command2_Click);

    CmdImport = new JeweledButton(QStringLiteral("CmdImport"), tr("Import"), this);
    connect(CmdImport, &QPushButton::clicked, this, &FrmReport::CmdImport_Click);

    lb1 = new QLabel(tr(" Pre-View "), this);
    lb1->setObjectName(QStringLiteral("lb1"));
    QFont previewFont(QStringLiteral("Times New Roman"));
    previewFont.setStyleHint(QFont::Serif);
    previewFont.setPointSize(12);
    previewFont.setBold(true);
    lb1->setFont(previewFont);
    lb1->setAlignment(Qt::AlignCenter);
    lb1->setCursor(Qt::PointingHandCursor);
    lb1->installEventFilter(this);

    Label7 = new QLabel(tr("Search String"), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Text4 = new QLineEdit(this);
    Text4->setObjectName(QStringLiteral("Text4"));
    Text4->installEventFilter(this);
    m_search = new PageSearch(m_pageView, SheetPane, Text4, this);
    connect(m_search, &PageSearch::matchSelected, this, [this] { m_captionCurrent = false; });

    LbPageNo = new QLabel(this);
    LbPageNo->setObjectName(QStringLiteral("LbPageNo"));
    LbPageNo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont pageFont = LbPageNo->font();
    pageFont.setBold(true);
    LbPageNo->setFont(pageFont);
}

void FrmReport::buildBottomBar()
{
    Frame8 = new QFrame(this);
    Frame8->setObjectName(QStringLiteral("Frame8"));
    Frame8->setFrameShape(QFrame::StyledPanel);

    const struct
    {
        JeweledButton **button;
        const char *name;
        const char *caption;
        void (FrmReport::*handler)();
    } nav[] = {
        {&CmdFst, "CmdFst", QT_TR_NOOP("&First"), &FrmReport::CmdFst_Click},
        {&CmdBck, "CmdBck", QT_TR_NOOP("&Back"), &FrmReport::CmdBck_Click},
        {&CmdNxt, "CmdNxt", QT_TR_NOOP("&Next"), &FrmReport::CmdNxt_Click},
        {&CmdLast, "CmdLast", QT_TR_NOOP("&Last"), &FrmReport::CmdLast_Click},
    };
    for (const auto &n : nav) {
        *n.button = new JeweledButton(QString::fromLatin1(n.name), tr(n.caption), Frame8);
        connect(*n.button, &QPushButton::clicked, this, n.handler);
    }

    // The row is placed and sized by layoutBottomRow. The go-to label keeps
    // 8 pixels free on every side of its caption: it is made wide and tall
    // enough for its caption to show whole.
    SpLebal3 = new SpLebal(QStringLiteral("SpLebal3"), Frame8);
    SpLebal3->setCaption(tr("GOTO"));
    SpLebal3->setView3D(2);
    Text2 = new QLineEdit(Frame8);
    Text2->setObjectName(QStringLiteral("Text2"));
    KeyFilter::install(Text2, IntegerKeyFilter);
    Text2->installEventFilter(this);
    connect(Text2, &QLineEdit::returnPressed, this, &FrmReport::goToPage);

    JeweledButton1 = new JeweledButton(QStringLiteral("JeweledButton1"), tr("Export"), Frame8);
    connect(JeweledButton1, &QPushButton::clicked, this, &FrmReport::exportReport);
    CmdExelExp = new JeweledButton(QStringLiteral("CmdExelExp"), tr("Exel Export"), Frame8);
    CmdExelExp->hide();
    connect(CmdExelExp, &QPushButton::clicked, this, &FrmReport::CmdExelExp_Click);

    m_calculatorImage = new QLabel(this);
    m_calculatorImage->setObjectName(QStringLiteral("Image1"));
    m_calculatorImage->setPixmap(Calculator::picture(tw(360)));
    m_calculatorImage->setToolTip(tr("Calculator"));
    m_calculatorImage->resize(tw(360), tw(360));
    m_calculatorImage->installEventFilter(this);

    Check3 = new QCheckBox(tr("Cont.. "), this);
    Check3->setObjectName(QStringLiteral("Check3"));
    Check3->resize(tw(1000), tw(300));
    connect(Check3, &QCheckBox::clicked, this, &FrmReport::Check3_Click);
    Check2 = new QCheckBox(tr("Edit"), this);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->resize(tw(1000), tw(300));
    Check2->installEventFilter(this);
    connect(Check2, &QCheckBox::clicked, this, &FrmReport::Check2_Click);

    CmdPrint = new JeweledButton(QStringLiteral("CmdPrint"), tr("&Print"), this);
    CmdPrint->setToolTip(tr("Open Print Dilog Box"));
    CmdPrint->resize(tw(1000), tw(400));
    JeExit = new JeweledButton(QStringLiteral("JeExit"), tr("E&xit"), this);
    JeExit->resize(tw(1000), tw(400));
    connect(JeExit, &QPushButton::clicked, this, &QWidget::close);
}

bool FrmReport::LoadReport(const QString &file)
{
    // The file is read first, so a file that cannot be read changes nothing.
    // A large one is cut into pages after its first page: the view shows at
    // once, and the rest of the pages come in while it is on screen.
    QString error;
    if (file.isEmpty() || !m_doc.open(file, &error)) {
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
    m_colorPanel->move(m_colorPanel->x(), tw(1500));
    Label4->show();
    CmdPrint->show();
    if (!m_counted) {
        ++OpenViewCount;
        m_counted = true;
    }
    Frame1->setPaperHeightText(QStringLiteral("0"));
    m_colorPanel->showSettings(ReportViewSettings::read());
    if (PrintedLookBar::showsPrinted(file, m_doc.pages().bytes()))
        m_colorPanel->ChkPrinted->setChecked(true); // the user's answer for files of its kind
    if (m_fixedCodePage)
        m_colorPanel->setCodePage(*m_fixedCodePage);
    m_doc.setCodePage(m_colorPanel->codePage()); // before the sheets are read in it
    Frame1->readStoredMode();
    showPaper(m_doc.paperColor());
    Frame1->LoadPrinters();
    RefreshButtons(this);

    applyForms(m_colorPanel->printedLook());
    // Reading a file as printed takes a while (seconds for a gigabyte): a
    // view being opened is put on screen first, with the text, so that the
    // reading's progress and its Cancel show inside it.
    if (!isVisible() && m_colorPanel->printedLook()) {
        show();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    buildPrinted();
    m_changeBar->watch(file);
    m_cutBar->showProgress(0, m_doc.pagesComplete() ? 0 : 1, PageCount());
    m_editText->clear();
    m_doc.setCurrentPage(0);
    m_loading = false;
    showCodePage();
    offerDetectedCodePage();
    offerPrintedLook();
    setPageLabel(0);
    for (JeweledButton *b : {CmdBck, CmdNxt, CmdLast, CmdFst})
        b->setEnabled(true);
    m_loadedPageShown = true;
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
    return m_colorPanel->swatchColor(index);
}

void FrmReport::setColumnMarkCount(int count)
{
    m_doc.setColumnMarkCount(count);
}

QString FrmReport::tagText() const
{
    return Frame1->pageFile();
}

void FrmReport::exportReport()
{
    if (!waitForPages())
        return;
    m_export->exportReport(Frame1->pageSelection(), onScreen());
}

bool FrmReport::markingColumns() const
{
    return m_export && m_export->marking();
}

void FrmReport::CmdExelExp_Click()
{
    if (!waitForPages())
        return;
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
    Frame1->selectPageOption(0);
    layoutForm();
    if (!m_activated) {
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
    // the bottom bar (750 twips).
    int topBarWidth = 0;
    const int topBar = layoutTopBar(&topBarWidth);
    m_editText->setGeometry(tw(15), topBar, tw(formWidth - 100), qMax(0, height() - topBar - tw(750)));
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
    Check2->move(tw(contLeft), tw(barTop + 370));
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

    // The print panel is centred on the screen, but kept inside the window.
    CenterForm(Frame1);
    const int x = qBound(0, Frame1->x(), qMax(0, width() - Frame1->width()));
    const int y = qBound(0, Frame1->y(), qMax(0, height() - Frame1->height()));
    Frame1->move(x, y);
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
    PrintFileActions::rememberImportFilter(name);
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
    m_colorPanel->show();
    m_colorPanel->raise();
}
