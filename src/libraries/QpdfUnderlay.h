#pragma once

#include "form/PdfUnderlay.h"

// PdfUnderlay::write's work with qpdf, in the library module: the engine
// reaches it through FormLibraries. `info.created` is written as it is.
namespace QpdfUnderlay {

bool write(const QString &jobPdf, const QVector<PdfSheetPlace> &places, const SheetForms &forms,
    const PdfDocumentInfo &info, QIODevice &out, QString *error);

} // namespace QpdfUnderlay
