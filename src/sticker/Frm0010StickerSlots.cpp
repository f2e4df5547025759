// The sticker form's stored formats and its character-mode run.

#include "sticker/Frm0010Sticker.h"

#include <QFont>
#include <QRadioButton>

void Frm0010Sticker::selectSlot(int slot)
{
    if (slot < 0 || slot >= int(OPss.size()))
        return;
    for (QRadioButton *b : OPss) {
        QFont f = b->font();
        f.setBold(false);
        b->setFont(f);
    }
    QFont f = OPss[size_t(slot)]->font();
    f.setBold(true);
    OPss[size_t(slot)]->setFont(f);
    OPss[size_t(slot)]->setChecked(true);
    m_formatSlot = slot;
}

void Frm0010Sticker::LoadWindowSettings()
{
}

void Frm0010Sticker::CmdSave_Click()
{
}

void Frm0010Sticker::runCharacterSheet(StickerInput &input)
{
    Q_UNUSED(input);
}
