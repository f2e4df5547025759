#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <QVector>

// ESC ( B: a bar code the printer draws itself. The parameters as the
// command sends them: the kind (0 EAN-13, 1 EAN-8, 2 Interleaved 2 of 5, 3
// UPC-A, 4 UPC-E, 5 Code 39, 6 Code 128, 7 POSTNET), the module width and the
// bar length in the printer's dots, the space adjustment (-3 to 3 half dots
// taken from each bar and given to the space after it), the control flags
// (bit 0: a check digit added to Code 39 and Interleaved 2 of 5), then the
// data.
namespace EscpBarcode {

struct Bars
{
    QImage image;     // Format_Mono, 1 = black; null when only the size was asked
    int width = 0;    // in half dots; 0: no bar code (not one the kind takes, too wide, no zint)
    int height = 0;   // in dots
    QString readable; // the human-readable line (the data with any check digit)
    int firstBar = 0;  // where the bars begin after the quiet zone, in half dots
    int dataBottom = 0; // EAN and UPC: where the data bars end, above the guard bars' end (dots)
};

// One group of the human-readable line: its characters, spread evenly over
// [x, x + width) half dots.
struct ReadableGroup
{
    QString text;
    int x = 0;
    int width = 0;
};

// Where the human-readable line's characters go under the bars: EAN-13,
// EAN-8, UPC-A and UPC-E in the groups of their symbol standard (the digits
// of each half between the guard bars, seven modules a digit; EAN-13's and
// UPC's first digit, and UPC's check digit, outside the guards); the other
// kinds, or a line of another length, in one group as wide as the bars.
QVector<ReadableGroup> readableGroups(int kind, const Bars &bars, int module);

// The bars, two pixels a dot across (half dots) and one down, `module` dots
// a module and `length` dots high (POSTNET: its own heights at
// `dotsPerInchY`). A bar code wider than `mostWidth` half dots (what the
// carriage has left) is not drawn: the printer prints none that does not
// fit. Without `pixels` only the size is worked out. The cause of a bar
// code not drawn goes to `error`.
Bars draw(int kind, QByteArrayView data, int module, int adjust, int length, int dotsPerInchY, bool checkDigit,
    int mostWidth, bool pixels, QString *error);

} // namespace EscpBarcode
