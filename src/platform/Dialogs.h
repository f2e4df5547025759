#pragma once

#include <QColor>
#include <QString>

class QWidget;

// The file and colour dialogs of the program, wrapped once so tests can
// answer them. In test mode no dialog is shown: the next queued answer is
// returned (an empty name / invalid colour, as a cancel, when none is queued),
// and the captions asked for are recorded.
namespace Dialogs {

QString openFileName(QWidget *parent, const QString &title, const QString &filter,
                     const QString &initial = QString());
QString saveFileName(QWidget *parent, const QString &title, const QString &filter,
                     const QString &initial = QString());
// The chosen colour, or an invalid colour when the user cancels.
QColor color(QWidget *parent, const QColor &initial);

// Test hooks.
void setTestMode(bool on);
void setNextFileName(const QString &name);
void setNextColor(const QColor &color);
struct Asked
{
    QString kind; // "open", "save" or "color"
    QString title;
    QString filter;
};
QList<Asked> asked();

} // namespace Dialogs
