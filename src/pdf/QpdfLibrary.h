#pragma once

#include "pdf/PdfFinishing.h"
#include "platform/LibraryModule.h"

class QIODevice;

// The finishing pass's qpdf side, in the library module (see
// platform/LibraryModule.h): src/libraries/QpdfPasses.cpp.
struct QpdfLibrary
{
    static constexpr const char *Entry = "sticker2_qpdf_library";

    // PdfFinishing::finish, with `info.created` the date to write as it is
    // (creationDate() applied already).
    bool (*finish)(const QString &qtPdf, const PdfDocumentInfo &info, QIODevice &out, QString *error);

    // The table, loaded on first use; null with the cause when it cannot be.
    static const QpdfLibrary *get(QString *error) { return LibraryModule::table<QpdfLibrary>(Entry, error); }
};
