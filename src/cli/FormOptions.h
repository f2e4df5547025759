#pragma once

#include "form/FormChoice.h"
#include "form/PdfUnderlay.h"

class QCommandLineParser;

// convert's options for the printed look's forms and the PDF's document
// information: --form FIRST[,NEXT], --form-offset X,Y, --pdf-title,
// --pdf-subject and --pdf-keywords (their rows are in convert's option table).
namespace FormOptions {

// Reads the options over the stored choice: -1 to go on, else the status
// of the usage error printed (a form for a look that has none, PDF
// information for another format, an offset that is not two numbers).
int read(const QCommandLineParser &parser, const QString &synopsis, bool printedLook, bool pdf,
    FormChoice *choice, PdfDocumentInfo *info);

} // namespace FormOptions
