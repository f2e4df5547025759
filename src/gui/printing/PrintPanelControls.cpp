// The print panel's controls: made, laid out and wired to the panel's rules.

#include "gui/printing/PrintPanel.h"

#include "gui/controls/JeweledButton.h"
#include "gui/controls/PropertyBag.h"
#include "gui/controls/SpLebal.h"
#include "gui/platform/CaptionFit.h"
#include "gui/platform/KeyFilter.h"
#include "gui/printing/PrintPanelLook.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

using namespace PrintPanelLook;

namespace {

template <typename T> T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QLabel *label(const QString &caption, QWidget *parent)
{
    return new QLabel(caption, parent);
}

} // namespace

PrintPanel::PrintPanel(ReportDocument &document, QWidget *parent)
    : PrintPanel(parent)
{
    m_doc = &document;
    connect(&document, &ReportDocument::pagesChanged, this, [this] { setPageCount(m_doc->pageCount()); });
    setPageCount(document.pageCount());
}

PrintPanel::PrintPanel(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame1"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);

    // Made in the order the focus goes through them.
    buildPrinterChoice();
    buildModeChoice();
    buildPitchChoice();
    buildOrientationChoice();
    buildPageChoice();
    buildCopiesAndPaper();
    buildButtons();
    layOutControls();
    connectRules();

    fitCaptions(this);
    // A new font (the desktop's, or one set on the view) measures the
    // captions again; the layout then sizes the panel to them.
    followFontChanges(this);
    adjustSize();
    hide();
}

void PrintPanel::buildPrinterChoice()
{
    CboPrinters = named(new QComboBox(this), QStringLiteral("CboPrinters"));
    CboPrinters->setEditable(true);
    CboPrinters->setMinimumWidth(220);
    Label1 = named(label(tr("Select &Printer"), this), QStringLiteral("Label1"));
    Label1->setBuddy(CboPrinters);
    LaDefult = named(label(tr("Defult Printer :  "), this), QStringLiteral("LaDefult"));
}

// "Dos" (character mode) or "Windows" (the desktop driver), and "Option".
void PrintPanel::buildModeChoice()
{
    OptCharMode = named(new QRadioButton(tr("Dos"), this), QStringLiteral("OptCharMode"));
    OptWinMode = named(new QRadioButton(tr("Windows"), this), QStringLiteral("OptWinMode"));
    m_modeGroup = new QButtonGroup(this);
    m_modeGroup->addButton(OptCharMode, 0);
    m_modeGroup->addButton(OptWinMode, 1);
    OptCharMode->setChecked(true);
    Chwinprint = named(new QCheckBox(tr("Option"), this), QStringLiteral("Chwinprint"));
}

// Draft quality, and the pitch: 10, 12, 17 or 20 characters an inch.
void PrintPanel::buildPitchChoice()
{
    Check4 = named(new QCheckBox(tr("Advance Cond. ( 20 Cpi )"), this), QStringLiteral("Check4"));
    ChDraft = named(new QCheckBox(tr("Draft"), this), QStringLiteral("ChDraft"));
    ChDraft->setChecked(true);
    Ch10 = named(new QCheckBox(tr("10 Cpi , 80 Col."), this), QStringLiteral("Ch10"));
    Ch17 = named(new QCheckBox(tr("Cond.  ( 17 Cpi, 136 Col )"), this), QStringLiteral("Ch17"));
    Ch12 = named(new QCheckBox(tr("Semi Cond. ( 12 Cpi, 96 Col  )"), this), QStringLiteral("Ch12"));
}

void PrintPanel::buildOrientationChoice()
{
    FrmWin = named(new QGroupBox(this), QStringLiteral("FrmWin"));
    m_orientationGroup = new QButtonGroup(this);
    auto *orientation = new QHBoxLayout(FrmWin);
    const QString orientationCaptions[2] = {tr("Portrait"), tr("Landscape")};
    for (int i = 0; i < 2; ++i) {
        OpPL[i] = named(new QRadioButton(orientationCaptions[i], FrmWin), QStringLiteral("OpPL(%1)").arg(i));
        m_orientationGroup->addButton(OpPL[i], i);
        orientation->addWidget(OpPL[i]);
    }
    OpPL[0]->setChecked(true);
    FrmWin->setEnabled(false); // enabled only in Windows mode
}

// All pages, the current page, or a range typed in the boxes.
void PrintPanel::buildPageChoice()
{
    m_pageGroup = new QButtonGroup(this);
    const QString pageCaptions[3] = {tr("All Pages"), tr("Current Page"), tr("Page Range")};
    for (int i = 0; i < 3; ++i) {
        Op[i] = named(new QRadioButton(pageCaptions[i], this), QStringLiteral("Op(%1)").arg(i));
        m_pageGroup->addButton(Op[i], i);
    }
    Op[0]->setChecked(true);
    Tst = named(new QLineEdit(this), QStringLiteral("Tst"));
    Tend = named(new QLineEdit(this), QStringLiteral("Tend"));
    for (QLineEdit *box : {Tst, Tend}) {
        box->setEnabled(false);
        box->setMaximumWidth(60);
        setBoxColor(box, DisabledBoxColor);
        KeyFilter::install(box, [box](int key) { return DecimalKeyFilter(key, box->text()); });
    }
    Tend->installEventFilter(this);
    buildRangeLabel();
}

