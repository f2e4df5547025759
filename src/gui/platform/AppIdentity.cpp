#include "gui/platform/AppIdentity.h"

#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QWindow>

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

// The drawn icon, drawn at a size the first time that size is asked for:
// the desktop may never ask (a Wayland compositor takes the desktop entry's
// icon; the offscreen platform shows none), and an X11 window manager asks
// as the window is mapped.
class DrawnIconEngine : public QIconEngine
{
public:
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        const int side = qMax(1, qMin(size.width(), size.height()));
        QPixmap &drawn = m_drawn[side];
        if (drawn.isNull())
            drawn = drawnIcon(side);
        if (mode == QIcon::Normal)
            return drawn;
        return QIcon(drawn).pixmap(size, mode, state); // the style's disabled or selected look
    }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return QSize(side, side);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int side : {16, 24, 32, 48, 64, 128})
            sizes << QSize(side, side);
        return sizes;
    }
    QIconEngine *clone() const override { return new DrawnIconEngine(*this); }
    QString key() const override { return QStringLiteral("Sticker2DrawnIcon"); }

private:
    QHash<int, QPixmap> m_drawn;
};

// Waits for the first window of the program to be drawn, then gives the
// application the icon theme's icon, when the theme has one.
class ThemeIconWhenShown : public QObject
{
public:
    explicit ThemeIconWhenShown(QObject *application)
        : QObject(application)
    {
        application->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && !m_seen) {
            auto *window = qobject_cast<QWindow *>(watched);
            if (window && window->isExposed()) {
                // The expose is being handled: the theme is read after it.
                m_seen = true;
                parent()->removeEventFilter(this);
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        const QIcon themed = themeWindowIcon();
                        if (!themed.isNull())
                            QApplication::setWindowIcon(themed);
                        deleteLater();
                    },
                    Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

QString desktopFileName()
{
    return QStringLiteral("io.github.sticker2.Sticker2");
}

QIcon drawnWindowIcon()
{
    return QIcon(new DrawnIconEngine);
}

QIcon themeWindowIcon()
{
    return QIcon::fromTheme(desktopFileName());
}

void apply()
{
    QGuiApplication::setDesktopFileName(desktopFileName());
    // The drawn icon at once, the theme's once a window is on screen: an
    // icon theme is read whole the first time it is asked for (its index
    // has hundreds of folders), some milliseconds the first window need not
    // wait for.
    QApplication::setWindowIcon(drawnWindowIcon());
    new ThemeIconWhenShown(QCoreApplication::instance());
}

} // namespace AppIdentity
