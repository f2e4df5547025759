#include "escp/PrinterState.h"

#include <cmath>

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
    // A set-up that says no number (NaN, infinity) or an absurd one keeps
    // the printer's default; the options and settings refuse those first.
    const auto inches = [](double value, double fallback) {
        return Printed::inches(std::isfinite(value) && value > 0 && value <= 100 ? value : fallback);
    };
    formLength = qMax<Unit>(inches(setup.formLengthInches, 11.0), UnitsPerInch / 6);
    rightMargin = qMax<Unit>(inches(setup.carriageInches, 13.6), UnitsPerInch);
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
