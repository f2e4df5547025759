#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class QFile;
class QIODevice;
class QPDF;

// The document information a PDF reader shows. Title, subject and keywords
// are left as the first pass wrote them when empty; the date is the one the
// PDF says it was made (see PdfFinishing::creationDate).
struct PdfDocumentInfo
{
    QString title;
    QString subject;
    QString keywords;
    QDateTime created; // the print file's last change; none when invalid

    bool isEmpty() const { return title.isEmpty() && subject.isEmpty() && keywords.isEmpty(); }
};

// The last pass of every PDF the program writes, over the PDF Qt's writer
// made: the same input and options give the same bytes in every run (no
// clock in the date, a /ID made from the content, the objects in the order
// they are reached rather than the order of Qt's hash tables), and the text
// Qt placed glyph by glyph is shown a run to a string (PdfTextRuns). Qt's
// own PDF goes through PdfRewriter (finish()); the qpdf routines below serve
// the pass that lays forms under the pages and a PDF laid out otherwise.
namespace PdfFinishing {

// The date a PDF gives as made: SOURCE_DATE_EPOCH when the environment
// sets it (as reproducible builds do), else `printFileChanged` (the print
// file's last change, so a report keeps the date it was printed however
// often it is converted; invalid: no date at all). Never the clock.
QDateTime creationDate(const QDateTime &printFileChanged);

// Has `pdf` read the PDF in `file` (opened here if it is not) from a map
// of it: qpdf reads a file an object at a time, each with a seek and a read
// of its own. `file` stays open and mapped while `pdf` is used.
void process(QPDF &pdf, QFile &file);

// Gives every font subset a name made from its content rather than Qt's
// object numbers, and merges the text runs (below).
void prepare(QPDF &pdf);

// Gives each page's content streams, as they are written, their text runs
// merged (nothing is decoded before the writer asks for it).
void mergeTextRuns(QPDF &pdf);

// Sets the information the fields of `info` hold and the date
// creationDate() gives (or removes the date).
void setInfo(QPDF &pdf, const PdfDocumentInfo &info);

// Writes `pdf` to `out` with a /ID made from the content; streams that are
// compressed already go out as they are. False with the cause when qpdf or
// the device fails.
bool write(QPDF &pdf, QIODevice &out, QString *error);

// The largest first-pass PDF qpdf rewrites when the PDF is not as Qt lays
// one out (finish() reads Qt's own a page at a time, PdfRewriter): qpdf
// holds every object of the file in memory (about 12 KB a page, 440 MB for
// a 100 MB report), so a larger one goes out as it was written rather than
// let a huge captured job take the memory of the service.
constexpr qint64 LargestFinished = qint64(32) << 20;

// Copies the PDF at `qtPdf` to `out` as it stands, in large blocks; false
// with the cause when reading or writing fails.
bool copyAsWritten(const QString &qtPdf, QIODevice &out, QString *error);

// Reads the PDF at `qtPdf`, merges its text runs, sets the information and
// writes it to `out`: through PdfRewriter, an object at a time, or through
// qpdf when the PDF is not as Qt lays one out.
bool finish(const QString &qtPdf, const PdfDocumentInfo &info, QIODevice &out, QString *error);

// `firstPass` writes into a temporary file, `secondPass` reads it by its
// name; the file is gone afterwards either way.
using FirstPass = std::function<bool(QIODevice &pdf, QString *error)>;
using SecondPass = std::function<bool(const QString &firstPdf, QString *error)>;
bool throughTemporaryFile(const FirstPass &firstPass, const SecondPass &secondPass, QString *error);

} // namespace PdfFinishing
