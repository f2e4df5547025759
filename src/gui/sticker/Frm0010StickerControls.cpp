// The controls of the sticker form, placed at their twip positions.

#include "gui/controls/Atext.h"
#include "gui/controls/JeweledButton.h"
#include "platform/Twips.h"
#include "sticker/FormatStore.h"
#include "gui/report/PrintFileActions.h"
#include "gui/sticker/Frm0010Sticker.h"
#include "gui/sticker/StickerMorePanel.h"
#include "gui/sticker/StickerPreview.h"
#include "gui/watch/FrmWatch.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>

namespace {

// Sizes of the form in twips.
constexpr int Margin = 60;
constexpr int FormHeight = 5880;
constexpr int Frame4Width = 4785;
constexpr int Frame1Width = 7260;
constexpr int FieldHeight = 300;
constexpr int LineFieldWidth = 3930;
constexpr int ShortLineWidth = 1710;
constexpr int RangeWidth = 780;

void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(
        Twips::toPixels(left), Twips::toPixels(top), Twips::toPixels(width), Twips::toPixels(height));
}

QLabel *label(const QString &name, const QString &caption, QWidget *parent, int left, int top, int width,
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setAlignment(align);
    place(l, left, top, width, FieldHeight);
    return l;
}

QLineEdit *textBox(const QString &name, const QString &text, QWidget *parent, int left, int top, int width)
{
    auto *t = new QLineEdit(text, parent);
    t->setObjectName(name);
    place(t, left, top, width, FieldHeight);
    return t;
}

// A text box with list, as the sticker form stores its twelve: an edit box
// 300 twips high in the form's 8.25-point font.
Atext *lineField(int index, const QString &text, QWidget *parent, int left, int top, int width)
{
    auto *a = new Atext(parent);
    a->setObjectName(QStringLiteral("Atxt(%1)").arg(index));
    a->setTextboxHight(FieldHeight);
    a->setFontSize(8.25f);
    a->setText(text);
    place(a, left, top, width, FieldHeight);
    return a;
}

QString lbName(int i)
{
    return QStringLiteral("lb(%1)").arg(i);
}

} // namespace

int Frm0010Sticker::frame4WidthTwips()
{
    return Frame4Width;
}

int Frm0010Sticker::frame1WidthTwips()
{
    return Frame1Width;
}

