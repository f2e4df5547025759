// The report view's controls: the panes the page is shown in, the top and
// bottom bars, the colour panel and the print panel, each built and wired in
// one step of its own.
#include "gui/controls/JeweledButton.h"
#include "gui/controls/SpLebal.h"
#include "gui/platform/FirstPaint.h"
#include "gui/export/ReportExport.h"
#include "gui/platform/KeyFilter.h"
#include "gui/platform/StylePictures.h"
#include "gui/printing/PrintPanel.h"
#include "gui/report/Calculator.h"
#include "gui/report/CodePageBar.h"
#include "gui/report/FrmReport.h"
#include "gui/report/PageSearch.h"
#include "gui/report/PageView.h"
#include "gui/report/PrintFileActions.h"
#include "gui/report/PrintedLookBar.h"
#include "gui/report/ReportColorPanel.h"
#include "gui/report/SheetView.h"
#include "platform/Twips.h"
#include "report/ReportFont.h"
#include "report/ReportViewSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>

namespace {

int tw(double twips)
{
    return Twips::toPixels(twips);
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

void FrmReport::buildControls()
{
    buildPanes();
    buildTopBar();
    buildBottomBar();
    buildKeys();

    buildContextMenu();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(300);
    connect(Timer1, &QTimer::timeout, this, &FrmReport::Timer1_Timer);
    Timer1->start();

    followDocument();
    buildLookChoice();
    buildZoom();
    PrintFileActions::addTo(this, m_contextMenu);
    buildPrinting();
}

void FrmReport::buildPanes()
{
    // The page is in one of three panes: the page view, the edit box
    // (while Edit is on) or the sheet of the printed look.
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
}

void FrmReport::followDocument()
{
    // The page on screen follows the document at once, whoever changes it:
    // the colour panel, a bar, the view itself.
    connect(&m_doc, &ReportDocument::codePageChanged, this, [this] {
        if (!m_loading)
            showCodePage();
    });
    connect(&m_doc, &ReportDocument::markupChanged, this, &FrmReport::showMarkup);
    connect(&m_doc, &ReportDocument::paperColorChanged, this, &FrmReport::showPaper);
    // The workbook's column marks, as the export ends the marking too.
    connect(&m_doc, &ReportDocument::columnMarksChanged, this, &FrmReport::showColumnMarks);
    // The forms under the sheets, whoever set them: the load, the colour panel.
    connect(&m_doc, &ReportDocument::formsChanged, this, [this] { SheetPane->setForms(m_doc.forms()); });
    m_codePageBar = new CodePageBar(this);
    connect(m_codePageBar, &CodePageBar::switchChosen, this, &FrmReport::setCodePage);
}

ReportColorPanel *FrmReport::colorPanel()
{
    if (m_colorPanel)
        return m_colorPanel;
    m_colorPanel = new ReportColorPanel(m_doc, this);
    m_colorPanel->move(tw(120), tw(ColorPanelTopTwips));
    connect(m_colorPanel, &ReportColorPanel::codePageChosen, this, [this] {
        // The panel wrote it into the document, and the page (or the
        // continuous view) followed.
        m_fixedCodePage.reset();
        m_codePageBar->hide();
    });
    connect(m_colorPanel, &ReportColorPanel::printedLookChosen, this, [this] {
        m_lookBar->hide();
        applyLook();
    });
    connect(m_colorPanel, &ReportColorPanel::detectChosen, this, &FrmReport::detectCodePage);
    connect(m_colorPanel, &ReportColorPanel::formsChosen, this, [this] { applyForms(true); });
    connect(m_colorPanel, &ReportColorPanel::printerChosen, this, [this] {
        // Sheets of another length or width.
        m_doc.setPrinterSetup(ReportViewSettings::read().printerSetup());
        applyLook();
    });
    showModelTaken();
    makePanelAccessible();
    placeColorPanel();
    return m_colorPanel;
}

void FrmReport::buildPrinting()
{
    // The print panel is built once the window is drawn, or when it is
    // first needed before that.
    FirstPaint::then(this, this, [this] { printPanel(); });
    // The view follows the document: a zoom is shown where it changes.
    connect(&m_doc, &ReportDocument::zoomChanged, this, &FrmReport::showZoom);
    m_export = new ReportExport(m_doc, CmdExelExp, this);
    m_export->setRowShown([this](const QString &row) {
        if (row.isEmpty())
            Text4->clear();
        else
            Text4->setText(row);
    });
    connect(CmdPrint, &QPushButton::clicked, this, [this] {
        if (waitForPages())
            printPanel()->CmdPrint_Click();
    });
}

PrintPanel *FrmReport::printPanel()
{
    if (Frame1)
        return Frame1;
    StylePictures::preloadGroupBoxFrame(style()); // its boxes are group boxes
    Frame1 = new PrintPanel(m_doc, this);
    // What prints of the page on screen: its text as shown, or the selection.
    Frame1->setShownText([this] { return onScreen(); });
    Frame1->Tst->setAccessibleName(tr("First page"));
    Frame1->Tend->setAccessibleName(tr("Last page"));
    Frame1->Text3->setAccessibleName(tr("Copies"));
    Frame1->VScroll1->setAccessibleName(tr("More or fewer copies"));
    Frame1->ComPaperHeight->setAccessibleName(tr("Paper height"));
    if (!m_doc.fileName().isEmpty()) {
        // As a file's loading sets it.
        Frame1->setPaperHeightText(QStringLiteral("0"));
        Frame1->readStoredMode();
        Frame1->LoadPrinters();
    }
    placePrintPanel();
    return Frame1;
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
