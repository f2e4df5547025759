#include "sticker/WindowSheetPdf.h"

#include "sticker/PdfStickerSurface.h"
#include "sticker/WindowSheet.h"

#include <QCoreApplication>

#include <cmath>

bool writeWindowSheetPdf(const StickerInput &input, const QString &fileName, QString *error, bool *refused)
{
    if (refused)
        *refused = false;
    StickerInput used = input;
    countPagesFromOne(used);
    const WindowSheetValues values = computeWindowSheetValues(used);
    const auto refuse = [&](const QString &why) {
        if (refused)
            *refused = true;
        if (error)
            *error = why;
        return false;
    };
    if (!rowsPerSheetValid(values.rowsPerSheet))
        return refuse(QStringLiteral("Row Printing must be a whole number of 1 or more (it is \"%1\").")
                          .arg(used.txtRowPrint));
    // A count of sheets that alone makes too many pages is refused before
    // anything is drawn (each row of stickers goes on until a page holds
    // Row Printing rows); data rows are counted as they are drawn.
    const StickerWorkingValues work = computeWorkingValues(used);
    if (!work.Data && work.StickerRows > 0
        && std::ceil(double(work.Pages) * work.StickerRows / values.rowsPerSheet) > PdfStickerSurface::MostPages) {
        if (error)
            *error = QCoreApplication::translate("Sticker", "The stickers could not be drawn.\n%1")
                         .arg(PdfStickerSurface::tooManyPages(PdfStickerSurface::MostPages));
        return false;
    }
    const QString refusal = windowSheetRefusal(work, values, SheetTarget::Printer);
    if (!refusal.isEmpty())
        return refuse(QCoreApplication::translate("Sticker", "The stickers could not be drawn.\n%1").arg(refusal));
    PdfStickerSurface pdf(fileName);
    pdf.setOrientation(1);
    pdf.setPaperSize(9);
    return pdf.write(
        [&](QString *reason) {
            QString why;
            if (drawWindowSheet(work, values, pdf, SheetTarget::Printer, &why))
                return true;
            *reason = QCoreApplication::translate("Sticker", "The stickers could not be drawn.\n%1").arg(why);
            return false;
        },
        error);
}
