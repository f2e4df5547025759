// The commands of the printer language: what each ESC sequence and each
// other code sets in the printer's state.
#include "escp/EscpInterpreter.h"

#include "escp/EscpCommands.h"

#include <cmath>
#include <cstring>

using namespace Escp;
using Printed::Unit;
using Printed::UnitsPerInch;

namespace {

// How far ESC ( V and ESC ( v may take the paper back up.
constexpr Unit MaxMoveUp = 179 * UnitsPerInch / 360;

// The character table a printer's table number (ESC ( t) names, where we
// have it.
PrinterState::Table tableOf(int d2, int d3)
{
    if (d2 == 29 && d3 == 16)
        return PrinterState::Latin1; // ISO 8859-1
    if (d3 != 0)
        return PrinterState::Chosen;
    switch (d2) {
    case 0: return PrinterState::Italic;
    case 1: return PrinterState::Pc437;
    case 3: return PrinterState::Pc850;
    case 7: return PrinterState::Pc860;  // Portugal
    case 8: return PrinterState::Pc863;  // Canada (French)
    case 9: return PrinterState::Pc865;  // Nordic
    case 10: return PrinterState::Pc852;
    case 11: return PrinterState::Pc857; // Turkish
    case 44: return PrinterState::Pc858; // PC850 with the euro
    case 14: return PrinterState::Pc866;
    case 15: return PrinterState::Kamenicky; // PC867
    default: return PrinterState::Chosen;
    }
}

bool on(uchar n) { return n == 1 || n == '1'; }

// A character table slot as ESC t and ESC ( t name it: 0-3 or "0"-"3";
// -1 for any other value, which the printer ignores.
int slotOf(uchar n)
{
    if (n <= 3)
        return n;
    if (n >= '0' && n <= '3')
        return n - '0';
    return -1;
}

// The national character sets ESC R selects: 0-13, and 64 (Legal).
bool knownCountry(uchar n) { return n <= 13 || n == 64; }

} // namespace

