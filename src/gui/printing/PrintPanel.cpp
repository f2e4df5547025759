#include "gui/printing/PrintPanel.h"

#include "gui/controls/JeweledButton.h"
#include "gui/controls/PropertyBag.h"
#include "gui/controls/SpLebal.h"
#include "gui/platform/KeyFilter.h"
#include "gui/platform/CaptionFit.h"
#include "gui/platform/MessageBox.h"
#include "platform/NumericText.h"
#include "platform/OleColor.h"
#include "platform/SettingsStore.h"
#include "gui/printing/CurrentPrinter.h"
#include "printing/PrinterList.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QEventLoop>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScrollBar>
#include <QThread>

#include <cmath>
#include <memory>

namespace {

// The copies box's leading number; nothing below one copy.
long long copiesOf(const QString &text)
{
    const double value = NumericText::leadingNumber(text);
    return value >= 1 ? static_cast<long long>(std::floor(value)) : 0;
}

// A typed page number as a whole number: rounded to the nearest, halves to
// even, and held within what a page number can be, so a number too large
// for one (a range typed "1 to 99999") reads as a very large page rather
// than wrapping round to a negative one.
int pageNumberOf(const QLineEdit *box)
{
    return int(qBound(-32768LL, NumericText::roundedValue(box->text()), 32767LL));
}

// Backgrounds of the range boxes, 0x00BBGGRR.
constexpr quint32 EnabledBoxColor = 16777215;
constexpr quint32 DisabledBoxColor = 14139134;

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

void setBoxColor(QLineEdit *box, quint32 color)
{
    // The box's own light colours, with dark text under any desktop theme.
    QPalette p = box->palette();
    p.setColor(QPalette::Base, OleColor::toColor(color));
    p.setColor(QPalette::Text, Qt::black);
    box->setPalette(p);
}

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

    CboPrinters = named(new QComboBox(this), QStringLiteral("CboPrinters"));
    CboPrinters->setEditable(true);
    CboPrinters->setMinimumWidth(220);
    Label1 = named(label(tr("Select &Printer"), this), QStringLiteral("Label1"));
    Label1->setBuddy(CboPrinters);
    LaDefult = named(label(tr("Defult Printer :  "), this), QStringLiteral("LaDefult"));

    OptCharMode = named(new QRadioButton(tr("Dos"), this), QStringLiteral("OptCharMode"));
    OptWinMode = named(new QRadioButton(tr("Windows"), this), QStringLiteral("OptWinMode"));
    m_modeGroup = new QButtonGroup(this);
    m_modeGroup->addButton(OptCharMode, 0);
    m_modeGroup->addButton(OptWinMode, 1);
    OptCharMode->setChecked(true);
    Chwinprint = named(new QCheckBox(tr("Option"), this), QStringLiteral("Chwinprint"));

    Check4 = named(new QCheckBox(tr("Advance Cond. ( 20 Cpi )"), this), QStringLiteral("Check4"));
    ChDraft = named(new QCheckBox(tr("Draft"), this), QStringLiteral("ChDraft"));
    ChDraft->setChecked(true);
    Ch10 = named(new QCheckBox(tr("10 Cpi , 80 Col."), this), QStringLiteral("Ch10"));
    Ch17 = named(new QCheckBox(tr("Cond.  ( 17 Cpi, 136 Col )"), this), QStringLiteral("Ch17"));
    Ch12 = named(new QCheckBox(tr("Semi Cond. ( 12 Cpi, 96 Col  )"), this), QStringLiteral("Ch12"));

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

    CmdOk = new JeweledButton(QStringLiteral("CmdOk"), tr("&Print"), this);
    CmdOk->setTag(QStringLiteral("0"));
    CmdCancel = new JeweledButton(QStringLiteral("CmdCancel"), tr(" C&lose"), this);
    CmdPreview = new JeweledButton(QStringLiteral("CmdPreview"), tr("Preview"), this);
    CmdPreview->setEnabled(false); // a preview of the Windows-mode printout only

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

    fitCaptions(this);
    // A new font (the desktop's, or one set on the view) measures the
    // captions again; the layout then sizes the panel to them.
    followFontChanges(this);
    adjustSize();
    hide();
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
    SettingsStore::save(SettingsAppName, QStringLiteral("ReportView"), QStringLiteral("Winp"),
        OptWinMode->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
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
    QMetaObject::invokeMethod(this, [this, listing] { askForPrinters(listing); }, Qt::QueuedConnection);
}

void PrintPanel::askForPrinters(int listing)
{
    if (listing != m_listing)
        return; // a later listing is asked for already
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
