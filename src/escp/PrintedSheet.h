#pragma once

#include "escp/PrinterSetup.h"

#include <QImage>
#include <QString>
#include <QVector>
#include <QtGlobal>

// The printed look of a print file: what comes off the printer, sheet by
// sheet, as the ESC/P interpreter places it. Everything a renderer needs and
// nothing about how the bytes said it. Positions are in printer units of
// 1/2160 inch from the top left corner of the sheet: every ESC/P step (1/60,
// 1/72, 1/120, 1/180, 1/216, 1/240 and 1/360 inch) is a whole number of them.
namespace Printed {

constexpr int UnitsPerInch = 2160;
using Unit = qint32;

inline constexpr Unit inches(double in) { return Unit(in * UnitsPerInch + (in < 0 ? -0.5 : 0.5)); }

// How a run of characters looks on paper. The advance is the width one
// character takes (pitch, condensed and double width already applied); the
// height is the cell's height before double height (1/6 in for normal text).
struct TextStyle
{
    Unit advance = UnitsPerInch / 10; // 10 characters per inch
    Unit height = UnitsPerInch / 6;
    bool proportional = false;        // ESC p 1: the advance is this character's own width
    bool condensed = false;
    bool doubleWidth = false;
    bool doubleHeight = false;
    bool bold = false;                // ESC E
    bool doubleStrike = false;        // ESC G
    bool italic = false;              // ESC 4
    bool underline = false;           // ESC - 1
    bool underlineBroken = false;     // ESC ( - 1 5 / 6: the underline in dashes
    bool underlineDouble = false;     // ESC ( - 1 2 / 6: two lines
    bool superscript = false;         // ESC S 0
    bool subscript = false;           // ESC S 1
    quint8 strike = 0;                // ESC ( - 2: a line through (1 single, 2 double, 5 and 6 broken)
    quint8 overscore = 0;             // ESC ( - 3: a line over, the same kinds
    bool outline = false;             // ESC q 1 / 3
    bool shadow = false;              // ESC q 2 / 3
    quint8 color = 0;                 // ESC r: 0 black, 1 magenta, 2 cyan, 3 violet, 4 yellow, 5 orange, 6 green
    quint8 typeface = 0;              // ESC k in letter quality: 0 Roman, 1 Sans serif, 2 Courier ...
    bool letterQuality = false;       // ESC x 1 (else draft)

    bool operator==(const TextStyle &o) const
    {
        return advance == o.advance && height == o.height && proportional == o.proportional
            && condensed == o.condensed && doubleWidth == o.doubleWidth
            && doubleHeight == o.doubleHeight && bold == o.bold && doubleStrike == o.doubleStrike
            && italic == o.italic && underline == o.underline && superscript == o.superscript
            && subscript == o.subscript && strike == o.strike && overscore == o.overscore
            && outline == o.outline && shadow == o.shadow && color == o.color
            && underlineBroken == o.underlineBroken && underlineDouble == o.underlineDouble
            && typeface == o.typeface && letterQuality == o.letterQuality;
    }
    bool operator!=(const TextStyle &o) const { return !(*this == o); }
};

// Characters printed in one look, one after another, each `style.advance`
// wide, starting at x; y is the baseline. The text is already decoded in the
// character table in force (Unicode), one character per printed cell. The
// baseline lies 240 units (1/9 in) below the top of the print head's line,
// where a picture printed on the same line has its top: a 1/6 in cell spans
// baseline - 240 to baseline + 120.
struct TextRun
{
    Unit x = 0;
    Unit baseline = 0;
    QString text;
    TextStyle style;
    qsizetype sourceOffset = -1; // byte offset in the print file of the first character
};

// The memory one sheet's pictures may take, whatever the file says. A sheet
// whose pictures need more keeps those that fit and is marked over budget:
// every output refuses it rather than print it without them.
constexpr qint64 SheetBudget = qint64(256) << 20;

// What keeping a picture of width x height dots costs against the budget:
// its rows of bits (each a whole number of 32-bit words, as QImage keeps
// them) and the image's and the sheet's own bookkeeping for it.
inline qint64 pictureCost(int width, int height)
{
    return qint64(width + 31) / 32 * 4 * height + 320;
}

// The runs of text one sheet may hold, whatever the file says. A full sheet
// of condensed characters, each of its own look and printed over twice,
// makes about a hundred thousand; a file that returns the carriage and
// prints over the same places without end makes one for every few bytes,
// and each costs a few hundred bytes to keep and to draw (7 MB of such a
// file took 1 GB for its PDF). A sheet with more keeps the runs that fit and
// is over budget as with pictures.
constexpr qsizetype MostRuns = qsizetype(1) << 19;

// What the outputs say of a sheet over its budget (numbered from 1).
inline QString overBudgetText(int sheetNumber, bool text = false)
{
    if (text)
        return QStringLiteral("sheet %1 holds more than the %2 runs of text a sheet may take")
            .arg(sheetNumber)
            .arg(MostRuns);
    return QStringLiteral("sheet %1 holds more pictures than the %2 MB a sheet may take")
        .arg(sheetNumber)
        .arg(SheetBudget >> 20);
}

// Ink of a picture (bit image or raster graphics): one printing command gives
// one or more of these, each the inked part of a tile of the command's dots,
// so a command keeps its ink, not its extent. The image has one pixel per
// printed dot, inked dots set; its first pixel is dot (column, row) of the
// command, whose dot (0, 0) has its top left corner at (x, top). Dot column i
// begins at x + i * UnitsPerInch / dpiX. The dots are struck in `color`, the
// colour in force when they were printed (ESC r, as TextStyle::color): one
// for the whole picture, a command prints in one colour.
struct Picture
{
    Unit x = 0;
    Unit top = 0;
    int dpiX = 60;
    int dpiY = 72;
    int column = 0;
    int row = 0;
    QImage image; // QImage::Format_Mono, 1 = inked dot
    qsizetype sourceOffset = -1;
    quint8 color = 0; // ESC r: 0 black, 1 magenta, 2 cyan, 3 violet, 4 yellow, 5 orange, 6 green

    // Where the image's dots begin and end on the sheet.
    Unit left() const { return x + Unit(qint64(column) * UnitsPerInch / dpiX); }
    Unit right() const { return x + Unit(qint64(column + image.width()) * UnitsPerInch / dpiX); }
    Unit upper() const { return top + Unit(qint64(row) * UnitsPerInch / dpiY); }
    Unit lower() const { return top + Unit(qint64(row + image.height()) * UnitsPerInch / dpiY); }
};

// One sheet as it comes off the printer.
struct Sheet
{
    Unit width = inches(PrinterSetup::WideCarriage);       // the carriage width in force
    Unit height = inches(PrinterSetup::DefaultFormLength); // the form length in force
    QVector<TextRun> runs;      // in the order they were printed
    QVector<Picture> pictures;  // in the order they were printed
    qsizetype firstByte = 0;    // the print file's bytes this sheet was made from
    qsizetype endByte = 0;
    qint64 pictureBytes = 0;    // the memory its pictures take
    bool overBudget = false;    // pictures were left out (they needed more than SheetBudget), or text
    bool textOverBudget = false; // text was left out: more runs than MostRuns
    int index = 0;              // its place in the job, 0 the first (which form it lies on)
};

} // namespace Printed