void EscpInterpreter::command(const EscpToken &t)
{
    PrinterState &s = m_state;
    const uchar *p = m_data + t.parameters; // the first parameter byte
    const qsizetype n = t.length - 2;
    const uchar n0 = n > 0 ? p[0] : 0;
    switch (t.code) {
    case '@': {
        cancelLine(); // the text before it on the line is not printed
        // The paper's position becomes the top of form, as a form length
        // set there makes it.
        // A head waiting at the top margin goes to the top of form: the
        // margins are gone with the rest (the first line had stayed 1 in
        // down after ESC ( c and ESC @).
        const bool atTop = s.y <= s.top();
        const Unit top = atTop ? s.formTop : s.y;
        s.reset(m_setup);
        s.formTop = top;
        if (atTop)
            s.y = top;
        s.x = s.leftMargin;
        break;
    }
    case 'E': s.bold = true; break;
    case 'F': s.bold = false; break;
    case 'G': s.doubleStrike = true; break;
    case 'H': s.doubleStrike = false; break;
    case '4': s.italic = true; break;
    case '5': s.italic = false; break;
    case '-': s.underline = on(n0) || n0 == 2 || n0 == '2', s.underlineBroken = s.underlineDouble = false; break;
    case 'W':
        s.doubleWidth = on(n0);
        s.hmi = 0; // ESC W ends ESC c's HMI
        if (n0 == 0 || n0 == '0')
            s.doubleWidthLine = false; // ESC W 0 ends SO's double width too
        break;
    case '&':
        defineCharacters(p, n);
        break;
    case '%':
        if (n == 1) // (longer: the job language's escape and lines, which print nothing)
            s.userCharacters = n0 & 1;
        break;
    case ':': s.downloaded.reset(); break; // the ROM's characters copied over them
    case 'I': // 9 pins only: control codes printed as characters, 128-159 too
        if (m_fine == 10)
            s.printControls = on(n0);
        break;
    case '6': s.printUpperControls = 1; break;
    case '7': s.printUpperControls = 0; break;
    case '=': s.topBit = 0; break;
    case '>': s.topBit = 1; break;
    case '#': s.topBit = -1; break;
    case 'a':
        if ((n0 & 0x0F) <= 3 && (n0 <= 3 || (n0 >= '0' && n0 <= '3'))) {
            endLine();
            s.justify = n0 & 3;
        }
        break;
    case 'q':
        if (n0 <= 3)
            s.outlineShadow = n0;
        break;
    case 'r':
        if (n0 <= 6)
            s.color = n0;
        break;
    case 'x': s.letterQuality = on(n0); break;
    case 'k':
        if (n0 <= 11)
            s.typeface = n0;
        break;
    case '/':
        if (n0 < 8)
            s.verticalChannel = n0;
        break;
    case 'b':
        if (n0 < 8)
            setVerticalTabs(n0, p + 1, n - 1);
        break;
    case 'w':
        s.doubleHeight = on(n0);
        s.doubleHeightFrom = s.doubleHeight && s.y <= s.topMargin ? s.y : -1;
        break;
    case 'S':
        s.superscript = !(n0 & 1);
        s.subscript = n0 & 1;
        break;
    case 'T': s.superscript = s.subscript = false; break;
    // ESC P, M, g, p and ! select the 10.5-point size again (they end ESC X).
    case 'P': s.cpi = 10, s.hmi = 0, s.halfPoints = 0; break;
    case 'M': s.cpi = 12, s.hmi = 0, s.halfPoints = 0; break;
    case 'g': s.cpi = 15, s.hmi = 0, s.halfPoints = 0; break;
    case 'p': s.proportional = on(n0), s.hmi = 0, s.halfPoints = 0; break;
    case 'm': // 9 pins: 4 prints codes 128-159 as characters, 0 as control codes
        if (m_fine == 10 && (n0 == 0 || n0 == 4))
            s.printUpperControls = n0 == 4 ? 1 : 0;
        break;
    case 'c': // 1/360 in steps, at most 3 inches: the printer ignores 0 and more
        if (word(p) > 0 && word(p) <= 1080) {
            s.hmi = Unit(word(p)) * 6;
            s.extraSpace = 0; // the HMI replaces ESC SP's space
        }
        break;
    case ' ': s.extraSpace = Unit(n0) * fineStep(), s.hmi = 0; break; // ESC SP ends the HMI
    case SO: // ESC SO and ESC SI do what SO and SI do
    case SI:
        control(t.code);
        break;
    case '!':
        s.cpi = (n0 & 1) ? 12 : 10;
        s.hmi = 0;
        s.halfPoints = 0;
        s.proportional = n0 & 2;
        s.condensed = n0 & 4;
        s.bold = n0 & 8;
        s.doubleStrike = n0 & 16;
        s.doubleWidth = n0 & 32;
        s.italic = n0 & 64;
        s.underline = n0 & 128;
        s.underlineBroken = s.underlineDouble = false;
        break;
    case 'X': {
        // ESC X m nL nH: the pitch (1 proportional, 5 and up 360/m cpi, 0 as
        // it is) and the size in half points (0 as it is). The scalable
        // faces (Roman, Sans serif, Roman T, Sans serif H) come in 8, 10,
        // 10.5, 12, 14, 21 and every even size up to 32 points (the later
        // printers' list: the earlier ones lack 10 and 21, which a job sent
        // to them would not ask for), the others in 10.5 and 21; the
        // printer takes no other size.
        if (n0 == 1)
            s.proportional = true, s.hmi = 0;
        else if (n0 >= 5)
            s.proportional = false, s.hmi = Unit(n0) * 6;
        const int half = int(word(p + 1));
        const bool scalable = s.typeface <= 1 || s.typeface == 10 || s.typeface == 11;
        const bool taken = half == 21
            || (scalable ? half == 16 || half == 20 || half == 42 || (half >= 24 && half <= 64 && half % 4 == 0)
                         : half == 42);
        if (taken)
            s.halfPoints = half == 21 ? 0 : quint8(half);
        break;
    }
    case '0': s.lineSpacing = UnitsPerInch / 8; break;
    case '1': s.lineSpacing = 7 * UnitsPerInch / 72; break;
    case '2': s.lineSpacing = UnitsPerInch / 6; break;
    case '3': s.lineSpacing = Unit(n0) * m_fine; break;
    case 'A': s.lineSpacing = Unit(n0) * m_fine * 3; break;
    case '+': s.lineSpacing = Unit(n0) * 6; break;
    case 'J':
        endLine();
        s.y += Unit(n0) * m_fine;
        if (s.y >= s.bottom())
            newSheet();
        break;
    case 'j':
        flushRun();
        s.y = qMax(s.top(), s.y - Unit(n0) * m_fine);
        break;
    case 'C': {
        // 1 to 127 lines, or 1 to 22 inches, and never past 22 inches: a
        // value out of range leaves the form as it was, as on the printer
        // (ESC C 200, or ESC C NUL followed by a letter, had made a sheet
        // of 33 or 65 inches). Never shorter than one line, even at no
        // line spacing.
        const Unit length = n == 1 ? Unit(n0) * (s.lineSpacing > 0 ? s.lineSpacing : UnitsPerInch / 6)
            : n == 2               ? Unit(p[1]) * UnitsPerInch
                                   : 0;
        if ((n == 1 && (n0 < 1 || n0 > 127)) || (n == 2 && (p[1] < 1 || p[1] > 22)) || length <= 0
            || length > Printed::inches(22))
            break;
        setFormTopHere();
        s.formLength = length;
        s.skip = 0;
        setFormMargins(0, 0); // a new form length takes the margins away
        break;
    }
    case 'N':
        // 1 to 127 lines, and less than the form: else ignored (a skip of
        // the whole form had put every line on a sheet of its own).
        // It takes away ESC ( c's margins, as ESC ( c takes it away.
        if (n0 >= 1 && n0 <= 127 && Unit(n0) * s.lineSpacing < s.formLength) {
            setFormMargins(0, 0);
            s.skip = Unit(n0) * s.lineSpacing;
        }
        break;
    case 'O': // cancels the bottom margin, and ESC ( c's top and bottom margins
        s.skip = 0;
        setFormMargins(0, 0);
        break;
    // The margins are in columns of the pitch as the tabs are: condensed
    // counts, proportional text counts as 10 cpi. Either drops the text
    // before it on the line, as CAN does, and the line begins again at the
    // left margin. A left margin not left of the right one, or a right
    // margin not right of the left one or past the carriage, is ignored.
    case 'l': {
        const Unit left = Unit(n0) * tabColumn();
        if (left < s.rightMargin) {
            cancelLine();
            s.leftMargin = left;
            s.x = s.leftMargin;
        }
        break;
    }
    case 'Q': {
        const Unit right = Unit(n0) * tabColumn();
        if (right > s.leftMargin && right <= PrinterState::carriage(m_setup)) {
            cancelLine();
            s.rightMargin = right;
            s.tabCount = -1; // the tabs set before it are cleared: every 8 columns again
        }
        break;
    }
    case '$': { // ignored past the right margin, as the printer does
        const Unit x = s.leftMargin + (s.unitAcross > 0 ? Unit(PrinterState::byUnit(word(p), s.unitAcross)) : Unit(word(p)) * 36);
        if (x <= s.rightMargin)
            flushRun(), s.x = x;
        wordBreak(s.x);
        break;
    }
    case '\\': { // ignored outside the margins
        const qint16 steps = qint16(word(p));
        const Unit x = s.x + (s.unitAcross > 0 ? Unit(PrinterState::byUnit(steps, s.unitAcross)) : Unit(steps) * fineStep());
        if (x >= s.leftMargin && x <= s.rightMargin)
            flushRun(), s.x = x;
        wordBreak(s.x);
        break;
    }
    case 'D': {
        // Columns of the pitch in force (10 cpi when proportional), from
        // the left margin; a column not past the one before ends the list.
        const Unit column = tabColumn();
        s.tabCount = 0;
        for (qsizetype i = 0; i < n && p[i] != 0 && s.tabCount < 32; ++i) {
            if (i > 0 && p[i] <= p[i - 1])
                break;
            s.tabs[s.tabCount++] = s.leftMargin + Unit(p[i]) * column;
        }
        break;
    }
    case 'B':
        setVerticalTabs(0, p, n);
        break;
    case 'e': {
        // ESC e 0 m: a tab every m columns; ESC e 1 m: a vertical tab every
        // m lines, in the channel in use.
        const uchar every = n > 1 ? p[1] : 0;
        if (every == 0)
            break;
        if (n0 == 0 || n0 == '0') {
            const Unit step = Unit(every) * tabColumn();
            s.tabCount = 0;
            for (Unit x = s.leftMargin + step; x < s.rightMargin && s.tabCount < 32; x += step)
                s.tabs[s.tabCount++] = x;
        } else if ((n0 == 1 || n0 == '1') && s.lineSpacing > 0) {
            const quint8 channel = s.verticalChannel;
            qint8 &count = s.verticalTabCount[channel];
            count = 0;
            const Unit step = Unit(every) * s.lineSpacing;
            for (Unit y = step; y < s.formLength && count < 16; y += step)
                s.verticalTabs[channel][count++] = y;
        }
        break;
    }
    case 'f':
        // Spaces, or line feeds that end at the left margin as a line
        // feed does (Epson's reference for ESC f 1).
        if (n0 == 0 || n0 == '0') {
            flushRun();
            const Unit from = s.x;
            s.x = qMin(s.x + Unit(p[1]) * s.advance(), s.rightMargin);
            // With underlining on, the columns passed over are underlined
            // (Epson's reference for ESC f 0); no other score line is.
            if (m_sheet && s.underline && s.advance() > 0 && s.x - from >= s.advance()) {
                Printed::TextRun skipped;
                skipped.x = from;
                skipped.baseline = s.y + 240;
                skipped.style = s.style();
                skipped.style.advance = s.advance();
                skipped.style.proportional = false;
                skipped.style.strike = skipped.style.overscore = 0;
                skipped.text = QString((s.x - from) / s.advance(), QLatin1Char(' '));
                skipped.sourceOffset = t.offset;
                keepRun(skipped);
            }
        } else if (n0 == 1 || n0 == '1') {
            for (int i = 0; i < p[1]; ++i) {
                lineFeed(s.lineSpacing);
                if (m_sheetEnded) { // the rest feeds the next sheet
                    s.feedsLeft = quint8(p[1] - i - 1);
                    break;
                }
            }
        }
        break;
    case 't':
        if (slotOf(n0) >= 0)
            s.slot = quint8(slotOf(n0));
        break;
    case 'R':
        if (knownCountry(n0))
            s.national = n0;
        break;
    case '?': {
        const int which = reassignedImageCommand(n0, p[1]);
        if (which >= 0)
            s.imageModes[which] = p[1];
        break;
    }
    case '(': {
        const uchar *d = p + 3;
        const qsizetype len = word(p + 1);
        switch (t.sub) {
        case 'U':
            setUnit(d, len);
            break;
        case 'C':
            if (len >= 2 && word(d) > 0) {
                // In the page unit; two bytes say at most 22 inches, as
                // ESC C does (more is ignored). Four bytes, for long paper,
                // can say more than any form: worked out wide, then bounded.
                const qint64 length
                    = PrinterState::byUnit(len >= 4 ? word(d) + 65536 * word(d + 2) : word(d), s.pageUnit);
                if (len < 4 && length > Printed::inches(22))
                    break;
                setFormTopHere();
                s.formLength = Unit(qBound(qint64(UnitsPerInch / 6), length, qint64(Printed::inches(44))));
                setFormMargins(0, 0); // a new form length takes the margins away
            }
            break;
        case 'c':
            // In the page unit; a top margin not above the bottom one, or a
            // bottom one past 22 inches, is ignored (every line feed had
            // ejected a sheet).
            if (len >= 4 && word(d) < word(d + 2)
                && PrinterState::byUnit(word(d + 2), s.pageUnit) <= Printed::inches(22)) {
                s.skip = 0; // ESC N's margin goes
                const Unit top = Unit(PrinterState::byUnit(word(d), s.pageUnit));
                setFormMargins(top < s.formLength ? top : 0, Unit(PrinterState::byUnit(word(d + 2), s.pageUnit)));
                if (s.y < s.top())
                    s.y = s.top();
            }
            break;
        case 'V':
            if (len >= 2) {
                // Below the bottom margin the sheet is ejected: the next
                // one begins at its top. More than 179/360 in up the paper
                // cannot go back: ignored, as Epson's reference says.
                const Unit y = s.top() + Unit(PrinterState::byUnit(word(d), s.unit));
                if (s.y - y > MaxMoveUp)
                    break;
                flushRun();
                if (y < s.bottom())
                    s.y = y;
                else
                    newSheet();
            }
            break;
        case 'v':
            if (len >= 2) {
                // A move above the top margin is ignored, as Epson's
                // reference says (it had landed on the margin, over the
                // sheet's first lines), and so is one of more than 179/360 in up.
                const Unit y = s.y + Unit(PrinterState::byUnit(qint16(word(d)), s.unit));
                if (y >= s.top() && s.y - y <= MaxMoveUp) {
                    flushRun();
                    s.y = y;
                    if (s.y >= s.bottom())
                        newSheet();
                }
            }
            break;
        case '$':
            // From the left margin in the units of ESC ( U (1/360 in until
            // then), in four bytes; ignored past the right margin, as ESC $.
            if (len >= 2) {
                const qint64 count = len >= 4 ? qint64(word(d)) + 65536 * qint64(word(d + 2)) : qint64(word(d));
                const qint64 x = s.leftMargin + (s.unitAcross > 0 ? PrinterState::byUnit(count, s.unitAcross) : count * 6);
                if (x <= s.rightMargin)
                    flushRun(), s.x = Unit(x);
            }
            wordBreak(s.x);
            break;
        case 't':
            if (len >= 3 && slotOf(d[0]) >= 0)
                s.tables[slotOf(d[0])] = tableOf(d[1], d[2]);
            break;
        case '-': {
            // ESC ( - 3 0 1 d1 d2: d1 the line (1 under, 2 through, 3 over),
            // d2 none (0), single (1), double (2), broken single (5) or
            // broken double (6).
            if (len < 3 || d[0] != 1 || d[1] < 1 || d[1] > 3)
                break;
            const uchar kind = d[2];
            if (kind != 0 && kind != 1 && kind != 2 && kind != 5 && kind != 6)
                break;
            if (d[1] == 1)
                s.underline = kind != 0, s.underlineBroken = kind >= 5, s.underlineDouble = kind == 2 || kind == 6;
            else if (d[1] == 2)
                s.strike = kind;
            else
                s.overscore = kind;
            break;
        }
        case '^': // characters printed from their codes, controls included
            text(d, len, t.offset + 5, true);
            break;
        case 'B':
            barcode(d, len, t.offset);
            break;
        case 'G':
            enterGraphicsMode(d, len);
            break;
        default: // quality, weaving, remote mode ...
            break;
        }
        break;
    }
    default: // no visible effect: the command and its parameters are hidden
        break;
    }
}