void Frm0010Sticker::buildControls()
{
    setFixedSize(Twips::toPixels(Frame4Width + 150), Twips::toPixels(FormHeight));
    // The small dialog font the twip sizes below are made for.
    QFont small(QStringLiteral("MS Sans Serif"));
    small.setStyleHint(QFont::SansSerif);
    small.setPointSizeF(8.25);
    setFont(small);

    Label1 = new QLabel(tr("Sticker Printing"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont title(QStringLiteral("Times New Roman"));
    title.setPointSize(18);
    title.setBold(true);
    title.setItalic(true);
    Label1->setFont(title);
    Label1->setAlignment(Qt::AlignCenter);
    place(Label1, Margin, Margin, Frame4Width, 540);
    Label1->installEventFilter(this);
    // The settings button shows on a double-click of the title; the title
    // says so, and its context menu (and the form's) opens the panel too.
    Label1->setToolTip(tr("Double-click to show the Setting button, or right-click for the settings."));
    auto *settings = new QAction(tr("Settings..."), this);
    settings->setObjectName(QStringLiteral("ActSettings"));
    connect(settings, &QAction::triggered, this, [this] {
        JeweledButton1->setVisible(true);
        showSettingsPanel(Frame1->isHidden());
    });
    addAction(settings);
    // Print jobs written into a folder (a capture queue's) open as they come.
    auto *watch = new QAction(tr("Watch a Folder for Print Jobs..."), this);
    watch->setObjectName(QStringLiteral("ActWatch"));
    connect(watch, &QAction::triggered, this, [this] { FrmWatch::chooseAndWatch(this); });
    addAction(watch);
    PrintFileActions::addTo(this);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    // Where a new user sees them: opening a print file, the recent ones
    // beside it.
    auto *open = new QToolButton(this);
    open->setObjectName(QStringLiteral("BtnOpenPrintFile"));
    open->setText(tr("Open..."));
    open->setToolTip(tr("Open a print file in a report view (Ctrl+O); the arrow lists the recent files"));
    open->setAccessibleName(tr("Open Print File"));
    open->setMenu(findChild<QMenu *>(QStringLiteral("MenuRecentFiles")));
    open->setPopupMode(QToolButton::MenuButtonPopup);
    connect(open, &QToolButton::clicked, this, [this] { PrintFileActions::openWithDialog(this); });
    open->adjustSize();
    open->move(width() - open->width() - Twips::toPixels(Margin), Twips::toPixels(Margin));

    buildLinePanel();
    buildSettingsPanel();
    makeAccessible();
}

void Frm0010Sticker::buildLinePanel()
{
    Frame4 = new QGroupBox(this);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    place(Frame4, Margin, 660, Frame4Width, FormHeight - 660 - 90);

    // The sticker lines: line number, field, and on lines 4 and 5 a range
    // with its size and its "++" box.
    static const int lineLabels[7] = {11, 7, 4, 6, 10, 14, 15};
    static const int lineFields[7] = {0, 1, 2, 3, 4, 8, 9};
    for (int row = 0; row < 7; ++row) {
        const int top = 210 + row * 390;
        lb[size_t(lineLabels[row])] = label(lbName(lineLabels[row]), QString::number(row + 1), Frame4, 45,
            top, 240, Qt::AlignRight | Qt::AlignVCenter);
        const bool ranged = row == 3 || row == 4;
        const int field = lineFields[row];
        Atxt[size_t(field)]
            = lineField(field, QString(), Frame4, 330, top, ranged ? ShortLineWidth : LineFieldWidth);
    }
    const int row4 = 210 + 3 * 390;
    const int row5 = 210 + 4 * 390;
    Atxt[5] = lineField(5, QStringLiteral("601"), Frame4, 2085, row4, RangeWidth);
    Atxt[6] = lineField(6, QStringLiteral("612"), Frame4, 2910, row4, RangeWidth);
    Atxt[10] = lineField(10, QString(), Frame4, 2085, row5, RangeWidth);
    Atxt[11] = lineField(11, QString(), Frame4, 2910, row5, RangeWidth);
    Atxt[7] = lineField(7, QStringLiteral("4"), Frame4, 3030, 210, 450);
    Atxt[7]->hide();
    lb[18]
        = label(lbName(18), QStringLiteral("0"), Frame4, 3720, row4, 330, Qt::AlignRight | Qt::AlignVCenter);
    lb[16]
        = label(lbName(16), QStringLiteral("0"), Frame4, 3720, row5, 330, Qt::AlignRight | Qt::AlignVCenter);
    ChkIn1 = new QCheckBox(QStringLiteral("++"), Frame4);
    ChkIn1->setObjectName(QStringLiteral("ChkIn1"));
    place(ChkIn1, 4095, row4, 600, FieldHeight);
    ChkIn2 = new QCheckBox(QStringLiteral("++"), Frame4);
    ChkIn2->setObjectName(QStringLiteral("ChkIn2"));
    place(ChkIn2, 4095, row5, 600, FieldHeight);

    // Sticker count, the grid's capacity and the pages.
    const int countRow = 210 + 7 * 390 + 90;
    lb[0] = label(lbName(0), tr("No of Sticker"), Frame4, 120, countRow, 1230);
    TxNos = textBox(QStringLiteral("TxNos"), QStringLiteral("0"), Frame4, 1380, countRow, 900);
    lb[2] = label(lbName(2), QStringLiteral("0"), Frame4, 2310, countRow, 660);
    lb[2]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lb[12] = label(
        lbName(12), tr("Page"), Frame4, 3060, countRow, 480, Qt::AlignRight | Qt::AlignVCenter);
    txtPage = textBox(QStringLiteral("txtPage"), QStringLiteral("0"), Frame4, 3600, countRow, 660);

    const int modeRow = countRow + 420;
    ChKwIN = new QCheckBox(tr("Window"), Frame4);
    ChKwIN->setObjectName(QStringLiteral("ChKwIN"));
    place(ChKwIN, 330, modeRow, 1500, FieldHeight);
    JeweledButton1 = new JeweledButton(QStringLiteral("JeweledButton1"), tr("Setting "), Frame4);
    place(JeweledButton1, 3360, modeRow - 30, 1305, 360);
    JeweledButton1->hide();
    // The print preview of the Windows-mode sheet.
    CmdPreview = new JeweledButton(QStringLiteral("CmdPreview"), tr("Preview"), Frame4);
    place(CmdPreview, 1920, modeRow - 30, 1350, 360);

    // The format slots, shown in the order of their captions.
    Frame3 = new QGroupBox(tr("Setting"), Frame4);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    place(Frame3, 120, modeRow + 390, 4545, 660);
    for (int slot = 0; slot < FormatStore::SlotCount; ++slot) {
        const QString caption = FormatStore::slotCaption(slot);
        auto *b = new QRadioButton(caption, Frame3);
        b->setObjectName(QStringLiteral("OPss(%1)").arg(slot));
        place(b, 150 + (caption.toInt() - 1) * 540, 270, 510, FieldHeight);
        OPss[size_t(slot)] = b;
    }

    // The buttons.
    const int buttonRow = modeRow + 390 + 660 + 90;
    JBshow[0] = new JeweledButton(QStringLiteral("JBshow(0)"), tr("SHO&W"), Frame4);
    JBshow[0]->setToolTip(tr("Display Page Wise  Print View "));
    JBshow[0]->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    place(JBshow[0], 120, buttonRow, 1080, 480);
    JBshow[1] = new JeweledButton(QStringLiteral("JBshow(1)"), tr("Print"), Frame4);
    JBshow[1]->setIcon(QIcon::fromTheme(
        QStringLiteral("document-print"), style()->standardIcon(QStyle::SP_DialogApplyButton)));
    place(JBshow[1], 1245, buttonRow, 1080, 480);
    CmdSave = new JeweledButton(QStringLiteral("CmdSave"), tr("Save"), Frame4);
    place(CmdSave, 2370, buttonRow, 900, 480);
    CmdExit = new JeweledButton(QStringLiteral("CmdExit"), tr("    E &X I T"), Frame4);
    CmdExit->setToolTip(tr("Return to Main Menu"));
    CmdExit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    place(CmdExit, 3315, buttonRow, 1350, 480);
}

void Frm0010Sticker::buildSettingsPanel()
{
    Frame1 = new QGroupBox(tr("Setting"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    place(Frame1, Margin + Frame4Width, Margin, Frame1Width, FormHeight - Margin - 90);
    FrameMore = new StickerMorePanel(this);
    place(FrameMore, Margin + Frame4Width + Frame1Width + 60, Margin, StickerMorePanel::widthTwips() - 60,
        FormHeight - Margin - 90);

    constexpr int labelWidth = 2400;
    constexpr int fieldLeft = 2580;
    constexpr int fieldWidth = 780;
    auto rowTop = [](int row) { return 330 + row * 315; };
    auto setting = [&](QLineEdit *&box, const QString &name, int labelIndex, const QString &caption,
                       int row) {
        lb[size_t(labelIndex)] = label(lbName(labelIndex), caption, Frame1, 120, rowTop(row), labelWidth);
        box = textBox(name, QString(), Frame1, fieldLeft, rowTop(row), fieldWidth);
    };
    setting(TxSp, QStringLiteral("TxSp"), 8, tr("SPace Between Col"), 0);
    setting(TxCol, QStringLiteral("TxCol"), 3, tr("Col"), 1);
    setting(TxRow, QStringLiteral("TxRow"), 5, tr("Row"), 2);
    // Blank lines in character mode, the row pitch in Windows mode: both
    // modes use it, so it stays outside the Windows-mode frame.
    auto *label3 = label(QStringLiteral("Label3"), tr("Margin Between Two Sticker"), Frame1, 120,
        rowTop(3), labelWidth);
    Q_UNUSED(label3);
    TxBlank = textBox(QStringLiteral("TxBlank"), QString(), Frame1, fieldLeft, rowTop(3), fieldWidth);
    setting(TxMaxFLenth, QStringLiteral("TxMaxFLenth"), 9, tr("Max Field Lenth"), 4);

    lb[13] = label(lbName(13), tr("Max Field"), Frame1, 120, rowTop(5), labelWidth);
    Combo1 = new QComboBox(Frame1);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    for (int i = 1; i <= 7; ++i)
        Combo1->addItem(QString::number(i));
    place(Combo1, fieldLeft, rowTop(5), fieldWidth, FieldHeight);
    setting(txtRowPrint, QStringLiteral("txtRowPrint"), 17, tr("Row Printing"), 6);
    lb[19] = label(lbName(19), tr("Loop Position"), Frame1, 120, rowTop(7), labelWidth);
    Combo2 = new QComboBox(Frame1);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->addItems({QStringLiteral("4"), QStringLiteral("5")});
    place(Combo2, fieldLeft, rowTop(7), fieldWidth, FieldHeight);

    Op[0] = new QRadioButton(tr("Normal    ( 80 Col )"), Frame1);
    Op[1] = new QRadioButton(tr("Cond.     (136 Col )"), Frame1);
    for (int i = 0; i < 2; ++i) {
        Op[size_t(i)]->setObjectName(QStringLiteral("Op(%1)").arg(i));
        place(Op[size_t(i)], 240, rowTop(8 + i), 3000, FieldHeight);
    }
    Op[0]->setChecked(true);

    // The Windows-mode geometry.
    Frame5 = new QGroupBox(tr("Window base Setting"), Frame1);
    Frame5->setObjectName(QStringLiteral("Frame5"));
    place(Frame5, 60, rowTop(10) - 30, 3360, 2130);
    struct
    {
        QLineEdit *&box;
        const char *name;
        const char *labelName;
        const char *caption;
    } geometry[] = {
        {TxtFontNM, "TxtFontNM", "Label12", QT_TR_NOOP("Font Name")},
        {TxtFontSZ, "TxtFontSZ", "Label13", QT_TR_NOOP("Font Size")},
        {TxtMtop, "TxtMtop", "Label4", QT_TR_NOOP("Margin Top")},
        {TxtMLeft, "TxtMLeft", "Label5", QT_TR_NOOP("Margin Left")},
        {TxtHEight, "TxtHEight", "Label2", QT_TR_NOOP("Sticker Left Space")},
        {TxtWidth, "TxtWidth", "Label6", QT_TR_NOOP("Space Between Two value")},
    };
    int row = 0;
    for (auto &g : geometry) {
        const int top = 300 + row * 300;
        label(QString::fromLatin1(g.labelName), tr(g.caption), Frame5, 60, top, 2340);
        g.box = textBox(QString::fromLatin1(g.name), QString(), Frame5, 2460, top, 840);
        ++row;
    }
    TxtFontNM->setGeometry(TxtFontNM->geometry().adjusted(-Twips::toPixels(1200), 0, 0, 0));

    // The on-screen Windows-mode sheet, beside the settings it is drawn with.
    Pic = new StickerPreview(Frame1);
    place(Pic, 3540, 330, Frame1Width - 3540 - 120, FormHeight - Margin - 90 - 330 - 120);
}
