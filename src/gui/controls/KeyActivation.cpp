#include "gui/controls/KeyActivation.h"

#include <QFrame>
#include <QKeyEvent>
#include <QWidget>

void KeyActivation::install(QWidget *control, std::function<void()> activate)
{
    new KeyActivation(control, std::move(activate));
}

KeyActivation::KeyActivation(QWidget *control, std::function<void()> activate)
    : QObject(control)
    , m_activate(std::move(activate))
{
    control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(this);
}

bool KeyActivation::eventFilter(QObject *watched, QEvent *event)
{
    auto *frame = qobject_cast<QFrame *>(watched);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::NoModifier
            && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            m_activate();
            return true;
        }
        break;
    }
    case QEvent::FocusIn:
        if (frame) {
            m_frame = frame->frameShape();
            frame->setFrameShape(QFrame::Box);
        }
        break;
    case QEvent::FocusOut:
        if (frame)
            frame->setFrameShape(QFrame::Shape(m_frame));
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
