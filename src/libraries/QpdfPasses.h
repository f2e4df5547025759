#pragma once

#include "pdf/PdfFinishing.h"

#include <QString>

class QFile;
class QIODevice;
class QPDF;

// The finishing pass over qpdf's objects (see pdf/PdfFinishing.h), in the
// library module: the engine reaches it through QpdfLibrary.
namespace QpdfPasses {

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

// Sets the information the fields of `info` hold and its date as it is
// (or removes the date when it is invalid).
void setInfo(QPDF &pdf, const PdfDocumentInfo &info);

// Writes `pdf` to `out` with a /ID made from the content; streams that are
// compressed already go out as they are. False with the cause when qpdf or
// the device fails.
bool write(QPDF &pdf, QIODevice &out, QString *error);

// Reads the PDF at `qtPdf`, merges its text runs, sets the information and
// writes it to `out`; false with the cause.
bool finish(const QString &qtPdf, const PdfDocumentInfo &info, QIODevice &out, QString *error);

} // namespace QpdfPasses
