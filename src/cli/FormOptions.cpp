#include "cli/FormOptions.h"

#include "cli/CliSupport.h"

#include <QCommandLineParser>

FormOptions::FormOptions()
    : form(QStringLiteral("form"),
        QStringLiteral("The forms under the printed look's sheets: FIRST under the first sheet, NEXT under "
                       "the sheets after it (FIRST alone: under every sheet; either may be empty; \",\" none), "
                       "each a PDF file (its first page, or FILE#page=N) or a PNG or JPEG image at its own "
                       "resolution (default: the view's setting)."),
        QStringLiteral("FIRST[,NEXT]"))
    , formOffset(QStringLiteral("form-offset"),
          QStringLiteral("Moves the forms right and down by X and Y millimetres (default: the view's setting)."),
          QStringLiteral("X,Y"))
    , pdfTitle(QStringLiteral("pdf-title"),
          QStringLiteral("The PDF's title (default: the print file's name)."), QStringLiteral("text"))
    , pdfSubject(QStringLiteral("pdf-subject"), QStringLiteral("The PDF's subject."), QStringLiteral("text"))
    , pdfKeywords(QStringLiteral("pdf-keywords"), QStringLiteral("The PDF's keywords."), QStringLiteral("text"))
{ }

void FormOptions::addTo(QCommandLineParser &parser) const
{
    parser.addOptions({form, formOffset, pdfTitle, pdfSubject, pdfKeywords});
}

int FormOptions::read(const QCommandLineParser &parser, const QString &synopsis, bool printedLook, bool pdf,
    FormChoice *choice, PdfDocumentInfo *info) const
{
    if (!printedLook && (parser.isSet(form) || parser.isSet(formOffset)))
        return CliSupport::usage(synopsis, QStringLiteral("--form and --form-offset set the printed look only"));
    if (!pdf && (parser.isSet(pdfTitle) || parser.isSet(pdfSubject) || parser.isSet(pdfKeywords)))
        return CliSupport::usage(
            synopsis, QStringLiteral("--pdf-title, --pdf-subject and --pdf-keywords describe a PDF only"));
    if (parser.isSet(form)) {
        const FormChoice named = FormChoice::fromFormsText(parser.value(form));
        choice->first = named.first;
        choice->next = named.next;
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
