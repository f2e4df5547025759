#include "gui/platform/FormActivation.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace FormActivation {
namespace {

QPointer<QWidget> s_previous;
QPointer<QWidget> s_current;

bool isForm(const QWidget *w)
{
    return w->isWindow() && !qobject_cast<const QDialog *>(w) && w->windowType() != Qt::Popup
        && w->windowType() != Qt::ToolTip;
}

// Sees every activation before the window itself does, and remembers the
// last two forms; dialogs and pop-ups are not forms.
class Watcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate && watched->isWidgetType()) {
            auto *w = static_cast<QWidget *>(watched);
            if (isForm(w)) {
                s_previous = s_current;
                s_current = w;
            }
        }
        return false;
    }
};

} // namespace

void install()
{
    static Watcher *watcher = nullptr;
    if (!watcher && qApp) {
        watcher = new Watcher(qApp);
        qApp->installEventFilter(watcher);
    }
}

bool cameFromAnotherForm(const QWidget *form)
{
    return s_current == form && s_previous != form;
}

} // namespace FormActivation
