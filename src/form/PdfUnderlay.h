#pragma once

#include "form/SheetForms.h"

#include <QString>
#include <QVector>

#include <functional>

class QIODevice;

// The document information a PDF reader shows (empty: left as it is).
struct PdfDocumentInfo
{
    QString title;
    QString subject;
    QString keywords;

    bool isEmpty() const { return title.isEmpty() && subject.isEmpty() && keywords.isEmpty(); }
};

// Where a job's sheet lies on its PDF page: which sheet of the job it is
// (0 the first) and how much it is scaled down to fit the paper (1 at true
// size); its top left corner is the page's.
struct PdfSheetPlace
{
    int sheetIndex = 0;
    double scale = 1.0;
};

// The second pass of a printed-look PDF, with qpdf: each form goes in as
// it is (a PDF page as a form object, its text still text; a JPEG as its own
// bytes; a PNG losslessly) and is stored once however many pages show it;
// each page draws its sheet's form first, so the job's text lies above it.
namespace PdfUnderlay {

// Reads the job's PDF at `jobPdf` (one page per entry of `places`), lays
// the forms under its pages, sets the information and writes the result
// to `out`. False with the cause (naming the form's file when the form is
// at fault) when it cannot.
bool write(const QString &jobPdf, const QVector<PdfSheetPlace> &places, const SheetForms &forms,
    const PdfDocumentInfo &info, QIODevice &out, QString *error);

// Whether a PDF needs the second pass: forms to lay under it, or
// information the first pass cannot write (the subject, the keywords).
bool needed(const SheetForms &forms, const PdfDocumentInfo &info);

// Both passes: `firstPass` writes the job's PDF into a temporary file (and
// says where each sheet went when it has sheets), then write() makes `out`
// from it; the temporary file is gone afterwards either way.
using FirstPass = std::function<bool(QIODevice &pdf, QVector<PdfSheetPlace> *places, QString *error)>;
bool writeThrough(QIODevice &out, const FirstPass &firstPass, const SheetForms &forms,
    const PdfDocumentInfo &info, QString *error);

} // namespace PdfUnderlay
