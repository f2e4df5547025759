#include "platform/OleColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace OleColor {

QColor toColor(quint32 ole)
{
    if (ole & 0x80000000u) {
        const QPalette pal = QGuiApplication::palette();
        switch (ole) {
        case WindowBackground:
            return pal.color(QPalette::Base);
        case WindowText:
            return pal.color(QPalette::Text);
        case ButtonFace:
            return pal.color(QPalette::Button);
        case ButtonShadow:
            return pal.color(QPalette::Dark);
        case ButtonText:
            return pal.color(QPalette::ButtonText);
        case Highlight3D:
            return pal.color(QPalette::Light);
        default:
            return pal.color(QPalette::Window);
        }
    }
    return QColor(int(ole & 0xFF), int((ole >> 8) & 0xFF), int((ole >> 16) & 0xFF));
}

quint32 fromColor(const QColor &color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

} // namespace OleColor
