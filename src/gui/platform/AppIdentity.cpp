#include "gui/platform/AppIdentity.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>

namespace AppIdentity {

namespace {

// A sticker sheet on tractor paper: white labels with lines of text, the
// pin-feed holes along both edges.
QPixmap drawnIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    const QRectF sheet(unit, unit * 0.5, size - 2 * unit, size - unit);
    p.setPen(QPen(QColor(60, 60, 70), qMax(1.0, unit * 0.5)));
    p.setBrush(QColor(250, 250, 245));
    p.drawRoundedRect(sheet, unit, unit);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 150, 160));
    for (int i = 1; i < 8; i += 2) {
        p.drawEllipse(QPointF(sheet.left() + unit * 1.2, sheet.top() + i * sheet.height() / 8), unit * 0.6, unit * 0.6);
        p.drawEllipse(QPointF(sheet.right() - unit * 1.2, sheet.top() + i * sheet.height() / 8), unit * 0.6, unit * 0.6);
    }
    p.setBrush(QColor(40, 90, 170));
    for (int row = 0; row < 3; ++row) {
        const qreal top = sheet.top() + unit * (1.5 + row * 4.5);
        p.drawRect(QRectF(sheet.left() + unit * 3, top, sheet.width() - unit * 6, unit * 1.2));
        p.drawRect(QRectF(sheet.left() + unit * 3, top + unit * 2, sheet.width() - unit * 9, unit * 0.9));
    }
    return pixmap;
}

} // namespace

QString desktopFileName()
{
    return QStringLiteral("io.github.sticker2.Sticker2");
}

QIcon windowIcon()
{
    QIcon icon = QIcon::fromTheme(desktopFileName());
    if (!icon.isNull())
        return icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(drawnIcon(size));
    return icon;
}

void apply()
{
    QGuiApplication::setDesktopFileName(desktopFileName());
    QApplication::setWindowIcon(windowIcon());
}

} // namespace AppIdentity
