#pragma once

#include "sticker/WindowSheet.h"

class QWidget;

// The sticker form's Windows-mode buttons: the sheet drawn under a busy
// cursor, with refusals and failures told in message boxes.

// Draws the sheet on the current printer (CurrentPrinter), asking the print
// server on a thread of its own. Refuses with a message when the server does
// not answer, no printer is installed or the rows per printed sheet are not
// a whole number of 1 or more; a printing error is reported in a message. A
// "txtPage" of 0 is set to "1" in `input`. True when the sheet was printed.
bool printWindowSheet(StickerInput &input, QWidget *parent = nullptr);
// The same on a given printer surface (a PrinterStickerSurface writing PDF,
// or a recording surface), without the printer look-up.
bool printWindowSheet(StickerInput &input, StickerSurface &printer, QWidget *parent = nullptr);

// The show button: clears the view (a StickerPreview named "Pic") once and
// draws every page on it. Why nothing was drawn, or an empty text.
QString previewWindowSheet(StickerInput &input, StickerSurface &pic);

// The preview button: the print preview of the sheet as the print button
// prints it, each printed document a sheet, on the current printer's paper;
// printing from the preview draws the same sheets. Refuses with the print
// button's message when the rows per printed sheet are not a whole number,
// or when the print server does not answer.
void previewWindowSheetPrintout(const StickerInput &input, QWidget *parent = nullptr);
