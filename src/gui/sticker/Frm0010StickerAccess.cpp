// The sticker form for the keyboard and for screen readers: every control
// named (the seven lines and their ranges, the count, the settings), and Tab
// going through the lines as they read, then the count, the mode and the
// buttons.
#include "gui/controls/Atext.h"
#include "gui/controls/JeweledButton.h"
#include "gui/sticker/Frm0010Sticker.h"
#include "gui/sticker/StickerPreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

void name(QWidget *control, const QString &text)
{
    control->setAccessibleName(text);
}

void name(Atext *field, const QString &text)
{
    field->setAccessibleName(text);
    field->Text1()->setAccessibleName(text); // the box that takes the focus
}

} // namespace

void Frm0010Sticker::makeAccessible()
{
    // The lines in the order they print; lines 4 and 5 have a range beside them.
    const int lineFields[7] = {0, 1, 2, 3, 4, 8, 9};
    for (int row = 0; row < 7; ++row)
        name(Atxt[size_t(lineFields[row])], tr("Line %1").arg(row + 1));
    name(Atxt[5], tr("Line 4 range, first number"));
    name(Atxt[6], tr("Line 4 range, last number"));
    name(Atxt[10], tr("Line 5 range, first number"));
    name(Atxt[11], tr("Line 5 range, last number"));
    name(Atxt[7], tr("Loop line"));
    name(ChkIn1, tr("Line 4 range counts on"));
    name(ChkIn2, tr("Line 5 range counts on"));
    name(TxNos, tr("No of Sticker"));
    name(txtPage, tr("Page"));
    name(ChKwIN, tr("Window mode"));
    name(Pic, tr("Sticker sheet preview"));
    // The settings: each box named by the label before it.
    for (QGroupBox *panel : {Frame1, Frame5}) {
        for (QLabel *label : panel->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
            QWidget *box = nullptr;
            for (QWidget *w : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if ((qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w))
                    && qAbs(w->y() - label->y()) < 2 && w->x() > label->x()
                    && (!box || w->x() < box->x()))
                    box = w;
            }
            if (box && box->accessibleName().isEmpty()) {
                label->setBuddy(box);
                box->setAccessibleName(label->text().simplified());
            }
        }
    }

    const QList<QWidget *> order {Atxt[0]->Text1(), Atxt[1]->Text1(), Atxt[2]->Text1(), Atxt[3]->Text1(),
        Atxt[5]->Text1(), Atxt[6]->Text1(), ChkIn1, Atxt[4]->Text1(), Atxt[10]->Text1(), Atxt[11]->Text1(),
        ChkIn2, Atxt[8]->Text1(), Atxt[9]->Text1(), TxNos, txtPage, ChKwIN, CmdPreview, JeweledButton1,
        JBshow[0], JBshow[1], CmdSave, CmdExit};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}
