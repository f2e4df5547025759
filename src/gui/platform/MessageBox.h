#pragma once

#include <QMessageBox>
#include <QString>

// Every message box of the program goes through here, so tests can answer
// them: in test mode no window is shown, the message is recorded and the next
// queued answer (or the default button) is returned.
class MessageBox
{
public:
    struct Record
    {
        QString text;
        QString title;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QStringList dialogs; // the names of the other dialogs alive when it came up
    };

    static QMessageBox::StandardButton show(QWidget *parent, const QString &text,
                                            const QString &title = QString(),
                                            QMessageBox::Icon icon = QMessageBox::NoIcon,
                                            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

    static void information(QWidget *parent, const QString &text, const QString &title = QString());
    static void critical(QWidget *parent, const QString &text, const QString &title = QString());

    // Test hooks.
    static void setTestMode(bool on);
    static void setNextAnswer(QMessageBox::StandardButton answer);
    static const QList<Record> &shown();
    static void clearShown();
};
