#pragma once

#include "form/PdfUnderlay.h"
#include "platform/LibraryModule.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QSizeF>

// The forms' poppler and qpdf sides, in the library module (see
// platform/LibraryModule.h): src/libraries/PopplerForm.cpp and
// QpdfUnderlay.cpp.
struct FormLibraries
{
    static constexpr const char *Entry = "sticker2_form_libraries";

    // A PDF form's page as poppler holds it.
    struct PdfPage;
    // Reads page `pageNumber` (1-based; 0: the first) of the PDF `bytes`
    // read from `filePath`; `pageNamed` when the name chose the page (so
    // page 0 is none). Null with an error that names the file and says why.
    PdfPage *(*openPdf)(const QByteArray &bytes, const QString &filePath, int pageNumber, bool pageNamed,
        QSizeF *sizePoints, QString *error);
    // The page drawn over white at that size in pixels, only the part
    // `part` of it (in those pixels); one thread at a time.
    QImage (*renderPdf)(PdfPage *page, const QSize &pixels, const QRect &part);
    void (*closePdf)(PdfPage *page);
    // PdfUnderlay::write, with `info.created` the date to write as it is.
    bool (*underlay)(const QString &jobPdf, const QVector<PdfSheetPlace> &places, const SheetForms &forms,
        const PdfDocumentInfo &info, QIODevice &out, QString *error);

    static const FormLibraries *get(QString *error) { return LibraryModule::table<FormLibraries>(Entry, error); }
};
