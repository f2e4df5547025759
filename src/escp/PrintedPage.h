#pragma once

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
    bool proportional = false;        // ESC p 1: the advance is an average
    bool condensed = false;
    bool doubleWidth = false;
    bool doubleHeight = false;
    bool bold = false;                // ESC E
    bool doubleStrike = false;        // ESC G
    bool italic = false;              // ESC 4
    bool underline = false;           // ESC - 1
    bool superscript = false;         // ESC S 0
    bool subscript = false;           // ESC S 1

    bool operator==(const TextStyle &o) const
    {
        return advance == o.advance && height == o.height && proportional == o.proportional
            && condensed == o.condensed && doubleWidth == o.doubleWidth
            && doubleHeight == o.doubleHeight && bold == o.bold && doubleStrike == o.doubleStrike
            && italic == o.italic && underline == o.underline && superscript == o.superscript
            && subscript == o.subscript;
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

// A picture (bit image or raster graphics) at its place and true size: the
// image has one pixel per printed dot, black dots set; its width in units is
// image.width() * UnitsPerInch / dpiX, its height image.height() *
// UnitsPerInch / dpiY.
struct Picture
{
    Unit x = 0;
    Unit top = 0;
    int dpiX = 60;
    int dpiY = 72;
    QImage image; // QImage::Format_Mono, 1 = black dot
    qsizetype sourceOffset = -1;

    Unit width() const { return Unit(qint64(image.width()) * UnitsPerInch / dpiX); }
    Unit height() const { return Unit(qint64(image.height()) * UnitsPerInch / dpiY); }
};

// One sheet as it comes off the printer.
struct Sheet
{
    Unit width = inches(13.6);  // the carriage width in force
    Unit height = inches(11.0); // the form length in force
    QVector<TextRun> runs;      // in the order they were printed
    QVector<Picture> pictures;  // in the order they were printed
    qsizetype firstByte = 0;    // the print file's bytes this sheet was made from
    qsizetype endByte = 0;
    int index = 0;              // its place in the job, 0 the first (which form it lies on)
};

} // namespace Printed
