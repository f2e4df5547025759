#pragma once

#include "form/SheetForms.h"
#include "pdf/PdfFinishing.h"

#include <QString>
#include <QVector>

#include <functional>

class QIODevice;

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
// to `out` through PdfFinishing (the text runs merged, the bytes the same
// in every run). False with the cause (naming the form's file when the form is
// at fault) when it cannot.
bool write(const QString &jobPdf, const QVector<PdfSheetPlace> &places, const SheetForms &forms,
    const PdfDocumentInfo &info, QIODevice &out, QString *error);

// Both passes: `firstPass` writes the job's PDF into a temporary file (and
// says where each sheet went when it has sheets), then write() makes `out`
// from it; the temporary file is gone afterwards either way.
using FirstPass = std::function<bool(QIODevice &pdf, QVector<PdfSheetPlace> *places, QString *error)>;
bool writeThrough(QIODevice &out, const FirstPass &firstPass, const SheetForms &forms,
    const PdfDocumentInfo &info, QString *error);

} // namespace PdfUnderlay
