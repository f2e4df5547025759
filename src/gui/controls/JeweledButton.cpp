#include "gui/controls/JeweledButton.h"

JeweledButton::JeweledButton(const QString &objectName, const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    setObjectName(objectName);
    setAutoDefault(false);
}