bool EscpInterpreter::takenInGraphicsMode(const EscpToken &t) const
{
    // What an ESC/P2 printer still does in graphics mode: CR, LF and FF;
    // raster graphics; the unit, the page format and the vertical and
    // horizontal moves; line spacing in 1/360 in, colour, direction,
    // weaving, the sheet feeder and ESC @, which ends the mode.
    switch (t.kind) {
    case EscpToken::Control:
        return t.code == CR || t.code == LF || t.code == FF;
    case EscpToken::Picture:
        return t.code == '.';
    case EscpToken::Command:
        if (t.code == '(')
            return t.sub == 'U' || t.sub == 'C' || t.sub == 'c' || t.sub == 'V' || t.sub == 'v' || t.sub == 'i'
                || t.sub == 'G';
        return t.code == '@' || t.code == '$' || t.code == '\\' || t.code == '+' || t.code == 'r' || t.code == 'U'
            || t.code == 0x19;
    default:
        return false;
    }
}

void EscpInterpreter::enterGraphicsMode(const uchar *d, qsizetype len)
{
    // ESC ( G 1 0 m, m 1 or '1' (a 9-pin printer knows no ESC ( G). The
    // line so far is printed, the head goes to the left margin, and the
    // downloaded characters and the tab stops are cleared.
    if (m_fine == 10 || len != 1 || (d[0] != 1 && d[0] != '1'))
        return;
    PrinterState &s = m_state;
    endLine();
    s.x = s.leftMargin;
    s.graphicsMode = true;
    s.downloaded.reset();
    s.userCharacters = false;
    s.tabCount = -1;
    s.verticalTabCount.fill(-1);
}

