#pragma once

#include "form/FormLibraries.h"

// A PDF form's page read and drawn by poppler, in the library module: the
// engine's FormPage reaches it through FormLibraries.
namespace PopplerForm {

FormLibraries::PdfPage *open(const QByteArray &bytes, const QString &filePath, int pageNumber, bool pageNamed,
    QSizeF *sizePoints, QString *error);
QImage render(FormLibraries::PdfPage *page, const QSize &pixels, const QRect &part);
void close(FormLibraries::PdfPage *page);

} // namespace PopplerForm