void PrintPanel::buildCopiesAndPaper()
{
    Text3 = named(new QLineEdit(QStringLiteral("1"), this), QStringLiteral("Text3"));
    Text3->setMaximumWidth(60);
    KeyFilter::install(Text3, IntegerKeyFilter);
    VScroll1 = named(new QScrollBar(Qt::Vertical, this), QStringLiteral("VScroll1"));
    VScroll1->setRange(1, 100);
    VScroll1->setValue(99);
    VScroll1->setFixedHeight(Text3->sizeHint().height());

    ComPaperHeight = named(new QComboBox(this), QStringLiteral("ComPaperHeight"));
    ComPaperHeight->setEditable(true);
    ComPaperHeight->addItems({QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("6"),
        QStringLiteral("8"), QStringLiteral("10"), QStringLiteral("12")});
}

void PrintPanel::buildButtons()
{
    CmdOk = new JeweledButton(QStringLiteral("CmdOk"), tr("&Print"), this);
    CmdOk->setTag(QStringLiteral("0"));
    CmdCancel = new JeweledButton(QStringLiteral("CmdCancel"), tr(" C&lose"), this);
    CmdPreview = new JeweledButton(QStringLiteral("CmdPreview"), tr("Preview"), this);
    CmdPreview->setEnabled(false); // a preview of the Windows-mode printout only
}

void PrintPanel::layOutControls()
{
    // The panel is as large as its controls need in its font and language,
    // and follows them when a font or a caption changes.
    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    int row = 0;
    grid->addWidget(Label1, row, 0);
    grid->addWidget(CboPrinters, row++, 1, 1, 3);
    grid->addWidget(LaDefult, row++, 0, 1, 4);
    grid->addWidget(OptCharMode, row, 0);
    grid->addWidget(OptWinMode, row, 1);
    grid->addWidget(Chwinprint, row, 2);
    grid->addWidget(FrmWin, row++, 3);
    grid->addWidget(ChDraft, row, 0);
    grid->addWidget(Ch10, row, 1);
    grid->addWidget(Ch12, row++, 2, 1, 2);
    grid->addWidget(Ch17, row, 1);
    grid->addWidget(Check4, row++, 2, 1, 2);
    grid->addWidget(Op[0], row, 0);
    grid->addWidget(Op[1], row, 1);
    grid->addWidget(Op[2], row, 2);
    auto *range = new QHBoxLayout;
    range->addWidget(Tst);
    range->addWidget(SpLebal1);
    range->addWidget(Tend);
    grid->addLayout(range, row++, 3);
    auto *copies = new QHBoxLayout;
    copies->addWidget(label(tr("No of Copies :"), this));
    copies->addWidget(Text3);
    copies->addWidget(VScroll1);
    copies->addStretch();
    grid->addLayout(copies, row, 0, 1, 2);
    auto *paper = new QHBoxLayout;
    paper->addWidget(label(tr("Paper Height :"), this));
    paper->addWidget(ComPaperHeight);
    paper->addStretch();
    grid->addLayout(paper, row++, 2, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdPreview);
    buttons->addWidget(CmdOk);
    buttons->addWidget(CmdCancel);
    grid->addLayout(buttons, row++, 0, 1, 4);
}

void PrintPanel::connectRules()
{
    connect(m_modeGroup, &QButtonGroup::idClicked, this, &PrintPanel::modeRule);
    for (QCheckBox *box : {Ch10, Ch12, Ch17, ChDraft})
        connect(box, &QCheckBox::clicked, this, [this, box] { pitchRule(box); });
    connect(m_pageGroup, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            pageOptionRule();
    });
    connect(VScroll1, &QScrollBar::valueChanged, this, &PrintPanel::VScroll1_Change);
    connect(CmdOk, &QPushButton::clicked, this, &PrintPanel::CmdOk_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &QWidget::hide);
    connect(CmdPreview, &QPushButton::clicked, this, &PrintPanel::CmdPreview_Click);
}

void PrintPanel::buildRangeLabel()
{
    // The small flat "to" label between the range boxes, as the form stores it.
    SpLebal1 = new SpLebal(QStringLiteral("SpLebal1"), this);
    PropertyBag bag;
    bag.write(QStringLiteral("_ExtentX"), 847);
    bag.write(QStringLiteral("_ExtentY"), 503);
    bag.write(QStringLiteral("Caption"), tr("to"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    bag.write(QStringLiteral("Font"), font);
    bag.write(QStringLiteral("View3D"), 2);
    SpLebal1->readProperties(bag);
    SpLebal1->setFixedSize(SpLebal1->size());
}
