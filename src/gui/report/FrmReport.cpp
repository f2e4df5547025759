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
#include "gui/rules/RulesDialog.h"
#include "report/PageText.h"
#include "report/ReportFont.h"
#include "gui/report/OpenReportView.h"
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
#include <QProgressDialog>
#include <QScreen>
#include <QTextEdit>
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

void setLeft(QWidget *w, double left)
{
    w->move(tw(left), w->y());
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
    setWindowTitle(QStringLiteral("Report View "));
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
    // What prints of the page on screen: its text as shown (edited while
    // Edit is ticked), or the user's selection.
    m_doc.setShownText({[this] { return PageText::text(Rt1->document()); },
        [this] { return hasUserSelection() ? Rt1->textCursor().selectedText() : QString(); }});
    m_changeBar = new FileChangeBar(this);
    connect(m_changeBar, &FileChangeBar::reloadRequested, this, [this] { LoadReport(m_doc.fileName()); });
    watchQuietBars();
    acceptFileDrops(this);
    fitCaptions(this);

    // Narrower than this, the centred preview label runs into the search
    // box and the bottom bar cuts off its export button.
    setMinimumSize(tw(12300), tw(5000));
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
    Rt1 = makeRichText(QStringLiteral("Rt1"), this);
    Rt1->setReadOnly(true);
    Rt1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Rt1->setContextMenuPolicy(Qt::NoContextMenu);
    Rt1->viewport()->setContextMenuPolicy(Qt::NoContextMenu);
    Rt1->installEventFilter(this);
    Rt1->viewport()->installEventFilter(this);
    m_pageView = new PageView(this);
    // Another page, file or match: the caption follows.
    connect(m_pageView, &PageView::selectionChanged, this, [this] { m_timerTag = QStringLiteral("0"); });
    m_pageView->installEventFilter(this);
    m_pageView->viewport()->installEventFilter(this);
    SheetPane = new SheetView(this);
    SheetPane->hide();
    SheetPane->widget()->installEventFilter(this); // Ctrl+click zooms, a right-click shows the menu

    buildTopBar();
    buildBottomBar();
    buildKeys();

    AQ = new QMenu(QStringLiteral("aaa"), this);
    AQ->setObjectName(QStringLiteral("AQ"));
    cccc = AQ->addAction(QStringLiteral("Copy"));
    cccc->setObjectName(QStringLiteral("cccc"));
    pppp = AQ->addAction(QStringLiteral("Paste"));
    pppp->setObjectName(QStringLiteral("pppp"));
    AQ->addSeparator()->setObjectName(QStringLiteral("g2"));
    ht = AQ->addAction(QStringLiteral("Highlight Text"));
    ht->setObjectName(QStringLiteral("ht"));
    connect(cccc, &QAction::triggered, this, [this] { sendControlKey(Qt::Key_C); });
    connect(pppp, &QAction::triggered, this, [this] { sendControlKey(Qt::Key_V); });
    connect(ht, &QAction::triggered, this, &FrmReport::highlightSelection);
    AQ->addSeparator();
    QAction *rules = AQ->addAction(QStringLiteral("Rules..."));
    rules->setObjectName(QStringLiteral("rulesAction"));
    connect(rules, &QAction::triggered, this, [this] {
        auto *dialog = new RulesDialog(reportFile(), codePage(), this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        if (dialog->chooseRules())
            dialog->show();
        else
            dialog->close();
    });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(300);
    connect(Timer1, &QTimer::timeout, this, &FrmReport::Timer1_Timer);
    Timer1->start();

    Frame6 = new ReportColorPanel(this);
    Frame6->move(tw(120), tw(1500));
    connect(Frame6, &ReportColorPanel::codePageChosen, this, [this] {
        m_fixedCodePage.reset();
        m_codePageBar->hide();
        applyCodePage();
        // The continuous view stays continuous, read in the new code page.
        if (Check3->isChecked())
            Check3_Click(true);
    });
    connect(Frame6, &ReportColorPanel::printedLookChosen, this, [this] { applyLook(); });
    connect(Frame6, &ReportColorPanel::swatchChanged, this, &FrmReport::syncMarkup);
    connect(Frame6, &ReportColorPanel::detectChosen, this, &FrmReport::detectCodePage);
    m_codePageBar = new CodePageBar(this);
    connect(m_codePageBar, &CodePageBar::switchChosen, this, &FrmReport::setCodePage);
    connect(Frame6, &ReportColorPanel::formsChosen, this, [this] {
        applyForms(true);
        showPage(m_doc.currentPage());
    });
    buildLookChoice();
    buildZoom();
    PrintFileActions::addTo(this, AQ);
    connect(Frame6, &ReportColorPanel::printerChosen, this, [this] {
        // Sheets of another length or width.
        m_doc.setPrinterSetup(ReportViewSettings::read().printerSetup());
        applyLook();
    });
    Frame1 = new PrintPanel(m_doc, this);
    connect(Frame6->ChL, &QCheckBox::toggled, Frame1, &PrintPanel::setExtraLine);
    m_export = new ReportExport(m_doc, CmdExelExp, this);
    m_export->setRowShown([this](const QString &row) {
        if (row.isEmpty())
            Text4->clear();
        else
            Text4->setText(row);
    });
    connect(CmdPrint, &QPushButton::clicked, Frame1, &PrintPanel::CmdPrint_Click);
}

void FrmReport::buildTopBar()
{
    Label4 = new QLabel(QStringLiteral("Color Setting"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->installEventFilter(this);
    place(Label4, 120, 100, 1300, 300);

    Check1 = new QCheckBox(QStringLiteral("Vsual"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setChecked(true);
    place(Check1, 1500, 70, 900, 360);
    connect(Check1, &QCheckBox::toggled, this, &FrmReport::syncMarkup);

    Command2 = new JeweledButton(QStringLiteral("Command2"), QStringLiteral("Zoom"), this);
    place(Command2, 2450, 70, 1100, 360);
    connect(Command2, &QPushButton::clicked, this, &FrmReport::Command2_Click);

    CmdImport = new JeweledButton(QStringLiteral("CmdImport"), QStringLiteral("Import"), this);
    place(CmdImport, 3600, 70, 1000, 360);
    connect(CmdImport, &QPushButton::clicked, this, &FrmReport::CmdImport_Click);

    lb1 = new QLabel(QStringLiteral(" Pre-View "), this);
    lb1->setObjectName(QStringLiteral("lb1"));
    QFont previewFont(QStringLiteral("Times New Roman"));
    previewFont.setStyleHint(QFont::Serif);
    previewFont.setPointSize(12);
    previewFont.setBold(true);
    lb1->setFont(previewFont);
    lb1->setAlignment(Qt::AlignCenter);
    lb1->setCursor(Qt::PointingHandCursor);
    lb1->installEventFilter(this);
    place(lb1, 6000, 70, 1300, 360);

    Label7 = new QLabel(QStringLiteral("Search String"), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(Label7, 8000, 70, 1300, 360);
    Text4 = new QLineEdit(this);
    Text4->setObjectName(QStringLiteral("Text4"));
    Text4->installEventFilter(this);
    place(Text4, 9400, 70, 2000, 360);
    m_search = new PageSearch(m_pageView, SheetPane, Text4, this);
    connect(m_search, &PageSearch::matchSelected, this, [this] { m_timerTag = QStringLiteral("0"); });

    LbPageNo = new QLabel(this);
    LbPageNo->setObjectName(QStringLiteral("LbPageNo"));
    LbPageNo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont pageFont = LbPageNo->font();
    pageFont.setBold(true);
    LbPageNo->setFont(pageFont);
    place(LbPageNo, 11600, 70, 1500, 360);
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
        {&CmdFst, "CmdFst", "&First", &FrmReport::CmdFst_Click},
        {&CmdBck, "CmdBck", "&Back", &FrmReport::CmdBck_Click},
        {&CmdNxt, "CmdNxt", "&Next", &FrmReport::CmdNxt_Click},
        {&CmdLast, "CmdLast", "&Last", &FrmReport::CmdLast_Click},
    };
    double left = 60;
    for (const auto &n : nav) {
        *n.button = new JeweledButton(QString::fromLatin1(n.name), QString::fromLatin1(n.caption), Frame8);
        place(*n.button, left, 150, 1000, 400);
        connect(*n.button, &QPushButton::clicked, this, n.handler);
        left += 1040;
    }

    // The label keeps 8 pixels free on every side of its caption, so it is
    // made wide and tall enough for "GOTO" to show whole.
    SpLebal3 = new SpLebal(QStringLiteral("SpLebal3"), Frame8);
    SpLebal3->setCaption(QStringLiteral("GOTO"));
    SpLebal3->setView3D(2);
    place(SpLebal3, 4280, 110, 950, 480);
    Text2 = new QLineEdit(Frame8);
    Text2->setObjectName(QStringLiteral("Text2"));
    place(Text2, 5280, 170, 800, 360);
    KeyFilter::install(Text2, IntegerKeyFilter);
    Text2->installEventFilter(this);
    connect(Text2, &QLineEdit::returnPressed, this, &FrmReport::goToPage);

    JeweledButton1 = new JeweledButton(QStringLiteral("JeweledButton1"), QStringLiteral("Export"), Frame8);
    place(JeweledButton1, 6180, 150, 1100, 400);
    connect(JeweledButton1, &QPushButton::clicked, this, &FrmReport::exportReport);
    CmdExelExp = new JeweledButton(QStringLiteral("CmdExelExp"), QStringLiteral("Exel Export"), Frame8);
    place(CmdExelExp, 7330, 150, 1100, 400);
    CmdExelExp->hide();
    connect(CmdExelExp, &QPushButton::clicked, this, &FrmReport::CmdExelExp_Click);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(Calculator::picture(tw(360)));
    Image1->setToolTip(QStringLiteral("Calculator"));
    Image1->resize(tw(360), tw(360));
    Image1->installEventFilter(this);

    Check3 = new QCheckBox(QStringLiteral("Cont.. "), this);
    Check3->setObjectName(QStringLiteral("Check3"));
    Check3->resize(tw(1000), tw(300));
    connect(Check3, &QCheckBox::clicked, this, &FrmReport::Check3_Click);
    Check2 = new QCheckBox(QStringLiteral("Edit"), this);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->resize(tw(1000), tw(300));
    Check2->installEventFilter(this);
    connect(Check2, &QCheckBox::clicked, this, &FrmReport::Check2_Click);

    CmdPrint = new JeweledButton(QStringLiteral("CmdPrint"), QStringLiteral("&Print"), this);
    CmdPrint->setToolTip(QStringLiteral("Open Print Dilog Box"));
    CmdPrint->resize(tw(1000), tw(400));
    JeExit = new JeweledButton(QStringLiteral("JeExit"), QStringLiteral("E&xit"), this);
    JeExit->resize(tw(1000), tw(400));
    connect(JeExit, &QPushButton::clicked, this, &QWidget::close);
}

bool FrmReport::LoadReport(const QString &file)
{
    // The file is read first, so a file that cannot be read changes nothing.
    QString error;
    if (file.isEmpty() || !m_doc.load(file, &error)) {
        if (error.isEmpty())
            error = tr("No file name was given.");
        MessageBox::critical(this,
            tr("The print file \"%1\" cannot be read.\n%2").arg(QDir::toNativeSeparators(file), error),
            tr("Report View"));
        return false;
    }

    Frame6->move(Frame6->x(), tw(1500));
    Label4->show();
    CmdPrint->show();
    if (!m_counted) {
        ++OpenViewCount;
        m_counted = true;
    }
    Frame1->setPaperHeightText(QStringLiteral("0"));
    Frame6->showSettings(ReportViewSettings::read());
    if (PrintedLookBar::showsPrinted(file, m_doc.pages().bytes()))
        Frame6->ChkPrinted->setChecked(true); // the user's answer for files of its kind
    if (m_fixedCodePage)
        Frame6->setCodePage(*m_fixedCodePage);
    Frame1->readStoredMode();
    // The paper and its text together, from the view's settings.
    QPalette back = Rt1->palette();
    const QColor paper = Frame6->swatchColor(ReportColorPanel::ReportBack);
    back.setColor(QPalette::Base, paper);
    back.setColor(QPalette::Text, ReportViewSettings::pageText(paper));
    Rt1->setPalette(back);
    Frame1->LoadPrinters();
    RefreshButtons(this);

    applyForms(Frame6->printedLook());
    // Reading a file as printed takes a while (seconds for a gigabyte): a
    // view being opened is put on screen first, with the text, so that the
    // reading's progress and its Cancel show inside it.
    if (!isVisible() && Frame6->printedLook()) {
        show();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    buildPrinted();
    m_changeBar->watch(file);
    Frame1->setPageCount(PageCount());
    Rt1->clear();
    m_doc.setCurrentPage(0);
    applyCodePage();
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

MarkupContext FrmReport::markupContext() const
{
    MarkupContext context;
    context.vsual = Check1->isChecked();
    context.zoomedIn = m_doc.zoomedIn();
    context.doubleWidth = Frame6->swatchColor(ReportColorPanel::Dubble);
    context.bold = Frame6->swatchColor(ReportColorPanel::Bold);
    context.condensed = Frame6->swatchColor(ReportColorPanel::Condence);
    context.codePage = codePage();
    return context;
}

void FrmReport::syncMarkup()
{
    m_doc.setMarkup(markupContext());
    m_doc.setPaperColor(Frame6->swatchColor(ReportColorPanel::ReportBack));
}

CodePage::Id FrmReport::codePage() const
{
    return Frame6->codePage();
}

void FrmReport::setCodePage(CodePage::Id codePage)
{
    m_fixedCodePage = codePage;
    m_codePageBar->hide();
    Frame6->setCodePage(codePage);
    applyCodePage();
}

void FrmReport::applyCodePage()
{
    // The font that holds the code page's characters, at the size the
    // view has now; the page on screen is read again.
    const QFont font = reportFont(Rt1->font().pointSizeF(), false, codePage());
    Rt1->setFont(font);
    Rt1->document()->setDefaultFont(font);
    // The printed look reads the characters in the code page too.
    const bool printedBuilt = m_doc.printedBuilt();
    m_doc.setCodePage(codePage()); // sheets read in another code page are read again
    if (printedBuilt && !m_doc.printedBuilt()) {
        buildPrinted();
        m_doc.setCurrentPage(qMin(m_doc.currentPage(), PageCount() - 1));
    }
    showPage(m_doc.currentPage());
}

int FrmReport::PageCount() const
{
    return m_doc.pageCount();
}

bool FrmReport::printedLook() const
{
    return m_doc.printedLook();
}

Printed::Sheet FrmReport::sheet(int i) const
{
    return m_doc.sheet(i);
}

void FrmReport::buildPrinted()
{
    m_doc.setPrintedLook(Frame6->printedLook());
    m_doc.setCodePage(codePage());
    if (!m_doc.printedLook() || m_doc.printedBuilt()) {
        Frame6->showModelTaken(ReportViewSettings::read().printerModel, m_doc.printedModel(), m_doc.showsSheets());
        return;
    }
    m_doc.setPrinterSetup(ReportViewSettings::read().printerSetup());
    // A large file takes a while to read as the printer prints it: the
    // reading shows how far it is and can be cancelled, which leaves this
    // view in the emphasis look (the stored choice stays as it is).
    constexpr int Steps = 1000;
    QProgressDialog progress(tr("Reading %1 as printed ...").arg(QFileInfo(m_doc.fileName()).fileName()),
        tr("Cancel"), 0, Steps, isVisible() ? this : nullptr);
    progress.setObjectName(QStringLiteral("PrintedProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool built = m_doc.buildPrinted(
        [&progress](qint64 done, qint64 total) {
            progress.setValue(total > 0 ? int(done * Steps / total) : 0);
            return !progress.wasCanceled();
        });
    QGuiApplication::restoreOverrideCursor();
    progress.reset();
    if (!built)
        Frame6->ChkPrinted->setChecked(false);
    Frame6->showModelTaken(ReportViewSettings::read().printerModel, m_doc.printedModel(), m_doc.showsSheets());
}

void FrmReport::applyForms(bool tell)
{
    SheetForms forms;
    QString error;
    if (!SheetForms::load(ReportViewSettings::read().forms, &forms, &error) && tell)
        MessageBox::show(this, error, tr("Form"), QMessageBox::Warning);
    m_doc.setForms(forms);
    SheetPane->setForms(forms);
}

void FrmReport::applyLook()
{
    // A page and a sheet are not the same thing: the view starts again at
    // the first of them.
    buildPrinted();
    Frame1->setPageCount(PageCount());
    CmdFst_Click();
}

QColor FrmReport::swatchColor(int index) const
{
    return Frame6->swatchColor(index);
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
    m_export->exportReport(Frame1->pageSelection());
}

void FrmReport::CmdExelExp_Click()
{
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
    Frame1->setPageCount(PageCount());
    Frame1->selectPageOption(0);
    layoutForm();
    if (m_rt1Tag != QLatin1String("a")) {
        m_rt1Tag = QStringLiteral("a");
        // The first activation shows page 1. When the load has just shown it
        // and nothing has touched it since, it is not built a second time
        // (on a long page that would double the wait).
        if (m_loadedPageShown && m_doc.currentPage() == 0 && !Rt1->document()->isModified()) {
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
    const double formHeight = twipsOf(height());
    place(Rt1, 15, 500, formWidth - 100, formHeight - 1250);
    SheetPane->setGeometry(Rt1->geometry());
    m_pageView->setGeometry(Rt1->geometry());
    m_changeBar->setGeometry(Rt1->x(), Rt1->y(), Rt1->width(), m_changeBar->sizeHint().height());
    const double barTop = twipsOf(Rt1->height()) + 500;
    placeCodePageBar();

    const double exitLeft = formWidth - twipsOf(JeExit->width()) - 200;
    const double printLeft = formWidth - twipsOf(CmdPrint->width()) - twipsOf(JeExit->width()) - 260;
    const double contLeft = printLeft - twipsOf(Check3->width()) - 300;
    JeExit->move(tw(exitLeft), tw(barTop + 150));
    CmdPrint->move(tw(printLeft), tw(barTop + 150));
    Check3->move(tw(contLeft), tw(barTop + 40));
    Check2->move(tw(contLeft), tw(barTop + 370));
    // The picture sits left of the check boxes; it is drawn 15 twips further
    // right and down while the mouse is on it.
    m_imageHome = QPoint(tw(contLeft - 400), tw(barTop + 170));
    Image1->move(m_imageHome + (m_image1Tag == QLatin1String("1") ? QPoint(tw(15), tw(15)) : QPoint()));
    place(Frame8, 30, barTop, qMax(0.0, twipsOf(m_imageHome.x()) - 130), 700);

    const double pageLeft = formWidth - twipsOf(LbPageNo->width()) - 200;
    setLeft(LbPageNo, pageLeft);
    setLeft(Text4, pageLeft - 200 - twipsOf(Text4->width()));
    setLeft(Label7, twipsOf(Text4->x()) - 100 - twipsOf(Label7->width()));
    setLeft(lb1, (formWidth - twipsOf(lb1->width())) / 2);

    // The print panel is centred on the screen, but kept inside the window.
    CenterForm(Frame1);
    const int x = qBound(0, Frame1->x(), qMax(0, width() - Frame1->width()));
    const int y = qBound(0, Frame1->y(), qMax(0, height() - Frame1->height()));
    Frame1->move(x, y);
}

void FrmReport::closeEvent(QCloseEvent *event)
{
    m_text4Tag = QStringLiteral("1"); // stops a running search
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
    if ((Rt1 && watched == Rt1->viewport()) || (m_pageView && watched == m_pageView->viewport())
        || (SheetPane && watched == SheetPane->widget()))
        return rt1MouseEvent(event) || QWidget::eventFilter(watched, event);
    if (watched == Rt1 || watched == m_pageView)
        return rt1KeyEvent(event) || QWidget::eventFilter(watched, event);

    const QEvent::Type type = event->type();
    if (watched == Text4 && type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Escape) {
            m_text4Tag = QStringLiteral("1");
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
    } else if (watched == Image1) {
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
        QStringLiteral("[ TXT File Only ]Select A File From Which To Retrive Data"), PrintFileActions::importFilter(),
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
        MessageBox::information(this, error, QStringLiteral("Calculator"));
}

void FrmReport::setImagePressed(bool pressed)
{
    const QString tag = pressed ? QStringLiteral("1") : QStringLiteral("0");
    if (m_image1Tag == tag)
        return;
    m_image1Tag = tag;
    Image1->move(m_imageHome + (pressed ? QPoint(tw(15), tw(15)) : QPoint()));
}

void FrmReport::showColorPanel()
{
    Frame6->show();
    Frame6->raise();
}