void EscpInterpreter::setUnit(const uchar *d, qsizetype len)
{
    // ESC ( U 1 0 m: one unit of m/3600 in; ESC ( U 5 0 P V H mL mH: the
    // page, vertical and horizontal units in 1/(mL + 256 mH) in. Values the
    // printer does not take leave the units as they were.
    PrinterState &s = m_state;
    if (len == 1) {
        const int m = d[0];
        if (m == 5 || m == 10 || m == 20 || m == 30 || m == 40 || m == 50 || m == 60)
            s.unit = s.pageUnit = s.unitAcross = Unit(m) * 12 / 5; // m/3600 in
        return;
    }
    if (len < 5)
        return;
    const int base = int(word(d + 3));
    if (base != 1440 && base != 2880)
        return;
    const auto unitOf = [base](int n) { return Unit(std::lround(double(n) * 4 * UnitsPerInch / base)); };
    for (int i = 0; i < 3; ++i) {
        if (d[i] == 0 || base % d[i] != 0 || unitOf(d[i]) < 1)
            return;
    }
    s.pageUnit = unitOf(d[0]);
    s.unit = unitOf(d[1]);
    s.unitAcross = unitOf(d[2]);
}

void EscpInterpreter::setVerticalTabs(quint8 channel, const uchar *p, qsizetype n)
{
    // ESC B / ESC b: lines of the line spacing in force, at most 16; a line
    // not below the one before ends the list as NUL does.
    qint8 &count = m_state.verticalTabCount[channel];
    count = 0;
    for (qsizetype i = 0; i < n && p[i] != 0 && count < 16; ++i) {
        if (i > 0 && p[i] <= p[i - 1])
            break;
        m_state.verticalTabs[channel][count++] = Unit(p[i]) * m_state.lineSpacing;
    }
}
