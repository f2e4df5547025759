#pragma once

// The look of the print panel's page-range boxes, shared by the files of
// the panel: their light backgrounds, with dark text under any desktop theme.

#include "platform/OleColor.h"

#include <QLineEdit>
#include <QPalette>

namespace PrintPanelLook {

// Backgrounds of the range boxes, 0x00BBGGRR.
constexpr quint32 EnabledBoxColor = 16777215;
constexpr quint32 DisabledBoxColor = 14139134;

inline void setBoxColor(QLineEdit *box, quint32 color)
{
    // The box's own light colours, with dark text under any desktop theme.
    QPalette p = box->palette();
    p.setColor(QPalette::Base, OleColor::toColor(color));
    p.setColor(QPalette::Text, Qt::black);
    box->setPalette(p);
}

} // namespace PrintPanelLook
