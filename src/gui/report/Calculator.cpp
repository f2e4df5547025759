#include "gui/report/Calculator.h"

#include <QObject>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>

namespace Calculator {

QStringList candidates()
{
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("galculator"),
        QStringLiteral("xcalc")};
}

QString find()
{
    for (const QString &name : candidates()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

bool start(QString *error)
{
    const QString program = find();
    if (program.isEmpty()) {
        *error = QObject::tr("No desktop calculator is installed.\nInstall one of: %1.")
                     .arg(candidates().join(QStringLiteral(", ")));
        return false;
    }
    if (!QProcess::startDetached(program, {})) {
        *error = QObject::tr("The calculator \"%1\" could not be started.").arg(program);
        return false;
    }
    return true;
}

// A small pocket calculator, drawn so the picture needs no image file.
QPixmap picture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(pixmap.rect()).adjusted(4, 1, -4, -1);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(90, 90, 100));
    p.drawRoundedRect(body, 3, 3);
    const double pad = body.width() * 0.12;
    QRectF display(body.left() + pad, body.top() + pad, body.width() - 2 * pad, body.height() * 0.22);
    p.setBrush(QColor(190, 220, 180));
    p.drawRect(display);
    const double keysTop = display.bottom() + pad;
    const double keyW = (body.width() - 2 * pad) / 3.0;
    const double keyH = (body.bottom() - pad - keysTop) / 3.0;
    p.setBrush(QColor(235, 235, 235));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            p.drawRect(QRectF(body.left() + pad + c * keyW + 1, keysTop + r * keyH + 1, keyW - 2, keyH - 2));
    return pixmap;
}

} // namespace Calculator
