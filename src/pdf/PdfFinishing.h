#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class QFile;
class QIODevice;

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
// own PDF goes through PdfRewriter, an object at a time; a PDF laid out
// otherwise goes through qpdf, whose passes are in the library module
// (src/libraries/QpdfPasses.h), loaded the first time they are needed.
namespace PdfFinishing {

// The date a PDF gives as made: SOURCE_DATE_EPOCH when the environment
// sets it (as reproducible builds do), else `printFileChanged` (the print
// file's last change, so a report keeps the date it was printed however
// often it is converted; invalid: no date at all). Never the clock.
QDateTime creationDate(const QDateTime &printFileChanged);

// The largest first-pass PDF qpdf rewrites when the PDF is not as Qt lays
// one out (finish() reads Qt's own an object at a time, PdfRewriter): qpdf
// holds every object of the file in memory (about 12 KB a page, 440 MB for
// a 100 MB report), so a larger one goes out as it was written rather than
// let a huge captured job take the memory of the service.
constexpr qint64 LargestFinished = qint64(32) << 20;

// Copies the PDF at `qtPdf` to `out` as it stands, in large blocks; false
// with the cause when reading or writing fails.
bool copyAsWritten(const QString &qtPdf, QIODevice &out, QString *error);

// Reads the PDF at `qtPdf`, merges its text runs, sets the information and
// writes it to `out`: through PdfRewriter, or through qpdf when the PDF is
// not as Qt lays one out. False with the cause, also when qpdf's module is
// needed and cannot be loaded.
bool finish(const QString &qtPdf, const PdfDocumentInfo &info, QIODevice &out, QString *error);

// `firstPass` writes into a temporary file, `secondPass` reads it by its
// name; the file is gone afterwards either way.
using FirstPass = std::function<bool(QIODevice &pdf, QString *error)>;
using SecondPass = std::function<bool(const QString &firstPdf, QString *error)>;
bool throughTemporaryFile(const FirstPass &firstPass, const SecondPass &secondPass, QString *error);

} // namespace PdfFinishing
