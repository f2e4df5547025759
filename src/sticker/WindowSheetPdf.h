#pragma once

#include "sticker/StickerInput.h"

#include <QString>

// The Windows-mode sheet drawn into one PDF file instead of on the printer,
// by the same renderer and with the same documents: each printed sheet
// ("Row Printing" rows) is one page. The input is checked as for printing;
// a refused input or a failed drawing writes nothing. The file is written
// whole or not at all. Returns false with the message for the user, and
// `refused` set when the input was at fault (not the writing).
bool writeWindowSheetPdf(const StickerInput &input, const QString &fileName, QString *error, bool *refused = nullptr);
