#pragma once

#include "escp/SheetIndex.h"

#include <array>
#include <memory>

// Characters defined by ESC &: for each code, where its definition lies in
// the print file's bytes (-1: none) and the form it was sent in: 9 or 24
// pins, or 16 for a 24-pin character defined under super- or subscript
// (columns of 2 bytes).
struct DownloadedCharacters
{
    std::array<qsizetype, 256> at;
    std::array<quint8, 256> pins{};
    DownloadedCharacters() { at.fill(-1); }
};

// Everything the printer remembers between bytes: where the head is, the
// page it is on, and how the next character will look. Plain values, so a
// sheet index can keep one per sheet and start any sheet again from it.
struct PrinterState
{
    using Unit = Printed::Unit;

    // The table each of the four character table slots holds. Chosen is the
    // code page of the set-up; Graphics is the printer's graphics table: the
    // chosen code page when it is a PC one, else PC437. UserDefined (slot 2
    // until ESC ( t assigns it another) prints the downloaded characters of
    // 0-127 at 128-255 and, where none is defined, repeats the lower half.
    enum Table : quint8 {
        Chosen, Graphics, Italic, Pc437, Pc850, Pc852, Pc866, Kamenicky, Latin1, UserDefined,
        Pc857, Pc858, Pc860, Pc863, Pc865
    };
    static constexpr quint8 NoSlot = 0xFF; // no ESC t yet: the chosen code page

    // Position on the sheet (the top of the print head's line) and margins.
    Unit x = 0;
    Unit y = 0;
    Unit formLength = Printed::inches(11);
    // Where this sheet's form begins: 0, or the head's line when a form
    // length was set or the printer initialised there (ESC C, ESC ( C and
    // ESC @ away from the top of form make the current line the top of
    // form); the sheet then ends a form length below it. A new sheet starts
    // at 0 again.
    Unit formTop = 0;
    Unit topMargin = 0;
    Unit bottomMargin = 0;  // 0: the form length
    Unit skip = 0;          // ESC N: lines skipped over the perforation
    Unit leftMargin = 0;
    Unit rightMargin = 0;   // the carriage width unless ESC Q says less
    Unit lineSpacing = Printed::UnitsPerInch / 6;
    // ESC ( U's units in quarters of a printer unit (1/8640 in), so that
    // 1/1440 and 1/2880 in are whole too; count them with byUnit().
    Unit unit = 24;         // of ESC ( V / ( v, default 1/360 in
    Unit pageUnit = 24;     // of ESC ( C / ( c, default 1/360 in
    Unit unitAcross = 0;    // of ESC $, ESC \ and ESC ( $; 0: none set (their own)

    // The look of the next character.
    quint8 cpi = 10;        // 10, 12 or 15 (ESC P / M / g)
    Unit hmi = 0;           // ESC c: a fixed advance instead of the pitch's
    Unit extraSpace = 0;    // ESC SP
    bool proportional = false;
    bool condensed = false;
    bool doubleWidth = false;     // ESC W
    bool doubleWidthLine = false; // SO / ESC SO, until the line ends or DC4
    bool doubleHeight = false;
    // ESC w 1 sent on a sheet's first line leaves that line single height
    // (the letters grow up from the baseline, above the paper's top): the
    // height it was sent at, -1 when none.
    Unit doubleHeightFrom = -1;
    // On 9 pins double height prints neither condensed nor super- or
    // subscript; they come back when it ends (the 9-pin references).
    bool heightOverrides = false;
    bool bold = false;
    bool doubleStrike = false;
    bool italic = false;
    bool underline = false;
    bool underlineBroken = false; // ESC ( - 1 5 / 6
    bool underlineDouble = false; // ESC ( - 1 2 / 6
    bool superscript = false;
    bool subscript = false;
    bool letterQuality = false;   // ESC x 1
    quint8 typeface = 0;          // ESC k: 0 Roman, 1 Sans serif ...
    quint8 outlineShadow = 0;     // ESC q: 1 outline, 2 shadow, 3 both
    quint8 color = 0;             // ESC r: 0 black ... 6 green
    quint8 strike = 0;            // ESC ( - 2: strike-through (1 single, 2 double)
    quint8 overscore = 0;         // ESC ( - 3: overscore
    quint8 halfPoints = 0;        // ESC X: the point size in halves; 0 the pitch's own
    quint8 justify = 0;           // ESC a: 0 left, 1 centre, 2 right, 3 full
    qint8 topBit = -1;            // ESC = / ESC >: bit 7 forced to 0 / 1; -1 as sent
    bool printControls = false;   // ESC I 1: codes 0-31 print as characters
    // ESC 6 (1) / ESC 7 (0): codes 128-159 print as characters / are control
    // codes that print nothing; -1 neither yet, the table's own way (control
    // codes in the italic table, characters in the others).
    qint8 printUpperControls = -1;
    bool userCharacters = false;  // ESC % 1: the downloaded characters
    bool graphicsMode = false;    // ESC ( G: raster graphics only, until ESC @

