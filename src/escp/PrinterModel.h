#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The printer a print file is read for. A 9-pin printer counts line spacing
// (ESC 3, ESC A, ESC J) in 1/216 and 1/72 in, defines its own characters in
// columns of 8 dots, and ends SO's double width at a CR; a 24-pin printer
// counts in 1/180 and 1/60 in and defines characters in columns of 24 dots;
// an ESC/P2 printer is a 24-pin one that also knows the ESC ( commands,
// raster graphics and scalable fonts. Auto reads the file's own evidence.
enum class PrinterModel : quint8 { Auto, NinePin, TwentyFourPin, EscP2 };

namespace PrinterModels {

// "auto", "9-pin", "24-pin", "escp2": the option's and the setting's words.
QString name(PrinterModel model);
std::optional<PrinterModel> fromName(QStringView name);
// Every model's name, in that order: what an option or a rule key takes.
QStringList names();
// How a window names it ("9-pin printer (ESC/P)" ...), in the user's language.
QString title(PrinterModel model);
// 9 or 24 (Auto: 0).
int pins(PrinterModel model);

// The printer the bytes were written for, from the commands they use: 24-dot
// pictures, raster graphics and the ESC/P2 commands; the 24-pin line spacing
// units and their round values (ESC 3 30 is 1/6 in on 24 pins, 1/7.2 in on
// 9); the 9-pin-only commands (ESC ^, ESC j, ESC 1, the 9-pin form of
// downloaded characters), read in the first 16 MB. Never Auto: 9 pins when
// nothing tells.
PrinterModel guess(QByteArrayView bytes);
// The bytes guess() reads at most: the first 16 MB.
constexpr qsizetype GuessReads = 16 << 20;

} // namespace PrinterModels
