#include "gui/printing/ErrorWindow.h"

#include "gui/platform/MessageBox.h"

#include <QApplication>

QString ShowErrorWindow(
    const QString &procedure, const QString &title, const RunTimeError &error, QWidget *parent)
{
    if (!error.pending())
        return QString();
    const QString text = QCoreApplication::translate(
        "Printing", "%1\r\nError number: %2\r\nError context: %3\r\nDescription:  %4")
                             .arg(procedure, QString::number(error.number), error.source, error.description);
    const QString shownTitle
        = title.trimmed().isEmpty() ? QCoreApplication::translate("Printing", "Error Window") : title;
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    MessageBox::show(parent, shown, shownTitle, QMessageBox::Warning, QMessageBox::Ok);
    return text;
}
