#pragma once

#include "export/ExportFormat.h"
#include "export/PdfExport.h"
#include "export/PngResolution.h"
#include "render/EmphasisRenderer.h"
#include "render/PrintedRenderer.h"
#include "report/PageSource.h"

#include <QColor>
#include <QString>
#include <QVector>

#include <functional>

class QIODevice;

// Told how far an export has come: `done` of `total` steps (total 0 while
// it is not known, as for the rows of a workbook); false stops the export,
// which then leaves no file.
using ExportProgress = std::function<bool(qint64 done, qint64 total)>;

// What an export is given, whatever its format: each format reads the part
// it needs. The export dialog fills it from the view, `convert` from the
// stored settings and its options.
struct ExportRequest
{
    QString printFile; // a PDF is titled with its name; the web page and the workbook read it whole
    QByteArray shownFile; // the web page's source in its place while the view shows it edited; empty: none
    PageSource source;             // the pages in the document's look: print-file pages, or sheets
                                   // (a whole source, pagesOf() or sheetsOf(): the writers index its table)
    QVector<int> chosen;           // the chosen pages of `source`, in order
    PageRenderOptions render;      // the markup context (colours, code page, zoom), the sizes, the forms
    QColor background = Qt::white; // the report's background, the web page's
    QVector<int> columnMarks;      // the workbook's; element 0 is 0
    PdfPaper paper = PdfPaper::A4;
    bool landscape = false;
    int dpi = PngExport::DefaultDpi; // of pictures
    PdfDocumentInfo pdfInfo; // the PDF's title (the print file's name when empty), subject, keywords
    ExportProgress progress;
    std::function<void(const QString &note)> note; // what went well but should be known (PdfOptions::note)
};

// Where an export goes: the file `path`, written whole or not at all (an
// old file of that name stays as it was on failure), or an open device for
// the formats whose row in the format table may go to one.
struct ExportOutput
{
    QString path;
    QIODevice *device = nullptr;
    QString deviceName; // names the device in errors ("standard output"); empty: errors say only why
};

// A PDF or pictures hold at most this many pages or sheets. A form feed
// ejects a sheet whether anything is printed on it or not, so a job of
// nothing but form feeds is a blank page a byte: 50 MB of them made a PDF of
// 32 GB in eight minutes (or would make 50 million pictures) and would fill
// the disk of a print server's PDF service. A million is far past any
// report (a box of fanfold paper holds a few thousand sheets); a part of a
// larger file can still be chosen.
constexpr qsizetype MostDrawnPages = 1000000;

// Writes the request in the format, through the format's row of the table.
// A format that reads the print file's pages (ExportLook::FilePages) given
// the sheets of the printed look gets the pages those sheets were printed
// from. False with an error that names the file that failed (the print file, or
// the output when it has a name) and the cause. A PDF or pictures of more
// than MostDrawnPages pages or sheets are refused before anything is written.
// An output that is one of the export's inputs (the print file or a form,
// also through a link or another name) is refused before anything is
// written, each picture's name too.
bool exportReport(ExportFormat format, const ExportRequest &request, const ExportOutput &out, QString *error);

// The files an export reads and so must not write over: the print file and
// its forms.
QStringList exportInputs(const ExportRequest &request);

// The writers of the format table's rows, one per format.
namespace Exporters {
bool richText(const ExportRequest &request, const ExportOutput &out, QString *error);
bool plainText(const ExportRequest &request, const ExportOutput &out, QString *error);
bool workbook(const ExportRequest &request, const ExportOutput &out, QString *error);
bool webPage(const ExportRequest &request, const ExportOutput &out, QString *error);
bool pdf(const ExportRequest &request, const ExportOutput &out, QString *error);
bool pictures(const ExportRequest &request, const ExportOutput &out, QString *error);
} // namespace Exporters
