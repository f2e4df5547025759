#include "gui/platform/Dialogs.h"

#include "platform/SystemPaper.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QList>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>

#include <utility>

namespace Dialogs {
namespace {

bool s_testMode = false;
QList<std::pair<QString, int>> s_names;
QList<QColor> s_colors;
QList<QString> s_printFiles;
QList<Asked> s_asked;

QString nextName(const QString &kind, const QString &title, const QString &filter, int *chosen = nullptr,
    const QString &initial = QString())
{
    s_asked.append({kind, title, filter, initial});
    const std::pair<QString, int> next = s_names.isEmpty() ? std::pair<QString, int>() : s_names.takeFirst();
    if (chosen)
        *chosen = next.second;
    return next.first;
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
        return nextName(QStringLiteral("open"), title, filter, nullptr, initial);
    return QFileDialog::getOpenFileName(parent, title, initial, qtFilter(filter));
}

QString saveFileName(QWidget *parent, const QString &title, const QString &filter, const QString &initial)
{
    int chosen = -1;
    QString name;
    if (s_testMode) {
        name = nextName(QStringLiteral("save"), title, filter, &chosen, initial);
    } else {
        const QString qt = qtFilter(filter);
        QString selected;
        name = QFileDialog::getSaveFileName(parent, title, initial, qt, &selected);
        chosen = int(qt.split(QStringLiteral(";;")).indexOf(selected));
    }
    return name.isEmpty() ? name : withChosenEnding(name, filter, chosen);
}

QString withChosenEnding(const QString &name, const QString &filter, int chosen)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (chosen < 0 || 2 * chosen + 1 >= parts.size() || QFileInfo(name).fileName().contains(QLatin1Char('.')))
        return name;
    // The entry's first pattern, when it is one ending: "*.pdf" gives ".pdf".
    const QString pattern = parts.at(2 * chosen + 1).trimmed().section(QRegularExpression(QStringLiteral("[ ;]")), 0, 0);
    static const QRegularExpression oneEnding(QStringLiteral("^\\*(\\.[A-Za-z0-9]+)$"));
    const QRegularExpressionMatch match = oneEnding.match(pattern);
    return match.hasMatch() ? name + match.captured(1) : name;
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
        s_asked.append({QStringLiteral("color"), QString(), QString(), QString()});
        return s_colors.isEmpty() ? QColor() : s_colors.takeFirst();
    }
    return QColorDialog::getColor(initial, parent);
}

bool print(QWidget *parent, QPrinter *printer, bool selectionOffered)
{
    if (s_testMode) {
        s_asked.append({QStringLiteral("print"), QString(), QString(), QString()});
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

void setNextFileName(const QString &name, int chosenType)
{
    s_names.append({name, chosenType});
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
