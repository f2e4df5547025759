#include "sticker/WindowSheet.h"

#include "platform/NumericText.h"
#include "startup/MainModule.h"
#include "sticker/StickerSurface.h"

#include <cmath>

namespace {

// The last line a sticker has: the form offers 1 to 7.
constexpr int LastLine = 7;

void normalisePages(StickerInput &input)
{
    if (NumericText::leadingNumber(input.txtPage) == 0)
        input.txtPage = QStringLiteral("1");
}

} // namespace

WindowSheetValues computeWindowSheetValues(const StickerInput &input)
{
    WindowSheetValues v;
    v.fontName = input.TxtFontNM;
    const long long size = NumericText::roundedValue(input.TxtFontSZ);
    v.fontSize = size <= 0 ? 10 : int(qMin(size, 32767LL));
    v.X0 = NumericText::roundedValue(input.TxtMLeft);
    v.Y0 = NumericText::roundedValue(input.TxtMtop);
    v.columnPitch = NumericText::roundedValue(input.TxtHEight);
    v.linePitch = NumericText::roundedValue(input.TxtWidth);
    v.rowPitch = NumericText::leadingNumber(input.TxBlank);
    v.rowsPerSheet = NumericText::leadingNumber(input.txtRowPrint);
    v.loopPosition = int(NumericText::leadingNumber(input.Combo2));
    if (v.loopPosition == 0)
        v.loopPosition = 4;
    v.innerLine = v.loopPosition == 4 ? 4 : 5;
    v.outerLine = v.loopPosition == 4 ? 5 : 4;
    v.innerFrom = NumericText::leadingNumber(input.Atxt[5]);
    v.innerTo = NumericText::leadingNumber(input.Atxt[6]);
    v.cycleStart = NumericText::roundedValue(input.Atxt[5]);
    v.outerStart = NumericText::roundedValue(input.Atxt[10]);
    v.numberInner = input.ChkIn1;
    v.numberOuter = input.ChkIn2;
    return v;
}

bool rowsPerSheetValid(double rowsPerSheet)
{
    return rowsPerSheet >= 1 && std::floor(rowsPerSheet) == rowsPerSheet;
}

QString runningNumberText(double value)
{
    if (std::floor(value) == value && std::fabs(value) < 1e15)
        return QString::number(static_cast<long long>(value));
    return QString::number(value, 'g', 15);
}

bool drawWindowSheet(const StickerWorkingValues &work, const WindowSheetValues &values,
                     StickerSurface &surface, SheetTarget target, QString *errorText)
{
    const bool printer = target == SheetTarget::Printer;
    const int lines = qMin(work.MaxField, LastLine);
    auto fail = [&] {
        surface.AbandonDoc();
        if (errorText)
            *errorText = surface.errorText();
        return false;
    };

    long long k = 0; // rows in the open printer document
    for (long long page = 1; page <= work.Pages; ++page) {
        // A page that starts inside an open document goes on below the rows
        // already in it instead of printing over them.
        double yOff = printer ? double(std::llrint(k * values.rowPitch)) : 0.0;
        double innerCounter = values.innerFrom;
        long long cyclePosition = values.cycleStart;
        long long outerCounter = values.outerStart;
        for (int r = 1; r <= work.StickerRows; ++r) {
            for (int x = 1; x <= lines; ++x) {
                double xOff = 0;
                for (int c = 1; c <= work.StickerCols; ++c) {
                    QString text = work.LineText[size_t(x)].trimmed();
                    if (x == values.innerLine) {
                        if (values.numberInner)
                            text += runningNumberText(innerCounter);
                        innerCounter = innerCounter == values.innerTo ? values.innerFrom : innerCounter + 1;
                    } else if (x == values.outerLine) {
                        if (values.numberOuter)
                            text += QString::number(outerCounter);
                        if (double(cyclePosition) == values.innerTo) {
                            cyclePosition = values.cycleStart;
                            ++outerCounter;
                        } else {
                            ++cyclePosition;
                        }
                    }
                    surface.CurrentX = double(values.X0) + xOff;
                    surface.CurrentY = double(values.Y0) + yOff;
                    surface.FontName = values.fontName;
                    surface.FontSize = values.fontSize;
                    surface.FontBold = true;
                    if (!surface.Print(PadRight(text, work.W)))
                        return fail();
                    xOff += double(values.columnPitch);
                }
                yOff += double(values.linePitch);
            }
            if (printer) {
                ++k;
                yOff = double(std::llrint(k * values.rowPitch));
                if (double(k) == values.rowsPerSheet) {
                    if (!surface.EndDoc())
                        return fail();
                    yOff = 0;
                    k = 0;
                }
            } else {
                yOff = double(std::llrint(r * values.rowPitch));
            }
        }
    }
    if (printer && values.rowsPerSheet > 1 && !surface.EndDoc())
        return fail();
    return true;
}

bool drawWindowSheetOnPrinter(StickerInput &input, StickerSurface &printer, WindowSheetFailure *failure)
{
    WindowSheetFailure ignored;
    WindowSheetFailure &f = failure ? *failure : ignored;
    f = WindowSheetFailure();
    normalisePages(input);
    const WindowSheetValues values = computeWindowSheetValues(input);
    if (!rowsPerSheetValid(values.rowsPerSheet)) {
        f.kind = WindowSheetFailure::RowsPerSheet;
        f.message = QStringLiteral("Row Printing must be a whole number of 1 or more (it is \"%1\").")
                        .arg(input.txtRowPrint);
        return false;
    }
    const StickerWorkingValues work = computeWorkingValues(input);
    // A printer that cannot take these settings prints with its own.
    printer.setOrientation(1);
    printer.setPaperSize(9);
    QString error;
    if (!drawWindowSheet(work, values, printer, SheetTarget::Printer, &error)) {
        f.kind = WindowSheetFailure::Drawing;
        f.message = QStringLiteral("The stickers could not be printed.\n%1").arg(error);
        return false;
    }
    return true;
}

void drawWindowSheetPreview(StickerInput &input, StickerSurface &pic)
{
    normalisePages(input);
    const WindowSheetValues values = computeWindowSheetValues(input);
    const StickerWorkingValues work = computeWorkingValues(input);
    pic.Cls();
    drawWindowSheet(work, values, pic, SheetTarget::Preview);
}
