// The controls of the sticker form, placed at their twip positions: the
// title, its actions, and the panel of the sticker lines.

#include "gui/controls/Atext.h"
#include "gui/controls/JeweledButton.h"
#include "platform/Twips.h"
#include "sticker/FormatStore.h"
#include "gui/report/PrintFileActions.h"
#include "gui/sticker/Frm0010Sticker.h"
#include "gui/platform/StylePictures.h"
#include "gui/sticker/StickerFormLayout.h"
#include "gui/watch/FrmWatch.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>

using namespace StickerFormLayout;

namespace {

// Widths of the line panel's fields in twips.
constexpr int LineFieldWidth = 3930;
constexpr int ShortLineWidth = 1710;
constexpr int RangeWidth = 780;

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

// The rows of the line panel, in twips from its top.
constexpr int lineTop(int row)
{
    return 210 + row * 390;
}
constexpr int CountRow = lineTop(7) + 90;
constexpr int ModeRow = CountRow + 420;
constexpr int ButtonRow = ModeRow + 390 + 660 + 90;

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
    buildLineFields();
    buildCountRow();
    buildModeRow();
    buildFormatSlots();
    buildButtons();
}

// The sticker lines: line number, field, and on lines 4 and 5 a range
// with its size and its "++" box.
void Frm0010Sticker::buildLineFields()
{
    static const int lineLabels[7] = {11, 7, 4, 6, 10, 14, 15};
    static const int lineFields[7] = {0, 1, 2, 3, 4, 8, 9};
    for (int row = 0; row < 7; ++row) {
        const int top = lineTop(row);
        lb[size_t(lineLabels[row])] = label(lbName(lineLabels[row]), QString::number(row + 1), Frame4, 45,
            top, 240, Qt::AlignRight | Qt::AlignVCenter);
        const bool ranged = row == 3 || row == 4;
        const int field = lineFields[row];
        Atxt[size_t(field)]
            = lineField(field, QString(), Frame4, 330, top, ranged ? ShortLineWidth : LineFieldWidth);
    }
    const int row4 = lineTop(3);
    const int row5 = lineTop(4);
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
}

// Sticker count, the grid's capacity and the pages.
void Frm0010Sticker::buildCountRow()
{
    lb[0] = label(lbName(0), tr("No of Sticker"), Frame4, 120, CountRow, 1230);
    TxNos = textBox(QStringLiteral("TxNos"), QStringLiteral("0"), Frame4, 1380, CountRow, 900);
    lb[2] = label(lbName(2), QStringLiteral("0"), Frame4, 2310, CountRow, 660);
    lb[2]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lb[12] = label(
        lbName(12), tr("Page"), Frame4, 3060, CountRow, 480, Qt::AlignRight | Qt::AlignVCenter);
    txtPage = textBox(QStringLiteral("txtPage"), QStringLiteral("0"), Frame4, 3600, CountRow, 660);
}

// Windows mode, the hidden settings button and the preview.
void Frm0010Sticker::buildModeRow()
{
    ChKwIN = new QCheckBox(tr("Window"), Frame4);
    ChKwIN->setObjectName(QStringLiteral("ChKwIN"));
    place(ChKwIN, 330, ModeRow, 1500, FieldHeight);
    JeweledButton1 = new JeweledButton(QStringLiteral("JeweledButton1"), tr("Setting "), Frame4);
    place(JeweledButton1, 3360, ModeRow - 30, 1305, 360);
    JeweledButton1->hide();
    // The print preview of the Windows-mode sheet.
    CmdPreview = new JeweledButton(QStringLiteral("CmdPreview"), tr("Preview"), Frame4);
    place(CmdPreview, 1920, ModeRow - 30, 1350, 360);
}

// The format slots, shown in the order of their captions.
void Frm0010Sticker::buildFormatSlots()
{
    Frame3 = new QGroupBox(tr("Setting"), Frame4);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    place(Frame3, 120, ModeRow + 390, 4545, 660);
    for (int slot = 0; slot < FormatStore::SlotCount; ++slot) {
        const QString caption = FormatStore::slotCaption(slot);
        auto *b = new QRadioButton(caption, Frame3);
        b->setObjectName(QStringLiteral("OPss(%1)").arg(slot));
        place(b, 150 + (caption.toInt() - 1) * 540, 270, 510, FieldHeight);
        OPss[size_t(slot)] = b;
    }
}

void Frm0010Sticker::buildButtons()
{
    JBshow[0] = new JeweledButton(QStringLiteral("JBshow(0)"), tr("SHO&W"), Frame4);
    JBshow[0]->setToolTip(tr("Display Page Wise  Print View "));
    JBshow[0]->setIcon(StylePictures::standard(QStyle::SP_FileDialogContentsView, this));
    place(JBshow[0], 120, ButtonRow, 1080, 480);
    JBshow[1] = new JeweledButton(QStringLiteral("JBshow(1)"), tr("Print"), Frame4);
    // Print and Exit show the icon theme's pictures where it has them, once
    // the form is on screen (themeButtonIcons); the style's own until then.
    JBshow[1]->setIcon(StylePictures::builtIn(QStyle::SP_DialogApplyButton, this));
    place(JBshow[1], 1245, ButtonRow, 1080, 480);
    CmdSave = new JeweledButton(QStringLiteral("CmdSave"), tr("Save"), Frame4);
    place(CmdSave, 2370, ButtonRow, 900, 480);
    CmdExit = new JeweledButton(QStringLiteral("CmdExit"), tr("    E &X I T"), Frame4);
    CmdExit->setToolTip(tr("Return to Main Menu"));
    CmdExit->setIcon(StylePictures::builtIn(QStyle::SP_DialogCloseButton, this));
    place(CmdExit, 3315, ButtonRow, 1350, 480);
}

void Frm0010Sticker::themeButtonIcons()
{
    JBshow[1]->setIcon(QIcon::fromTheme(
        QStringLiteral("document-print"), StylePictures::standard(QStyle::SP_DialogApplyButton, this)));
    CmdExit->setIcon(StylePictures::standard(QStyle::SP_DialogCloseButton, this));
}
