#pragma once

#include "export/PdfExport.h"
#include "render/PrintedRenderer.h"

#include <QSizeF>

class QIODevice;

// A PDF of a print file's sheets as they come off the printer: one PDF page
// of the chosen paper per sheet, the sheet at its true size where its inked
// part fits the paper, else scaled down whole (never cut; the renderer's
// fitScale, as desktop printing). The text is real
// text, one run at a time, so a reader can select and search it; pictures
// are black dots on a clear ground.
namespace PrintedPdfExport {

// Writes the chosen sheets (options.pages, indexes of `sheets`) into an open
// device, one sheet at a time: only the sheet being drawn is held in memory.
// The options' margins are not used: a sheet carries its own.
bool write(QIODevice &out, const SheetSource &sheets, const PdfOptions &options, QString *error);

// The same into a file, whole or not at all; the error names the file.
bool save(const QString &path, const SheetSource &sheets, const PdfOptions &options, QString *error);

} // namespace PrintedPdfExport
