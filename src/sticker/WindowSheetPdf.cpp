#include "sticker/WindowSheetPdf.h"

#include "sticker/PdfStickerSurface.h"
#include "sticker/WindowSheet.h"

#include <QCoreApplication>

bool writeWindowSheetPdf(const StickerInput &input, const QString &fileName, QString *error)
{
    StickerInput used = input;
    countPagesFromOne(used);
    const WindowSheetValues values = computeWindowSheetValues(used);
    if (!rowsPerSheetValid(values.rowsPerSheet)) {
        if (error)
            *error = QStringLiteral("Row Printing must be a whole number of 1 or more (it is \"%1\").")
                         .arg(used.txtRowPrint);
        return false;
    }
    PdfStickerSurface pdf(fileName);
    pdf.setOrientation(1);
    pdf.setPaperSize(9);
    QString reason;
    if (!drawWindowSheet(computeWorkingValues(used), values, pdf, SheetTarget::Printer, &reason)) {
        if (error)
            *error
                = QCoreApplication::translate("Sticker", "The stickers could not be drawn.\n%1").arg(reason);
        return false;
    }
    return pdf.finish(error);
}