    // Tab stops (ESC D), in units; a count of -1 means every 8 columns.
    std::array<Unit, 32> tabs{};
    qint8 tabCount = -1;

    // Vertical tab stops (ESC B, or ESC b for channel 1-7), in units from
    // the top of the form, per channel; ESC / chooses the channel VT uses. A
    // count of -1 means none set since ESC @ (VT then feeds one line), 0 all
    // cleared by ESC B NUL (VT then only returns the carriage).
    std::array<std::array<Unit, 16>, 8> verticalTabs{};
    std::array<qint8, 8> verticalTabCount{-1, -1, -1, -1, -1, -1, -1, -1};
    quint8 verticalChannel = 0;

    // The characters ESC & defined (shared: a state is copied per sheet).
    std::shared_ptr<const DownloadedCharacters> downloaded;

    // Character tables: the slot in use (ESC t), what each slot holds
    // (ESC ( t) and the national replacement set (ESC R).
    quint8 slot = NoSlot;
    std::array<quint8, 4> tables{Italic, Graphics, UserDefined, Graphics};
    quint8 national = 0;

    // The ESC * densities of ESC K, L, Y and Z (ESC ? reassigns them).
    std::array<quint8, 4> imageModes{0, 1, 2, 3};

    // The lower rows of pictures printed across the form's end: on
    // continuous paper the pins print them past the perforation, at the top
    // of the next sheet, which takes them when it begins (null: none).
    std::shared_ptr<const QVector<Printed::Picture>> carried;

    bool sheetInked = false; // something printed on this sheet yet
    bool fedToTop = false;   // a line feed past the bottom began this sheet, nothing since
    // The line feeds of an ESC f 1 n still to come when one of them ended
    // the sheet: the paper goes on moving, on the next sheet.
    quint8 feedsLeft = 0;

    // Every value alike (the downloaded characters the same ones): the
    // printer then prints what follows alike.
    bool operator==(const PrinterState &other) const;
    bool operator!=(const PrinterState &other) const { return !(*this == other); }

    static PrinterState initial(const PrinterSetup &setup);
    // The width the carriage prints: the set-up's, at least an inch.
    static Unit carriage(const PrinterSetup &setup);
    // ESC @: everything back to its default; the head stays on its line.
    void reset(const PrinterSetup &setup);

    // `count` steps of an ESC ( U unit (in quarters), in printer units, rounded.
    static qint64 byUnit(qint64 count, Unit quarters)
    {
        const qint64 q = count * quarters;
        return q >= 0 ? (q + 2) / 4 : -((-q + 2) / 4);
    }

    // Whether the text now is printed at double height.
    bool doubledNow() const { return doubleHeight && y != doubleHeightFrom; }
    bool condensedNow() const { return condensed && !(heightOverrides && doubledNow()); }

    Unit bottom() const
    {
        const Unit b = bottomMargin > 0 ? qMin(bottomMargin, formLength) : formLength;
        return formTop + qMax<Unit>(b - skip, topMargin + 1);
    }
    // The highest line the head may print on: the top margin below the
    // top of form.
    Unit top() const { return formTop + topMargin; }
    // Where the paper of this sheet ends (the next top of form).
    Unit formEnd() const { return formTop + formLength; }
    // The width of one character cell at the current look.
    Unit advance() const;
    Printed::TextStyle style() const;
};
