#pragma once

#include <QColor>
#include <QString>

class QPrinter;
class QWidget;

// The file and colour dialogs of the program, wrapped once so tests can
// answer them. In test mode no dialog is shown: the next queued answer is
// returned (an empty name / invalid colour, as a cancel, when none is queued),
// and the captions asked for are recorded.
namespace Dialogs {

QString openFileName(QWidget *parent, const QString &title, const QString &filter,
                     const QString &initial = QString());
// A name typed without an ending gets the ending of the type chosen in the
// dialog ("report" with "PDF Document (*.pdf)" chosen is "report.pdf").
QString saveFileName(QWidget *parent, const QString &title, const QString &filter,
                     const QString &initial = QString());
// The name with the ending of entry `chosen` of `filter` (our
// description|pattern form) when the name has none; the name as it is when
// it has one, or the entry's pattern names no single ending ("*").
QString withChosenEnding(const QString &name, const QString &filter, int chosen);
// A folder to use, or empty when the user cancels.
QString folderName(QWidget *parent, const QString &title, const QString &initial = QString());
// The chosen colour, or an invalid colour when the user cancels.
QColor color(QWidget *parent, const QColor &initial);

// The print dialog on `printer`, without page numbers; with
// `selectionOffered` the dialog offers (and starts on) the selection. True
// when the user accepts; the printer then holds the choice.
bool print(QWidget *parent, QPrinter *printer, bool selectionOffered);

// A filter written as description|pattern pairs ("Text (*.txt)|*.txt|...")
// in the form the Qt file dialogs take.
QString qtFilter(const QString &filter);

// Test hooks.
void setTestMode(bool on);
// `chosenType`: the entry of the filter chosen in a save dialog, -1 for none.
void setNextFileName(const QString &name, int chosenType = -1);
void setNextColor(const QColor &color);
// Answers the next print dialog: accepted with the output sent to this PDF
// file (and the selection chosen when one is offered); an empty name, or
// none queued, cancels it.
void setNextPrintFile(const QString &pdfFile);
struct Asked
{
    QString kind; // "open", "save", "color" or "print"
    QString title;
    QString filter;
    QString initial; // the name or folder the dialog starts at
};
QList<Asked> asked();

} // namespace Dialogs
