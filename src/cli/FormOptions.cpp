#include "cli/FormOptions.h"

#include "cli/CliSupport.h"
#include "form/FormName.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace FormOptions {

int read(const QCommandLineParser &parser, const QString &synopsis, bool printedLook, bool pdf,
    FormChoice *choice, PdfDocumentInfo *info)
{
    const QString form = QStringLiteral("form");
    const QString formOffset = QStringLiteral("form-offset");
    const QString pdfTitle = QStringLiteral("pdf-title");
    const QString pdfSubject = QStringLiteral("pdf-subject");
    const QString pdfKeywords = QStringLiteral("pdf-keywords");
    if (!printedLook && (parser.isSet(form) || parser.isSet(formOffset)))
        return CliSupport::usage(synopsis, QStringLiteral("--form and --form-offset set the printed look only"));
    if (!pdf && (parser.isSet(pdfTitle) || parser.isSet(pdfSubject) || parser.isSet(pdfKeywords)))
        return CliSupport::usage(
            synopsis, QStringLiteral("--pdf-title, --pdf-subject and --pdf-keywords describe a PDF only"));
    if (parser.isSet(form)) {
        // A name may hold commas: the list is cut where it names forms.
        const FormChoice named = FormChoice::fromFormsText(
            parser.value(form), [](const QString &name) {
                const FormName named = FormName::of(name);
                return named.badPage.isNull() && QFileInfo::exists(named.filePath);
            });
        choice->first = named.first;
        choice->next = named.next;
        // The stored offset is the stored forms' own: named forms lie where
        // --form-offset says, else at the sheet's corner.
        choice->offsetMillimetres = QPointF();
    }
    if (parser.isSet(formOffset)) {
        QString error;
        if (!FormChoice::offsetFromText(parser.value(formOffset), &choice->offsetMillimetres, &error))
            return CliSupport::usage(synopsis, error);
    }
    if (!printedLook)
        *choice = FormChoice(); // the emphasis look and the text formats have no sheets
    info->title = parser.value(pdfTitle);
    info->subject = parser.value(pdfSubject);
    info->keywords = parser.value(pdfKeywords);
    return -1;
}

} // namespace FormOptions
