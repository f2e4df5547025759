#include "sticker/Frm0010Sticker.h"

#include "Version.h"

Frm0010Sticker::Frm0010Sticker(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Frm0010Sticker"));
    setWindowTitle(QStringLiteral("Velmora Software - Utility %1").arg(QStringLiteral(STICKER2_VERSION)));
}
