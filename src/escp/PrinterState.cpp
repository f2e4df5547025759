#include "escp/PrinterState.h"

#include "escp/PrinterModel.h"

#include <algorithm>

#include <cmath>
#include <tuple>

using Printed::UnitsPerInch;

PrinterState PrinterState::initial(const PrinterSetup &setup)
{
    PrinterState s;
    s.reset(setup);
    s.x = 0;
    s.y = 0;
    return s;
}

namespace {

// A set-up that says no number (NaN, infinity) or an absurd one keeps the
// printer's default; the options and settings refuse those first.
Printed::Unit inchesOr(double value, double fallback)
{
    return Printed::inches(std::isfinite(value) && value > 0 && value <= 100 ? value : fallback);
}

} // namespace

Printed::Unit PrinterState::carriage(const PrinterSetup &setup)
{
    return qMax<Unit>(inchesOr(setup.carriageInches, PrinterSetup::WideCarriage), UnitsPerInch);
}

void PrinterState::reset(const PrinterSetup &setup)
{
    const Unit keepY = y;
    const bool inked = sheetInked;
    const bool fed = fedToTop;
    auto printed = std::move(carried); // on paper already
    *this = PrinterState();
    formLength = qMax<Unit>(inchesOr(setup.formLengthInches, PrinterSetup::DefaultFormLength), UnitsPerInch / 6);
    rightMargin = carriage(setup);
    heightOverrides = PrinterModels::pins(setup.model) != 24;
    y = keepY;
    carried = std::move(printed);
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
        if (condensedNow() && cpi == 10)
            a = 126;
        else if (condensedNow() && cpi == 12)
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
    t.condensed = condensedNow() && hmi == 0 && cpi != 15;
    t.doubleWidth = doubleWidth || doubleWidthLine;
    t.doubleHeight = doubledNow();
    t.bold = bold;
    t.doubleStrike = doubleStrike;
    t.italic = italic;
    t.underline = underline;
    t.underlineBroken = underline && underlineBroken;
    t.underlineDouble = underline && underlineDouble;
    t.superscript = superscript && !(heightOverrides && doubledNow());
    t.subscript = subscript && !(heightOverrides && doubledNow());
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

namespace {

// Every member of the state, in the order declared.
auto members(const PrinterState &s)
{
    return std::tie(s.x, s.y, s.formLength, s.formTop, s.topMargin, s.bottomMargin, s.skip, s.leftMargin, s.rightMargin,
        s.lineSpacing, s.unit, s.pageUnit, s.unitAcross, s.cpi, s.hmi, s.extraSpace, s.proportional, s.condensed, s.doubleWidth,
        s.doubleWidthLine, s.doubleHeight, s.doubleHeightFrom, s.heightOverrides, s.bold, s.doubleStrike, s.italic, s.underline, s.underlineBroken,
        s.underlineDouble, s.superscript, s.subscript, s.letterQuality, s.typeface, s.outlineShadow, s.color,
        s.strike, s.overscore, s.halfPoints, s.justify, s.topBit, s.printControls, s.printUpperControls,
        s.userCharacters, s.graphicsMode, s.tabs, s.tabCount, s.verticalTabs, s.verticalTabCount,
        s.verticalChannel, s.downloaded, s.slot, s.tables, s.national, s.imageModes, s.sheetInked, s.fedToTop,
        s.feedsLeft);
}

// The rows carried to the next sheet, by what they print: each pass over a
// file makes its own copy of them, so the same rows are never the same
// object (compared as objects, every sheet that begins with such rows
// differed from its guess, and a fuzzer's check of two passes failed).
bool sameCarried(const PrinterState &a, const PrinterState &b)
{
    if (a.carried == b.carried)
        return true;
    if (!a.carried || !b.carried || a.carried->size() != b.carried->size())
        return false;
    return std::equal(a.carried->begin(), a.carried->end(), b.carried->begin(),
        [](const Printed::Picture &p, const Printed::Picture &q) {
            return p.x == q.x && p.top == q.top && p.dpiX == q.dpiX && p.dpiY == q.dpiY && p.column == q.column
                && p.row == q.row && p.color == q.color && p.image == q.image;
        });
}

// A member added to the state must be added to members() too: the sheet
// index trusts this comparison to tell whether a pass begun from a guessed
// state read what the printer would have. (The size of the 64-bit builds is
// checked here: most new members change it.)
static_assert(sizeof(void *) != 8 || sizeof(PrinterState) == 816, "compare the new member in members()");

} // namespace

bool PrinterState::operator==(const PrinterState &other) const
{
    return members(*this) == members(other) && sameCarried(*this, other);
}
