#pragma once

#include "escp/PrintedDocument.h"

#include <array>

// Everything the printer remembers between bytes: where the head is, the
// page it is on, and how the next character will look. Plain values, so a
// sheet index can keep one per sheet and start any sheet again from it.
struct PrinterState
{
    using Unit = Printed::Unit;

    // The table each of the four character table slots holds. Chosen is the
    // code page of the set-up; Graphics is the printer's graphics table: the
    // chosen code page when it is a PC one, else PC437.
    enum Table : quint8 { Chosen, Graphics, Italic, Pc437, Pc850, Pc852, Pc866, Kamenicky };
    static constexpr quint8 NoSlot = 0xFF; // no ESC t yet: the chosen code page

    // Position on the sheet (the top of the print head's line) and margins.
    Unit x = 0;
    Unit y = 0;
    Unit formLength = Printed::inches(11);
    Unit topMargin = 0;
    Unit bottomMargin = 0;  // 0: the form length
    Unit skip = 0;          // ESC N: lines skipped over the perforation
    Unit leftMargin = 0;
    Unit rightMargin = 0;   // the carriage width unless ESC Q says less
    Unit lineSpacing = Printed::UnitsPerInch / 6;
    Unit unit = 6;          // ESC ( U: the unit of ESC ( C / ( c / ( V / ( v, default 1/360 in

    // The look of the next character.
    quint8 cpi = 10;        // 10, 12 or 15 (ESC P / M / g)
    Unit hmi = 0;           // ESC c: a fixed advance instead of the pitch's
    Unit extraSpace = 0;    // ESC SP
    bool proportional = false;
    bool condensed = false;
    bool doubleWidth = false;     // ESC W
    bool doubleWidthLine = false; // SO / ESC SO, until the line ends or DC4
    bool doubleHeight = false;
    bool bold = false;
    bool doubleStrike = false;
    bool italic = false;
    bool underline = false;
    bool superscript = false;
    bool subscript = false;

    // Tab stops (ESC D), in units; a count of -1 means every 8 columns.
    std::array<Unit, 32> tabs{};
    qint8 tabCount = -1;

    // Vertical tab stops (ESC B), in units from the top of the form; a
    // count of 0 means none (VT then feeds one line).
    std::array<Unit, 16> verticalTabs{};
    qint8 verticalTabCount = 0;

    // Character tables: the slot in use (ESC t), what each slot holds
    // (ESC ( t) and the national replacement set (ESC R).
    quint8 slot = NoSlot;
    std::array<quint8, 4> tables{Italic, Graphics, Chosen, Graphics};
    quint8 national = 0;

    // The ESC * densities of ESC K, L, Y and Z (ESC ? reassigns them).
    std::array<quint8, 4> imageModes{0, 1, 2, 3};

    bool sheetInked = false; // something printed on this sheet yet
    bool fedToTop = false;   // a line feed past the bottom began this sheet, nothing since

    static PrinterState initial(const PrinterSetup &setup);
    // ESC @: everything back to its default; the head stays on its line.
    void reset(const PrinterSetup &setup);

    Unit bottom() const
    {
        const Unit b = bottomMargin > 0 ? qMin(bottomMargin, formLength) : formLength;
        return qMax<Unit>(b - skip, topMargin + 1);
    }
    // The width of one character cell at the current look.
    Unit advance() const;
    Printed::TextStyle style() const;
};
