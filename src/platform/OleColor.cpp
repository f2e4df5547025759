#include "platform/OleColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// The desktop's palette. A command that draws nothing runs without a GUI
// application, and Qt's application palette is then not to be had (asking
// for it crashes): the colours of Qt's own default palette stand in, the
// ones a command on the offscreen platform gets, so that a stored system
// colour reads the same in every command.
QPalette systemPalette()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return QGuiApplication::palette();
    QPalette pal(Qt::black, QColor(0xef, 0xef, 0xef));
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    pal.setColor(QPalette::Button, QColor(0xef, 0xef, 0xef));
    pal.setColor(QPalette::Dark, QColor(0x9f, 0x9f, 0x9f));
    pal.setColor(QPalette::ButtonText, Qt::black);
    pal.setColor(QPalette::Light, Qt::white);
    return pal;
}

} // namespace

namespace OleColor {

QColor toColor(quint32 ole)
{
    if (ole & 0x80000000u) {
        const QPalette pal = systemPalette();
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
