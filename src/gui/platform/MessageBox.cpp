#include "gui/platform/MessageBox.h"

#include <QApplication>
#include <QDialog>

namespace {

bool s_testMode = false;
QList<QMessageBox::StandardButton> s_answers;
QList<MessageBox::Record> s_shown;

QString windowTitle(const QString &title)
{
    // A box with no title of its own shows the program's name, as users expect.
    return title.isEmpty() ? QApplication::applicationName() : title;
}

} // namespace

QMessageBox::StandardButton MessageBox::show(QWidget *parent, const QString &text, const QString &title,
                                             QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton)
{
    if (s_testMode) {
        QStringList dialogs;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (qobject_cast<QDialog *>(window))
                dialogs << window->objectName();
        }
        s_shown.append({text, title, icon, buttons, dialogs});
        if (!s_answers.isEmpty())
            return s_answers.takeFirst();
        if (defaultButton != QMessageBox::NoButton)
            return defaultButton;
        for (QMessageBox::StandardButton b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No,
                                              QMessageBox::Cancel}) {
            if (buttons & b)
                return b;
        }
        return QMessageBox::NoButton;
    }
    QMessageBox box(icon, windowTitle(title), text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

void MessageBox::information(QWidget *parent, const QString &text, const QString &title)
{
    show(parent, text, title, QMessageBox::Information);
}

void MessageBox::critical(QWidget *parent, const QString &text, const QString &title)
{
    show(parent, text, title, QMessageBox::Critical);
}

void MessageBox::setTestMode(bool on)
{
    s_testMode = on;
    s_answers.clear();
    s_shown.clear();
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer)
{
    s_answers.append(answer);
}

const QList<MessageBox::Record> &MessageBox::shown()
{
    return s_shown;
}

void MessageBox::clearShown()
{
    s_shown.clear();
}
