#include "form/PdfUnderlay.h"

#include "form/FormLibraries.h"

namespace PdfUnderlay {

bool write(const QString &jobPdf, const QVector<PdfSheetPlace> &places, const SheetForms &forms,
    const PdfDocumentInfo &info, QIODevice &out, QString *error)
{
    const FormLibraries *libraries = FormLibraries::get(error);
    if (!libraries)
        return false;
    PdfDocumentInfo dated = info;
    dated.created = PdfFinishing::creationDate(info.created);
    return libraries->underlay(jobPdf, places, forms, dated, out, error);
}

bool writeThrough(QIODevice &out, const FirstPass &firstPass, const SheetForms &forms,
    const PdfDocumentInfo &info, QString *error)
{
    QVector<PdfSheetPlace> places;
    return PdfFinishing::throughTemporaryFile(
        [&](QIODevice &pdf, QString *reason) { return firstPass(pdf, &places, reason); },
        [&](const QString &jobPdf, QString *reason) {
            if (forms.isEmpty())
                return PdfFinishing::finish(jobPdf, info, out, reason);
            return write(jobPdf, places, forms, info, out, reason);
        },
        error);
}

} // namespace PdfUnderlay
