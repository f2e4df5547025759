#include "printing/PrintPanel.h"

#include "controls/JeweledButton.h"
#include "platform/NumericText.h"
#include "platform/SettingsStore.h"
#include "printing/CurrentPrinter.h"
#include "startup/MainModule.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// Background of a range box that cannot be typed into (0x00BBGGRR 14139134).
const QColor DisabledBoxColor(0xFE, 0xBE, 0xD7);

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

PrintPanel::PrintPanel(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame1"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);

    CboPrinters = named(new QComboBox(this), QStringLiteral("CboPrinters"));
    CboPrinters->setEditable(true);
    CboPrinters->setMinimumWidth(220);
    Label1 = named(label(QStringLiteral("Select &Printer"), this), QStringLiteral("Label1"));
    Label1->setBuddy(CboPrinters);
    LaDefult = named(label(QStringLiteral("Defult Printer :  "), this), QStringLiteral("LaDefult"));

    OptCharMode = named(new QRadioButton(QStringLiteral("Dos"), this), QStringLiteral("OptCharMode"));
    OptWinMode = named(new QRadioButton(QStringLiteral("Windows"), this), QStringLiteral("OptWinMode"));
    m_modeGroup = new QButtonGroup(this);
    m_modeGroup->addButton(OptCharMode, 0);
    m_modeGroup->addButton(OptWinMode, 1);
    OptCharMode->setChecked(true);
    Chwinprint = named(new QCheckBox(QStringLiteral("Option"), this), QStringLiteral("Chwinprint"));

    Check4 = named(new QCheckBox(QStringLiteral("Advance Cond. ( 20 Cpi )"), this), QStringLiteral("Check4"));
    ChDraft = named(new QCheckBox(QStringLiteral("Draft"), this), QStringLiteral("ChDraft"));
    ChDraft->setChecked(true);
    Ch10 = named(new QCheckBox(QStringLiteral("10 Cpi , 80 Col."), this), QStringLiteral("Ch10"));
    Ch17 = named(new QCheckBox(QStringLiteral("Cond.  ( 17 Cpi, 136 Col )"), this), QStringLiteral("Ch17"));
    Ch12 = named(
        new QCheckBox(QStringLiteral("Semi Cond. ( 12 Cpi, 96 Col  )"), this), QStringLiteral("Ch12"));

    FrmWin = named(new QGroupBox(this), QStringLiteral("FrmWin"));
    m_orientationGroup = new QButtonGroup(this);
    auto *orientation = new QHBoxLayout(FrmWin);
    const QString orientationCaptions[2] = {QStringLiteral("Portrait"), QStringLiteral("Landscape")};
    for (int i = 0; i < 2; ++i) {
        OpPL[i] = named(new QRadioButton(orientationCaptions[i], FrmWin), QStringLiteral("OpPL(%1)").arg(i));
        m_orientationGroup->addButton(OpPL[i], i);
        orientation->addWidget(OpPL[i]);
    }
    OpPL[0]->setChecked(true);
    FrmWin->setEnabled(false); // enabled only in Windows mode

    m_pageGroup = new QButtonGroup(this);
    const QString pageCaptions[3]
        = {QStringLiteral("All Pages"), QStringLiteral("Current Page"), QStringLiteral("Page Range")};
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
        QPalette p = box->palette();
        p.setColor(QPalette::Base, DisabledBoxColor);
        box->setPalette(p);
    }

    Text3 = named(new QLineEdit(QStringLiteral("1"), this), QStringLiteral("Text3"));
    Text3->setMaximumWidth(60);
    VScroll1 = named(new QScrollBar(Qt::Vertical, this), QStringLiteral("VScroll1"));
    VScroll1->setRange(1, 100);
    VScroll1->setValue(99);
    VScroll1->setFixedHeight(Text3->sizeHint().height());

    ComPaperHeight = named(new QComboBox(this), QStringLiteral("ComPaperHeight"));
    ComPaperHeight->setEditable(true);
    ComPaperHeight->addItems({QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("6"),
        QStringLiteral("8"), QStringLiteral("10"), QStringLiteral("12")});

    CmdOk = new JeweledButton(QStringLiteral("CmdOk"), QStringLiteral("&Print"), this);
    CmdOk->setTag(QStringLiteral("0"));
    CmdCancel = new JeweledButton(QStringLiteral("CmdCancel"), QStringLiteral(" C&lose"), this);

    auto *grid = new QGridLayout(this);
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
    range->addWidget(label(QStringLiteral("to"), this));
    range->addWidget(Tend);
    grid->addLayout(range, row++, 3);
    auto *copies = new QHBoxLayout;
    copies->addWidget(label(QStringLiteral("No of Copies :"), this));
    copies->addWidget(Text3);
    copies->addWidget(VScroll1);
    copies->addStretch();
    grid->addLayout(copies, row, 0, 1, 2);
    auto *paper = new QHBoxLayout;
    paper->addWidget(label(QStringLiteral("Paper Height :"), this));
    paper->addWidget(ComPaperHeight);
    paper->addStretch();
    grid->addLayout(paper, row++, 2, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdOk);
    buttons->addWidget(CmdCancel);
    grid->addLayout(buttons, row++, 0, 1, 4);

    // to do: printing (mode, pitch and page-option rules, copies spinner,
    // range check, CmdOk and CmdCancel).
    adjustSize();
    hide();
}

void PrintPanel::LoadPrinters()
{
    CboPrinters->clear();
    CboPrinters->addItems(QPrinterInfo::availablePrinterNames());
    if (CboPrinters->count() == 0)
        return;
    const QString current = CurrentPrinter::name();
    CboPrinters->setCurrentText(current);
    LaDefult->setText(QStringLiteral("Defult Printer :%1").arg(current));
}

void PrintPanel::setPaperHeightText(const QString &text)
{
    ComPaperHeight->setCurrentText(text);
}

void PrintPanel::setPageCount(int pageCount)
{
    Tend->setToolTip(QStringLiteral(" %1  : Maximum ").arg(pageCount));
}

void PrintPanel::selectPageOption(int index)
{
    if (index >= 0 && index < 3)
        Op[index]->setChecked(true);
}

int PrintPanel::pageOption() const
{
    return m_pageGroup->checkedId();
}

void PrintPanel::readStoredMode()
{
    const QString stored = SettingsStore::read(
        SettingsAppName, QStringLiteral("ReportView"), QStringLiteral("Winp"), QStringLiteral("0"));
    if (NumericText::isNumber(stored) && NumericText::leadingNumber(stored) != 0)
        OptWinMode->setChecked(true);
}

bool PrintPanel::windowsMode() const
{
    return OptWinMode->isChecked();
}
