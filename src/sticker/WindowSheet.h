#pragma once

#include "sticker/StickerInput.h"

#include <QString>

class StickerSurface;

// The sticker sheet drawn with a desktop font, on the printer or on the
// form's view "Pic": the same grid as the character-mode page, placed by
// twip coordinates, with an inner and an outer running number.

enum class SheetTarget { Printer, Preview };

// The values the drawing reads from the form when it starts.
struct WindowSheetValues
{
    QString fontName;
    int fontSize = 10;           // points; 0 or less becomes 10
    long long X0 = 0;            // left margin, twips
    long long Y0 = 0;            // top margin, twips
    long long columnPitch = 0;   // TxtHEight
    long long linePitch = 0;     // TxtWidth
    double rowPitch = 0;         // TxBlank
    double rowsPerSheet = 0;     // txtRowPrint, printer only
    int loopPosition = 4;        // Combo2; 0 becomes 4
    int innerLine = 4;           // line of InnerCounter
    int outerLine = 5;           // line of OuterCounter
    double innerFrom = 0;        // Atxt(5)
    double innerTo = 0;          // Atxt(6)
    bool innerWhole = false;     // both typed as whole numbers: counted exactly, all 18 digits
    long long innerFromWhole = 0;
    long long innerToWhole = 0;
    long long cycleStart = 0;    // Atxt(5) rounded: start of the outer cycle position
    long long outerStart = 0;    // Atxt(10) rounded
    bool numberInner = true;     // ChkIn1
    bool numberOuter = true;     // ChkIn2
    int startAt = 1;             // the first sheet leaves positions 1 to startAt - 1 empty
    BarcodeKind barcode = BarcodeKind::None; // the inner line drawn as this barcode
    QString tooLarge;            // a whole-number field as typed that no count can hold, or empty
};

WindowSheetValues computeWindowSheetValues(const StickerInput &input);

// Rows per printed sheet must be a whole number of 1 or more.
bool rowsPerSheetValid(double rowsPerSheet);

// What a sheet cannot be drawn with: a start position beyond the stickers of
// a sheet, barcodes without room, a placeholder naming no column of the
// data. The message for the user, or an empty text.
QString checkWindowSheet(const StickerWorkingValues &work, const WindowSheetValues &values);

// What keeps the sheet from being drawn as asked, before anything is drawn:
// checkWindowSheet's faults, a sheet of no stickers or no lines (a first
// range that runs backwards makes one), on the printer stickers that would
// fall off the A4 sheet, and a barcode text its symbology cannot encode.
// The message for the user, or an empty text.
QString windowSheetRefusal(const StickerWorkingValues &work, const WindowSheetValues &values, SheetTarget target);

// The renderer: draws every page of the sheet on the surface. On the printer
// every `rowsPerSheet` rows form one document. Returns false with the
// surface's error text when drawing fails; the open document is then
// abandoned and nothing more is drawn. A sheet refused by checkWindowSheet,
// or with a barcode text its symbology cannot encode, is refused with that
// message before anything is drawn.
//
// The first sheet leaves its first startAt - 1 positions (across the row
// first) empty; numbers start at the first sticker drawn. With data, each
// data row makes one sticker, on as many pages as the rows need, and the
// running numbers count on across the pages instead of restarting.
bool drawWindowSheet(const StickerWorkingValues &work, const WindowSheetValues &values,
                     StickerSurface &surface, SheetTarget target, QString *errorText = nullptr);

// Why a sheet did not print: the rows per printed sheet are not a whole
// number of 1 or more, or the printer failed while drawing.
struct WindowSheetFailure
{
    enum Kind { None, RowsPerSheet, Drawing };
    Kind kind = None;
    QString message;
};

// The print button's drawing in Windows mode on a printer surface: a
// "txtPage" of 0 is set to "1" in `input` (the form shows it back), the rows
// per printed sheet are checked, the printer is set to portrait A4 and every
// page is drawn. True when the sheet was printed.
bool drawWindowSheetOnPrinter(StickerInput &input, StickerSurface &printer, WindowSheetFailure *failure);

// The show button's drawing: clears the view once and draws every page on
// it; never touches the printer. Why nothing was drawn, or an empty text.
QString drawWindowSheetPreview(StickerInput &input, StickerSurface &pic);

// The decimal text of a running number (see zeroPadded for the digits).
QString runningNumberText(double value);
