#include "gui/platform/Dialogs.h"

#include "platform/SystemPaper.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QList>
#include <QPrintDialog>
#include <QPrinter>

namespace Dialogs {
namespace {

bool s_testMode = false;
QList<QString> s_names;
QList<QColor> s_colors;
QList<QString> s_printFiles;
QList<Asked> s_asked;

QString nextName(const QString &kind, const QString &title, const QString &filter)
{
    s_asked.append({kind, title, filter});
    return s_names.isEmpty() ? QString() : s_names.takeFirst();
}

} // namespace

// Our filters are written "Text (*.txt)|*.txt" (description|pattern pairs);
// Qt wants "Text (*.txt);;...". A description that already ends with its
// pattern in parentheses is shown as it is, so no type reads
// "Text (*.txt) (*.txt)"; Qt matches the pattern without regard to case.
QString qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString pattern = parts.at(i + 1).trimmed();
        if (description.endsWith(QStringLiteral("(%1)").arg(pattern), Qt::CaseInsensitive))
            out << description;
        else
            out << QStringLiteral("%1 (%2)").arg(description, pattern);
    }
    if (out.isEmpty())
        return filter;
    return out.join(QStringLiteral(";;"));
}

QString openFileName(QWidget *parent, const QString &title, const QString &filter, const QString &initial)
{
    if (s_testMode)
        return nextName(QStringLiteral("open"), title, filter);
    return QFileDialog::getOpenFileName(parent, title, initial, qtFilter(filter));
}

QString saveFileName(QWidget *parent, const QString &title, const QString &filter, const QString &initial)
{
    if (s_testMode)
        return nextName(QStringLiteral("save"), title, filter);
    return QFileDialog::getSaveFileName(parent, title, initial, qtFilter(filter));
}

QString folderName(QWidget *parent, const QString &title, const QString &initial)
{
    if (s_testMode)
        return nextName(QStringLiteral("folder"), title, QString());
    return QFileDialog::getExistingDirectory(parent, title, initial);
}

QColor color(QWidget *parent, const QColor &initial)
{
    if (s_testMode) {
        s_asked.append({QStringLiteral("color"), QString(), QString()});
        return s_colors.isEmpty() ? QColor() : s_colors.takeFirst();
    }
    return QColorDialog::getColor(initial, parent);
}

bool print(QWidget *parent, QPrinter *printer, bool selectionOffered)
{
    if (s_testMode) {
        s_asked.append({QStringLiteral("print"), QString(), QString()});
        const QString file = s_printFiles.isEmpty() ? QString() : s_printFiles.takeFirst();
        if (file.isEmpty())
            return false;
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file);
        printer->setPrintRange(selectionOffered ? QPrinter::Selection : QPrinter::AllPages);
        return true;
    }
    // Printing to a file, Qt would take the paper from the language's country.
    if (printer->outputFormat() == QPrinter::PdfFormat)
        printer->setPageSize(SystemPaper::pageSize());
    QPrintDialog dialog(printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, selectionOffered);
    printer->setPrintRange(selectionOffered ? QPrinter::Selection : QPrinter::AllPages);
    return dialog.exec() == QDialog::Accepted;
}

void setTestMode(bool on)
{
    s_testMode = on;
    s_names.clear();
    s_colors.clear();
    s_printFiles.clear();
    s_asked.clear();
}

void setNextFileName(const QString &name)
{
    s_names.append(name);
}

void setNextColor(const QColor &color)
{
    s_colors.append(color);
}

void setNextPrintFile(const QString &pdfFile)
{
    s_printFiles.append(pdfFile);
}

QList<Asked> asked()
{
    return s_asked;
}

} // namespace Dialogs
