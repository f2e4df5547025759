#include "gui/platform/FirstPaint.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace FirstPaint {

namespace {

// Follows one window from its showing to its first expose: the window
// (QWindow) exists only once the widget is shown, and its expose draws the
// first picture.
class Waiter : public QObject
{
public:
    Waiter(QWidget *window, QObject *context, std::function<void()> work)
        : QObject(context)
        , m_window(window)
        , m_work(std::move(work))
    {
        m_window->installEventFilter(this);
        if (m_window->windowHandle())
            m_window->windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show && m_window->windowHandle())
            m_window->windowHandle()->installEventFilter(this);
        if (event->type() == QEvent::Expose && m_window && watched == m_window->windowHandle()
            && m_window->windowHandle()->isExposed()) {
            // The expose is being handled: the work goes after it.
            m_window->removeEventFilter(this);
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(parent(), std::move(m_work), Qt::QueuedConnection);
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> m_window;
    std::function<void()> m_work;
};

} // namespace

bool drawn(const QWidget *widget)
{
    const QWidget *window = widget->window();
    return window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed();
}

void then(QWidget *widget, QObject *context, std::function<void()> work)
{
    if (drawn(widget)) {
        QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
        return;
    }
    new Waiter(widget->window(), context, std::move(work));
}

} // namespace FirstPaint
