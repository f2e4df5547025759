// The sticker form's settings panel: the sheet's settings, the Windows-mode
// geometry and the on-screen sheet, placed at their twip positions.

#include "gui/sticker/Frm0010Sticker.h"
#include "gui/sticker/StickerFormLayout.h"
#include "gui/sticker/StickerMorePanel.h"
#include "gui/sticker/StickerPreview.h"

#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>

using namespace StickerFormLayout;

namespace {

// The rows of the settings panel, in twips from its top.
constexpr int settingTop(int row)
{
    return 330 + row * 315;
}

} // namespace

void Frm0010Sticker::buildSettingsPanel()
{
    Frame1 = new QGroupBox(tr("Setting"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    place(Frame1, Margin + Frame4Width, Margin, Frame1Width, FormHeight - Margin - 90);
    FrameMore = new StickerMorePanel(this);
    place(FrameMore, Margin + Frame4Width + Frame1Width + 60, Margin, StickerMorePanel::widthTwips() - 60,
        FormHeight - Margin - 90);
    buildSheetSettings();
    buildWindowsGeometry();

    // The on-screen Windows-mode sheet, beside the settings it is drawn with.
    Pic = new StickerPreview(Frame1);
    place(Pic, 3540, 330, Frame1Width - 3540 - 120, FormHeight - Margin - 90 - 330 - 120);
}

// The sheet: columns, rows, the spaces between them, the fields, and the
// pitch of character mode.
void Frm0010Sticker::buildSheetSettings()
{
    constexpr int labelWidth = 2400;
    constexpr int fieldLeft = 2580;
    constexpr int fieldWidth = 780;
    auto setting = [&](QLineEdit *&box, const QString &name, int labelIndex, const QString &caption,
                       int row) {
        lb[size_t(labelIndex)] = label(lbName(labelIndex), caption, Frame1, 120, settingTop(row), labelWidth);
        box = textBox(name, QString(), Frame1, fieldLeft, settingTop(row), fieldWidth);
    };
    setting(TxSp, QStringLiteral("TxSp"), 8, tr("SPace Between Col"), 0);
    setting(TxCol, QStringLiteral("TxCol"), 3, tr("Col"), 1);
    setting(TxRow, QStringLiteral("TxRow"), 5, tr("Row"), 2);
    // Blank lines in character mode, the row pitch in Windows mode: both
    // modes use it, so it stays outside the Windows-mode frame.
    auto *label3 = label(QStringLiteral("Label3"), tr("Margin Between Two Sticker"), Frame1, 120,
        settingTop(3), labelWidth);
    Q_UNUSED(label3);
    TxBlank = textBox(QStringLiteral("TxBlank"), QString(), Frame1, fieldLeft, settingTop(3), fieldWidth);
    setting(TxMaxFLenth, QStringLiteral("TxMaxFLenth"), 9, tr("Max Field Lenth"), 4);

    lb[13] = label(lbName(13), tr("Max Field"), Frame1, 120, settingTop(5), labelWidth);
    Combo1 = new QComboBox(Frame1);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    for (int i = 1; i <= 7; ++i)
        Combo1->addItem(QString::number(i));
    place(Combo1, fieldLeft, settingTop(5), fieldWidth, FieldHeight);
    setting(txtRowPrint, QStringLiteral("txtRowPrint"), 17, tr("Row Printing"), 6);
    lb[19] = label(lbName(19), tr("Loop Position"), Frame1, 120, settingTop(7), labelWidth);
    Combo2 = new QComboBox(Frame1);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->addItems({QStringLiteral("4"), QStringLiteral("5")});
    place(Combo2, fieldLeft, settingTop(7), fieldWidth, FieldHeight);

    Op[0] = new QRadioButton(tr("Normal    ( 80 Col )"), Frame1);
    Op[1] = new QRadioButton(tr("Cond.     (136 Col )"), Frame1);
    for (int i = 0; i < 2; ++i) {
        Op[size_t(i)]->setObjectName(QStringLiteral("Op(%1)").arg(i));
        place(Op[size_t(i)], 240, settingTop(8 + i), 3000, FieldHeight);
    }
    Op[0]->setChecked(true);
}

// The Windows-mode geometry: font, margins and spaces.
void Frm0010Sticker::buildWindowsGeometry()
{
    Frame5 = new QGroupBox(tr("Window base Setting"), Frame1);
    Frame5->setObjectName(QStringLiteral("Frame5"));
    place(Frame5, 60, settingTop(10) - 30, 3360, 2130);
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
}
