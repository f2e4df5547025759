#pragma once

#include "sticker/StickerInput.h"

#include <QByteArray>
#include <QStringList>

// The two text files behind the sticker formats, as bytes (Windows-1252, CR LF):
// a slot's 21-line format file and the 7-line Windows-mode settings file.
// A file whose texts hold a letter Windows-1252 lacks (Czech, Polish,
// Cyrillic stickers printed in a PC code page) is written in UTF-8 after a
// byte-order mark instead, which no Windows-1252 format file begins with;
// every file that Windows-1252 can hold stays byte for byte as it was.
// Numbers are written in two forms: compact ("12") and spaced (" 12 ", or
// "-3 " for a negative value); readers ignore spaces around numbers.
namespace FormatFile {

constexpr int SlotFileLines = 21;
constexpr int SettingFileLines = 7;

// The leading numeric value of a text in its shortest decimal form, plain
// digits without an exponent.
QString compactNumber(const QString &text);
QString spacedNumber(double value);

// The file's bytes: nothing is ever replaced. False, with the message for
// the user, only when a text holds what no file can (a lone surrogate).
bool slotFileBytes(const StickerInput &input, QByteArray *bytes, QString *error);

// Takes a slot file's lines into `input`. A short file (or none: no lines)
// leaves what the settings store also keeps as loaded from it; the values
// kept only in this file fall back: lines 6 and 7 and the second range
// empty, rows per printed sheet "1", loop position "4", the "++" boxes clear.
void applySlotFile(const QStringList &lines, StickerInput &input);

bool settingFileBytes(const StickerInput &input, QByteArray *bytes, QString *error);

// A file's lines, read back as Windows-1252 (UTF-8 after a byte-order
// mark), split at CR LF, lone CR or lone LF.
QStringList fileLines(const QByteArray &bytes);

// Takes the settings file's first six lines into the Windows-mode fields;
// lines the file lacks leave their fields unchanged.
void applySettingFile(const QStringList &lines, StickerInput &input);

} // namespace FormatFile
