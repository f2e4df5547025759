#pragma once

#include "sticker/StickerInput.h"

#include <QString>

class CsvTable;

// Stickers filled from a data file: every "{Column Name}" in a sticker line
// stands for that column's value in the sticker's data row.
namespace StickerFields {

// Reads input.dataFile into input.data; an empty name means no data. False
// with the error text (the file and the cause) when the file cannot be used.
bool loadData(StickerInput &input, QString *error);

// The text with every "{Name}" replaced by the row's value in column Name.
// A line break inside a value becomes a space: a sticker line is one line.
QString fill(const QString &text, const CsvTable &table, int row);

// With data: the first placeholder of lines 1 to `lines` that names no
// column, or a data file without rows, as the message for the user; an
// empty text when the data can be used or there is none.
QString checkPlaceholders(const StickerWorkingValues &work, int lines);

// With data: the first character of a filled line 1 to `lines` that a
// character-mode print file (one byte per character, Latin-1) cannot hold,
// as the message for the user; an empty text when there is none.
QString checkCharacters(const StickerWorkingValues &work, int lines);

} // namespace StickerFields
