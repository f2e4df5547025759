#pragma once

#include <QLatin1String>
#include <QList>
#include <QString>

#include <optional>

// What an export writes. The export dialog and `convert` both choose it from
// this one table: by the name given to --to, or by the ending of the output's
// name.
enum class ExportFormat {
    RichText,  // the chosen pages with their emphasis (any name no other row claims)
    PlainText, // the chosen pages as they are (name ends in "txt", lower case)
    Workbook,  // the whole file cut at the column marks (".xls" or ".xlsx", any case)
    WebPage,   // the whole file (name ends in "html", any case)
    Pdf,       // the chosen pages or sheets drawn (".pdf", any case)
    Png        // the chosen sheets as pictures (".png", any case; not in the dialog's filter)
};

// Which pages a format takes of a document.
enum class ExportLook {
    FilePages, // the print file's pages, whatever the view shows (the sheets' pages in the printed look)
    Shown,     // the pages of the look the document is in: pages with their emphasis, or sheets
    Sheets     // only the sheets of the printed look
};

struct ExportFormatInfo
{
    ExportFormat format;
    QLatin1String name;           // as --to takes it
    QList<QLatin1String> endings; // the output names that choose it
    Qt::CaseSensitivity endingCase;
    bool wholeFile;               // always the whole file, never chosen pages
    bool standardOutput;          // may be written to standard output
    const char *filterLabel;      // the dialog's label, translated where shown; null: not offered
    QLatin1String filterPattern;  // the names the entry lists
    ExportLook look = ExportLook::FilePages;
};

// The table holds what a format is, not its writer (exportReport() in
// ReportExporter.h picks that): the command line's core reads the table
// without linking any writer.
// Every format, in the export dialog's order.
const QList<ExportFormatInfo> &exportFormats();
const ExportFormatInfo &exportFormatInfo(ExportFormat format);
// The format --to NAME names, any case.
std::optional<ExportFormat> exportFormatNamed(const QString &name);
// The format an output's name chooses, in `convert` and the export dialog
// alike (the dialog's filter does not offer pictures, but a name of one gets them).
ExportFormat exportFormatForName(const QString &fileName);
// The command line's reading of OUT: the ending after the name's last dot
// (.htm a web page as well), so "reporttxt" or "a.xhtml" names no format;
// such a name is rich text here, which the command line takes only for .rtf.
ExportFormat exportFormatForOutput(const QString &fileName);
// The export dialog's filter: "Label|*.ext|Label|*.ext...", the labels in
// the user's language.
QString exportDialogFilter();
