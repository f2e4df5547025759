#pragma once

#include "form/PdfUnderlay.h"
#include "form/SheetForms.h"
#include "render/EmphasisRenderer.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

class PageTable;
class QIODevice;

enum class PdfPaper { A4, Letter };

struct PdfOptions
{
    QVector<int> pages; // 0-based indexes, written in this order; each must be a page of the table
    PdfPaper paper = PdfPaper::A4;
    bool landscape = false;
    double marginMillimetres = 10; // on every side
    QString title;                 // the document title readers show, for instance the print file's name
    QString subject;               // the document's subject and keywords (none when empty)
    QString keywords;
    QDateTime created;             // the date the PDF gives (PdfFinishing::creationDate)
    SheetForms forms;              // the printed look's forms under its sheets
    PageRenderOptions render;      // markup context and colours, largest and smallest size
    // Told after each page how many of the pages are written; false stops
    // the PDF there (written is false, the error says it was cancelled).
    std::function<bool(int written, int total)> progress;
    // Told what a reader of a PDF that was written should know: a form
    // that reaches past the page (a footer of an A4 letterhead on Letter
    // paper), said once a form. None is told when it is empty.
    std::function<void(const QString &note)> note;
};

// A PDF of print-file pages: one PDF page per print-file page, more only when
// a page holds more lines than a sheet does (see EmphasisRenderer). The text is
// real text in the embedded report font, so a reader can select and search it.
namespace PdfExport {

// Writes the PDF into an open device, page by page: only the page being
// drawn is held in memory. False with the cause when a page is not in the
// table, no page is chosen or the device fails.
bool write(QIODevice &out, const PageTable &table, const PdfOptions &options, QString *error);

// The same into a file, whole or not at all (an old file of that name stays
// as it was on failure); the error names the file and says why. A name that
// is a device or a pipe rather than a file is refused.
bool save(const QString &path, const PageTable &table, const PdfOptions &options, QString *error);

// The user's paper (SystemPaper: $PAPERSIZE, LC_PAPER, /etc/papersize):
// Letter for the papers 8.5 inches wide, A4 for any other.
PdfPaper defaultPaper();

// "a4" or "letter", any case; nothing for any other name.
std::optional<PdfPaper> paperFromName(const QString &name);

// A write error of a file device, seen as soon as it happens, so a full disk
// ends an export at once rather than at its end: true, with the device's
// error text, when the device is a file that failed.
bool deviceFailed(QIODevice &out, QString *error);

// The document information the options ask for.
PdfDocumentInfo documentInfo(const PdfOptions &options);

} // namespace PdfExport
