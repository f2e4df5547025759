#include "escp/PrinterState.h"

using Printed::UnitsPerInch;

PrinterState PrinterState::initial(const PrinterSetup &setup)
{
    PrinterState s;
    s.reset(setup);
    s.x = 0;
    s.y = 0;
    return s;
}

void PrinterState::reset(const PrinterSetup &setup)
{
    const Unit keepY = y;
    const bool inked = sheetInked;
    const bool fed = fedToTop;
    *this = PrinterState();
    formLength = qMax<Unit>(Printed::inches(setup.formLengthInches), UnitsPerInch / 6);
    rightMargin = qMax<Unit>(Printed::inches(setup.carriageInches), UnitsPerInch);
    y = keepY;
    sheetInked = inked;
    fedToTop = fed;
}

Printed::Unit PrinterState::advance() const
{
    Unit a;
    if (hmi > 0) {
        a = hmi;
    } else {
        a = UnitsPerInch / cpi;
        // Condensed: 10 cpi becomes 17.1, 12 becomes 20; 15 cpi has none.
        if (condensed && cpi == 10)
            a = 126;
        else if (condensed && cpi == 12)
            a = 108;
    }
    a += extraSpace;
    if (doubleWidth || doubleWidthLine)
        a *= 2;
    return a;
}

Printed::TextStyle PrinterState::style() const
{
    Printed::TextStyle t;
    t.advance = advance();
    t.proportional = proportional;
    t.condensed = condensed && hmi == 0 && cpi != 15;
    t.doubleWidth = doubleWidth || doubleWidthLine;
    t.doubleHeight = doubleHeight;
    t.bold = bold;
    t.doubleStrike = doubleStrike;
    t.italic = italic;
    t.underline = underline;
    t.underlineBroken = underline && underlineBroken;
    t.underlineDouble = underline && underlineDouble;
    t.superscript = superscript;
    t.subscript = subscript;
    t.strike = strike;
    t.overscore = overscore;
    t.outline = outlineShadow & 1;
    t.shadow = outlineShadow & 2;
    t.color = color;
    t.typeface = typeface;
    t.letterQuality = letterQuality;
    if (halfPoints > 0)
        t.height = Unit(halfPoints) * (UnitsPerInch / 6) / 21; // 10.5 points: the normal cell
    return t;
}
