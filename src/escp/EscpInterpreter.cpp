#include "escp/EscpInterpreter.h"

#include "escp/EscpBarcode.h"
#include "escp/EscpCommands.h"
#include "escp/EscpPictures.h"
#include "escp/PlainRun.h"

#include <cmath>
#include <cstring>

using namespace Escp;
using Printed::Unit;
using Printed::UnitsPerInch;

namespace {

// The twelve positions a national character set (ESC R) replaces, and what
// each set puts there, country by country as the printers number them.
constexpr uchar NationalPositions[12] = {0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D, 0x5E, 0x60, 0x7B, 0x7C, 0x7D, 0x7E};
constexpr char16_t NationalSets[][12] = {
    {u'#', u'$', u'@', u'[', u'\\', u']', u'^', u'`', u'{', u'|', u'}', u'~'},                      // USA
    {u'#', u'$', u'à', u'°', u'ç', u'§', u'^', u'`', u'é', u'ù', u'è', u'¨'},                        // France
    {u'#', u'$', u'§', u'Ä', u'Ö', u'Ü', u'^', u'`', u'ä', u'ö', u'ü', u'ß'},                        // Germany
    {u'£', u'$', u'@', u'[', u'\\', u']', u'^', u'`', u'{', u'|', u'}', u'~'},                      // United Kingdom
    {u'#', u'$', u'@', u'Æ', u'Ø', u'Å', u'^', u'`', u'æ', u'ø', u'å', u'~'},                        // Denmark I
    {u'#', u'¤', u'É', u'Ä', u'Ö', u'Å', u'Ü', u'é', u'ä', u'ö', u'å', u'ü'},                        // Sweden
    {u'#', u'$', u'@', u'°', u'\\', u'é', u'^', u'ù', u'à', u'ò', u'è', u'ì'},                      // Italy
    {u'₧', u'$', u'@', u'¡', u'Ñ', u'¿', u'^', u'`', u'¨', u'ñ', u'}', u'~'},                        // Spain I
    {u'#', u'$', u'@', u'[', u'¥', u']', u'^', u'`', u'{', u'|', u'}', u'~'},                        // Japan
    {u'#', u'¤', u'É', u'Æ', u'Ø', u'Å', u'Ü', u'é', u'æ', u'ø', u'å', u'ü'},                        // Norway
    {u'#', u'$', u'É', u'Æ', u'Ø', u'Å', u'Ü', u'é', u'æ', u'ø', u'å', u'ü'},                        // Denmark II
    {u'#', u'$', u'á', u'¡', u'Ñ', u'¿', u'é', u'`', u'í', u'ñ', u'ó', u'ú'},                        // Spain II
    {u'#', u'$', u'á', u'¡', u'Ñ', u'¿', u'é', u'ü', u'í', u'ñ', u'ó', u'ú'},                        // Latin America
    {u'#', u'$', u'@', u'[', u'₩', u']', u'^', u'`', u'{', u'|', u'}', u'~'},                        // Korea
};
constexpr char16_t LegalSet[12] = {u'#', u'$', u'§', u'°', u'\'', u'"', u'¶', u'`', u'©', u'®', u'†', u'™'};

// The character table a printer's table number (ESC ( t) names, where we
// have it.
PrinterState::Table tableOf(int d2, int d3)
{
    if (d3 != 0)
        return PrinterState::Chosen;
    switch (d2) {
    case 0: return PrinterState::Italic;
    case 1: return PrinterState::Pc437;
    case 3: return PrinterState::Pc850;
    case 10: return PrinterState::Pc852;
    case 14: return PrinterState::Pc866;
    case 15: return PrinterState::Kamenicky; // PC867
    default: return PrinterState::Chosen;
    }
}

CodePage::Id codePageOf(quint8 table, CodePage::Id chosen)
{
    switch (table) {
    case PrinterState::Graphics:
        return chosen == CodePage::Id::Latin1 || chosen == CodePage::Id::Windows1252 ? CodePage::Id::Pc437
                                                                                     : chosen;
    case PrinterState::Pc437: return CodePage::Id::Pc437;
    case PrinterState::Pc850: return CodePage::Id::Pc850;
    case PrinterState::Pc852: return CodePage::Id::Pc852;
    case PrinterState::Pc866: return CodePage::Id::Pc866;
    case PrinterState::Kamenicky: return CodePage::Id::Kamenicky;
    default: return chosen;
    }
}

bool on(uchar n) { return n == 1 || n == '1'; }

// ESC k 5: the OCR-B face, which the bar codes' human-readable line is in.
constexpr quint8 OcrBTypeface = 5;

// The widths of the proportional characters 32-126 in 1/360 in at 10.5
// points (the 24-pin printers' table; others take 30).
constexpr uchar ProportionalWidths[95] = {
    30, 18, 30, 30, 30, 36, 36, 18, 24, 24, 30, 30, 18, 30, 18, 30, // SP ! " # $ % & ' ( ) * + , - . /
    30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 18, 18, 30, 30, 30, 30, // 0-9 : ; < = > ?
    42, 36, 36, 36, 36, 36, 36, 36, 36, 24, 30, 36, 36, 42, 36, 36, // @ A-O
    36, 36, 36, 36, 36, 36, 36, 42, 36, 36, 30, 24, 30, 24, 30, 30, // P-Z [ \ ] ^ _
    18, 30, 30, 30, 30, 30, 24, 30, 30, 18, 18, 30, 18, 42, 30, 30, // ` a-o
    30, 30, 24, 30, 24, 30, 30, 42, 30, 30, 30, 24, 18, 24, 30,     // p-z { | } ~
};

// The 9-pin printers' proportional widths of the characters 32-63 in 1/120
// in, upright and italic (the width table of their manuals); the other
// characters take the 24-pin widths above.
constexpr uchar NinePinWidths[32] = {
    12, 5, 8, 12, 12, 12, 12, 5, 6, 6, 12, 12, 7, 12, 6, 10,  // SP ! " # $ % & ' ( ) * + , - . /
    12, 8, 12, 12, 12, 12, 12, 12, 12, 12, 6, 6, 10, 12, 10, 12, // 0-9 : ; < = > ?
};
constexpr uchar NinePinItalicWidths[32] = {
    12, 10, 10, 12, 11, 12, 12, 5, 8, 8, 12, 12, 8, 12, 7, 10,
    12, 9, 12, 12, 12, 12, 11, 12, 12, 11, 8, 9, 10, 11, 9, 11,
};

// What the printer prints for a control code it is told to print as a
// character (ESC I 1, ESC ( ^, ESC 6): the PC character set's symbols.
constexpr char16_t ControlGlyphs[32] = {
    u' ', u'\u263A', u'\u263B', u'\u2665', u'\u2666', u'\u2663', u'\u2660', u'\u2022',
    u'\u25D8', u'\u25CB', u'\u25D9', u'\u2642', u'\u2640', u'\u266A', u'\u266B', u'\u263C',
    u'\u25BA', u'\u25C4', u'\u2195', u'\u203C', u'\u00B6', u'\u00A7', u'\u25AC', u'\u21A8',
    u'\u2191', u'\u2193', u'\u2192', u'\u2190', u'\u221F', u'\u2194', u'\u25B2', u'\u25BC',
};

// The codes ESC I 1 prints as characters: the control codes that do
// nothing else.
bool printableControl(uchar c)
{
    return c <= 6 || c == 16 || c == 17 || (c >= 21 && c <= 23) || c == 25 || c == 26 || c >= 28;
}

} // namespace

EscpInterpreter::EscpInterpreter(QByteArrayView bytes, const PrinterSetup &setup,
    const PrinterState &state, qsizetype from)
    : m_data(reinterpret_cast<const uchar *>(bytes.data()))
    , m_size(bytes.size())
    , m_setup(setup)
    , m_state(state)
    , m_tokens(bytes, from, PrinterModels::pins(setup.model) == 24 ? 24 : 9)
    , m_pos(from)
    , m_fine(PrinterModels::pins(setup.model) == 24 ? 12 : 10)
    , m_nextReport(from + ReportEvery)
{
}

bool EscpInterpreter::runSheet(Printed::Sheet *sheet)
{
    m_sheet = sheet;
    m_sheetEnded = false;
    m_resume = -1;
    m_lineRuns = 0;
    m_run = Printed::TextRun();
    m_runChars = 0;
    m_tokens.seek(m_pos);
    for (;;) {
        const EscpToken t = m_tokens.next();
        if (t.kind == EscpToken::End)
            break;
        // In graphics mode text and the other commands are read and dropped.
        const EscpToken::Kind kind = m_state.graphicsMode && !takenInGraphicsMode(t) ? EscpToken::End : t.kind;
        switch (kind) {
        case EscpToken::Text:
            text(m_data + t.offset, t.length, t.offset);
            break;
        case EscpToken::Control:
            control(t.code);
            break;
        case EscpToken::Command:
            command(t);
            break;
        case EscpToken::Picture:
            picture(t);
            break;
        case EscpToken::End:
            break;
        }
        m_pos = m_resume >= 0 ? m_resume : t.end();
        if (m_sheetEnded) {
            flushRun();
            return true;
        }
        if (progress && m_pos >= m_nextReport) {
            m_nextReport = m_pos + ReportEvery;
            if (!progress(m_pos)) {
                m_stopped = true;
                break;
            }
        }
    }
    flushRun();
    m_pos = m_tokens.position();
    return false;
}

void EscpInterpreter::newSheet()
{
    flushRun();
    m_sheetEnded = true;
    m_lineRuns = 0;
    m_state.y = m_state.topMargin;
    m_state.x = m_state.leftMargin;
    m_state.doubleWidthLine = false; // SO ends with its sheet
    m_state.sheetInked = false;
    m_state.fedToTop = false;
}

void EscpInterpreter::lineFeed(Unit by)
{
    endLine();
    m_state.doubleWidthLine = false;
    m_state.x = m_state.leftMargin;
    m_state.y += by;
    if (m_state.y >= m_state.bottom()) {
        newSheet();
        m_state.fedToTop = true;
    }
}

void EscpInterpreter::flushRun()
{
    if (m_sheet && !m_run.text.isEmpty())
        keepRun(m_run);
    m_run.text.clear();
    m_runChars = 0;
}

void EscpInterpreter::spreadLine(qsizetype first)
{
    // Full justification of a line the right margin ended: the room left
    // is shared out among the blanks between its words.
    QVector<Printed::TextRun> &runs = m_sheet->runs;
    Unit right = m_state.leftMargin;
    int blanks = 0;
    int trailing = 0; // blanks at the end of the line, which get nothing
    for (qsizetype i = first; i < runs.size(); ++i) {
        const Printed::TextRun &r = runs[i];
        for (qsizetype k = 0; k < r.text.size(); ++k) {
            if (r.text.at(k) == QLatin1Char(' ')) {
                ++blanks, ++trailing;
            } else {
                trailing = 0;
                right = qMax(right, r.x + Unit(k + 1) * r.style.advance);
            }
        }
    }
    blanks -= trailing;
    const Unit room = m_state.rightMargin - right;
    if (blanks <= 0 || room <= 0)
        return;
    QVector<Printed::TextRun> spread;
    Unit shift = 0;
    int seen = 0;
    for (qsizetype i = first; i < runs.size(); ++i) {
        const Printed::TextRun &r = runs[i];
        Printed::TextRun piece = r;
        piece.text.clear();
        piece.x = r.x + shift;
        for (qsizetype k = 0; k < r.text.size(); ++k) {
            piece.text.append(r.text.at(k));
            if (r.text.at(k) != QLatin1Char(' ') || seen >= blanks)
                continue;
            ++seen;
            const Unit add = room / blanks + (seen <= room % blanks ? 1 : 0);
            shift += add;
            spread.append(piece);
            piece.text.clear();
            piece.x = r.x + Unit(k + 1) * r.style.advance + shift;
            piece.sourceOffset = r.sourceOffset + k + 1;
        }
        if (!piece.text.isEmpty())
            spread.append(piece);
    }
    runs.resize(first);
    for (const Printed::TextRun &piece : std::as_const(spread))
        keepRun(piece);
}

void EscpInterpreter::keepRun(const Printed::TextRun &run)
{
    // Past the sheet's budget the text is left out and the sheet says so.
    if (m_sheet->runs.size() >= Printed::MostRuns) {
        m_sheet->overBudget = true;
        m_sheet->textOverBudget = true;
        return;
    }
    m_sheet->runs.append(run);
}

void EscpInterpreter::endLine()
{
    flushRun();
    if (m_sheet && m_state.justify != 0) {
        // ESC a: the line's text moved within the margins as a whole.
        const qsizetype first = qMin<qsizetype>(m_lineRuns, m_sheet->runs.size());
        Unit left = m_state.rightMargin, right = m_state.leftMargin;
        for (qsizetype i = first; i < m_sheet->runs.size(); ++i) {
            const Printed::TextRun &r = m_sheet->runs[i];
            left = qMin(left, r.x);
            right = qMax(right, r.x + Unit(r.text.size()) * r.style.advance);
        }
        const Unit room = m_state.rightMargin - m_state.leftMargin - (right - left);
        if (first < m_sheet->runs.size() && room > 0 && m_state.justify != 3) {
            const Unit to = m_state.justify == 1 ? m_state.leftMargin + room / 2 : m_state.leftMargin + room;
            for (qsizetype i = first; i < m_sheet->runs.size(); ++i)
                m_sheet->runs[i].x += to - left;
        } else if (first < m_sheet->runs.size() && m_state.justify == 3 && m_wrapping) {
            spreadLine(first);
        }
    }
    m_lineRuns = m_sheet ? m_sheet->runs.size() : 0;
}

void EscpInterpreter::rebuildTable()
{
    const quint8 table = m_state.slot == PrinterState::NoSlot ? quint8(PrinterState::Chosen)
                                                              : m_state.tables[m_state.slot & 3];
    const quint32 key = table | (quint32(m_state.national) << 8);
    if (key == m_tableKey)
        return;
    m_tableKey = key;
    m_italicTable = table == PrinterState::Italic;
    const CodePage::Id id = codePageOf(table, m_setup.codePage);
    std::memcpy(m_table, CodePage::table(id), sizeof m_table);
    if (table == PrinterState::Italic) {
        // The italic table repeats the lower half above it.
        for (int b = 0x80; b < 0x100; ++b)
            m_table[b] = m_table[b - 0x80];
    }
    const char16_t *set = nullptr;
    if (m_state.national > 0 && m_state.national < std::size(NationalSets))
        set = NationalSets[m_state.national];
    else if (m_state.national == 64)
        set = LegalSet;
    if (set) {
        for (int i = 0; i < 12; ++i)
            m_table[NationalPositions[i]] = set[i];
    }
}

void EscpInterpreter::text(const uchar *p, qsizetype n, qsizetype offset, bool controls)
{
    rebuildTable();
    Printed::TextStyle look = m_state.style();
    Unit baseline = m_state.y + 240;
    // While the sheets are only counted (no sheet is laid out), plain
    // characters of one look that fit before the right margin are passed
    // over at once: all they change is where the carriage stands, the run
    // they join and whether the sheet has ink.
    const bool countsOnly = !m_sheet && !controls && m_state.topBit < 0
        && !(m_state.userCharacters && m_state.downloaded) && !(m_state.proportional && m_state.hmi == 0);
    for (qsizetype i = 0; i < n; ++i) {
        if (countsOnly && look.advance > 0) {
            const qint64 room = qint64(m_state.rightMargin) - m_state.x;
            const qsizetype fit = room >= look.advance ? qsizetype(qMin<qint64>(room / look.advance, n - i)) : 0;
            // A text token holds no control code past its first byte (an ESC
            // cut short by the end of the file), so once the sheet has ink
            // and no upper half stops a run, what fits is the run, unread.
            PlainRun run;
            if (fit > 0 && !m_italicTable && m_state.sheetInked && !isControl(p[i]))
                run.length = fit;
            else if (fit > 0)
                run = plainRun(p + i, fit, m_italicTable);
            if (run.length > 0) {
                addToRun(look, baseline, offset + i, run.length);
                m_state.sheetInked = m_state.sheetInked || run.inked;
                m_state.x += Unit(run.length) * look.advance;
                i += run.length;
                if (i == n)
                    break;
            }
        }
        uchar b = p[i];
        if (m_state.topBit >= 0 && !controls)
            b = uchar((b & 0x7F) | (m_state.topBit << 7));
        if (isControl(b) && !controls)
            continue; // the ESC of a command cut short by the end of the file
        // The italic table's 128-159 are control codes that print nothing
        // (unless ESC 6 makes them characters).
        if (m_italicTable && b >= 0x80 && b < 0xA0 && !m_state.printUpperControls && !controls)
            continue;
        if (m_state.userCharacters && m_state.downloaded && m_state.downloaded->at[b] >= 0) {
            userCharacter(b);
            if (m_sheetEnded) { // it goes to the top of the next sheet
                m_resume = offset + i;
                return;
            }
            continue;
        }
        const bool proportional = m_state.proportional && m_state.hmi == 0;
        if (proportional) // each character its own width
            look.advance = proportionalAdvance(m_table[b]);
        if (m_state.x + look.advance > m_state.rightMargin && m_state.x > m_state.leftMargin) {
            // Past the right margin: the printer ends the line and goes on.
            m_wrapping = true;
            lineFeed(m_state.lineSpacing);
            m_wrapping = false;
            if (m_sheetEnded) {
                m_resume = offset + i;
                return;
            }
            look = m_state.style();
            if (proportional)
                look.advance = proportionalAdvance(m_table[b]);
            baseline = m_state.y + 240;
        }
        if (b != ' ')
            m_state.sheetInked = true;
        // The italic table prints its upper half as italic letters.
        Printed::TextStyle charLook = look;
        if (m_italicTable && b >= 0x80)
            charLook.italic = true;
        addToRun(charLook, baseline, offset + i, 1);
        if (m_sheet) {
            const char16_t c = m_table[b];
            m_run.text.append(QChar(c < 0x20 ? ControlGlyphs[c] : c == 0x7F ? u'\u2302' : c));
        }
        m_state.x += look.advance;
    }
}

void EscpInterpreter::addToRun(const Printed::TextStyle &style, Unit baseline, qsizetype sourceOffset, qsizetype count)
{
    const bool joins = m_runChars > 0 && m_run.baseline == baseline && m_run.style == style
        && m_run.x + Unit(m_runChars) * style.advance == m_state.x;
    if (!joins) {
        flushRun();
        m_run.x = m_state.x;
        m_run.baseline = baseline;
        m_run.style = style;
        m_run.sourceOffset = sourceOffset;
    }
    m_runChars += count;
}

Unit EscpInterpreter::proportionalAdvance(char16_t c) const
{
    const PrinterState &s = m_state;
    int width = c >= 0x20 && c < 0x7F ? ProportionalWidths[c - 0x20] : 30; // in 1/360 in
    if (m_fine == 10 && c >= 0x20 && c < 0x40)
        width = 3 * (s.italic ? NinePinItalicWidths[c - 0x20] : NinePinWidths[c - 0x20]);
    if (s.halfPoints > 0) // a size of its own: the widths scale with it
        width = int((double(s.halfPoints) / 2 * width) / 10.5 + 0.5);
    Unit a = Unit(width) * (UnitsPerInch / 360);
    if (s.condensed)
        a = a / 2 + a / 10; // about 60 %, as condensed is of pica
    a += s.extraSpace;
    if (s.doubleWidth || s.doubleWidthLine)
        a *= 2;
    return a;
}

void EscpInterpreter::userCharacter(uchar code)
{
    // A downloaded character prints its dots, one column after another, at
    // the head's place: a picture of the character's own.
    PrinterState &s = m_state;
    const qsizetype at = s.downloaded->at[code];
    const bool nine = s.downloaded->pins[code] == 9;
    const uchar *d = m_data + at;
    int columns = 0, before = 0, after = 0, dpiX = 0, dpiY = 0, rows = 0, bytes = 1;
    if (nine) {
        columns = 11, dpiX = 120, dpiY = 72, rows = 9;
    } else {
        before = d[0], columns = d[1], after = d[2];
        d += 3;
        dpiX = s.letterQuality ? 360 : 120;
        dpiY = 180, rows = 24, bytes = 3;
    }
    Unit advance = s.advance();
    if (s.proportional && s.hmi == 0) {
        advance = nine ? Unit((d[0] & 15) - ((d[0] >> 4) & 7) + 2) * (UnitsPerInch / 120)
                       : Unit(before + columns + after) * (UnitsPerInch / dpiX);
        if (s.doubleWidth || s.doubleWidthLine)
            advance *= 2;
    }
    if (s.x + advance > s.rightMargin && s.x > s.leftMargin) {
        lineFeed(s.lineSpacing);
        if (m_sheetEnded)
            return;
    }
    flushRun();
    const int stretch = (s.doubleWidth || s.doubleWidthLine) ? 2 : 1;
    if (m_sheet && columns > 0) {
        // Each printed character is a picture of its own and counts against
        // the sheet's budget as any picture does.
        const qint64 cost = Printed::pictureCost((before + columns + after) * stretch, rows);
        if (m_sheet->overBudget || m_sheet->pictureBytes + cost > Printed::SheetBudget) {
            m_sheet->overBudget = true;
            s.sheetInked = true;
            s.x += advance;
            return;
        }
        m_sheet->pictureBytes += cost;
        QImage image((before + columns + after) * stretch, rows, QImage::Format_Mono);
        image.setColor(0, qRgba(255, 255, 255, 0));
        image.setColor(1, qRgb(0, 0, 0));
        image.fill(0);
        for (int col = 0; col < columns; ++col) {
            for (int row = 0; row < rows; ++row) {
                bool dot;
                if (nine) {
                    // Bit 7 of the attribute byte clear: the lower eight pins.
                    const int pin = row - ((d[0] & 0x80) ? 0 : 1);
                    dot = pin >= 0 && pin < 8 && (d[1 + col] >> (7 - pin)) & 1;
                } else {
                    dot = (d[col * bytes + row / 8] >> (7 - row % 8)) & 1;
                }
                if (dot) {
                    for (int k = 0; k < stretch; ++k)
                        image.setPixel((before + col) * stretch + k, row, 1);
                }
            }
        }
        Printed::Picture picture;
        picture.x = s.x;
        picture.top = s.y;
        picture.dpiX = dpiX;
        picture.dpiY = dpiY;
        picture.image = image;
        picture.sourceOffset = at;
        m_sheet->pictures.append(std::move(picture));
    }
    s.sheetInked = true;
    s.x += advance;
}

Unit EscpInterpreter::tabColumn() const
{
    // A tab column: the pitch's cell with ESC SP's space, not doubled;
    // proportional text sets its tabs in 10 cpi columns.
    PrinterState plain = m_state;
    plain.doubleWidth = plain.doubleWidthLine = false;
    if (plain.proportional && plain.hmi == 0)
        plain.cpi = 10, plain.condensed = false;
    return plain.advance();
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

Unit EscpInterpreter::fineStep() const
{
    // 1/120 in, or on 24 pins in letter quality or proportional 1/180 in.
    const bool fine = m_fine == 12 && (m_state.letterQuality || m_state.proportional);
    return fine ? UnitsPerInch / 180 : UnitsPerInch / 120;
}

void EscpInterpreter::cancelLine()
{
    // CAN: the text not yet printed on this line is dropped.
    m_run.text.clear();
    m_runChars = 0;
    if (m_sheet && m_sheet->runs.size() > m_lineRuns)
        m_sheet->runs.resize(m_lineRuns);
    m_state.x = m_state.leftMargin;
}

void EscpInterpreter::deleteCharacter()
{
    // DEL on 9 pins: the last character not yet printed is taken back.
    if (m_runChars == 0)
        return;
    --m_runChars;
    m_run.text.chop(1);
    m_state.x = qMax(m_state.leftMargin, m_state.x - m_run.style.advance);
}

void EscpInterpreter::control(uchar c)
{
    PrinterState &s = m_state;
    if (s.printControls && printableControl(c)) {
        const uchar byte = c;
        text(&byte, 1, m_pos, true);
        return;
    }
    switch (c) {
    case CR:
        endLine();
        s.x = s.leftMargin;
        if (m_fine == 10) // 9 pins: a carriage return ends SO's double width
            s.doubleWidthLine = false;
        break;
    case CAN:
        cancelLine();
        break;
    case DEL:
        if (m_fine == 10)
            deleteCharacter();
        break;
    case LF:
        lineFeed(s.lineSpacing);
        break;
    case VT: {
        if (s.verticalTabCount[s.verticalChannel] == 0) {
            lineFeed(s.lineSpacing);
            break;
        }
        // To the next vertical tab below the head, else to the next form.
        Unit target = -1;
        const auto &stops = s.verticalTabs[s.verticalChannel];
        for (int i = 0; i < s.verticalTabCount[s.verticalChannel] && target < 0; ++i) {
            if (stops[i] > s.y)
                target = stops[i];
        }
        if (target < 0 || target >= s.bottom()) {
            newSheet();
        } else {
            lineFeed(target - s.y);
        }
        break;
    }
    case FF:
        endLine();
        // A form feed right at the top of a sheet that a line feed has just
        // begun prints no empty sheet.
        if (s.fedToTop && !s.sheetInked && s.y == s.topMargin) {
            s.x = s.leftMargin;
            s.doubleWidthLine = false;
            s.fedToTop = false;
        } else {
            newSheet();
        }
        break;
    case BS: {
        flushRun();
        s.x = qMax(s.leftMargin, s.x - s.advance());
        break;
    }
    case HT: {
        flushRun();
        const Unit column = tabColumn();
        Unit target = -1;
        if (s.tabCount < 0) {
            const Unit step = 8 * column;
            target = s.leftMargin + ((s.x - s.leftMargin) / step + 1) * step;
        } else {
            for (int i = 0; i < s.tabCount; ++i) {
                if (s.tabs[i] > s.x) {
                    target = s.tabs[i];
                    break;
                }
            }
        }
        if (target > s.x && target < s.rightMargin)
            s.x = target;
        break;
    }
    case SO:
        s.doubleWidthLine = true;
        break;
    case DC4:
        s.doubleWidthLine = false;
        break;
    case SI:
        s.condensed = true;
        break;
    case DC2:
        s.condensed = false;
        break;
    default: // NUL, BEL, DC1, DC3, CAN, DEL and the rest: nothing to draw
        break;
    }
}

void EscpInterpreter::command(const EscpToken &t)
{
    PrinterState &s = m_state;
    const uchar *p = m_data + t.parameters; // the first parameter byte
    const qsizetype n = t.length - 2;
    const uchar n0 = n > 0 ? p[0] : 0;
    switch (t.code) {
    case '@':
        flushRun();
        s.reset(m_setup);
        s.x = s.leftMargin;
        break;
    case 'E': s.bold = true; break;
    case 'F': s.bold = false; break;
    case 'G': s.doubleStrike = true; break;
    case 'H': s.doubleStrike = false; break;
    case '4': s.italic = true; break;
    case '5': s.italic = false; break;
    case '-': s.underline = on(n0) || n0 == 2 || n0 == '2', s.underlineBroken = s.underlineDouble = false; break;
    case 'W':
        s.doubleWidth = on(n0);
        if (n0 == 0 || n0 == '0')
            s.doubleWidthLine = false; // ESC W 0 ends SO's double width too
        break;
    case '&':
        defineCharacters(p, n);
        break;
    case '%': s.userCharacters = n0 & 1; break;
    case ':': s.downloaded.reset(); break; // the ROM's characters copied over them
    case 'I': s.printControls = on(n0); break;
    case '6': s.printUpperControls = true; break;
    case '7': s.printUpperControls = false; break;
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
    case 'w': s.doubleHeight = on(n0); break;
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
            s.printUpperControls = n0 == 4;
        break;
    case 'c': // at most 4 inches: the printer ignores more
        if (word(p) <= 1440)
            s.hmi = Unit(word(p)) * 6;
        break;
    case ' ': s.extraSpace = Unit(n0) * fineStep(); break;
    case SO: s.doubleWidthLine = true; break;
    case SI: s.condensed = true; break;
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
        // faces (Roman, Sans serif, Roman T, Sans serif H) come in 8, 10.5,
        // 12, 14 and every even size up to 32 points, the others in 10.5
        // and 21; the printer takes no other size.
        if (n0 == 1)
            s.proportional = true, s.hmi = 0;
        else if (n0 >= 5)
            s.proportional = false, s.hmi = Unit(n0) * 6;
        const int half = int(word(p + 1));
        const bool scalable = s.typeface <= 1 || s.typeface == 10 || s.typeface == 11;
        const bool taken = half == 21
            || (scalable ? half == 16 || (half >= 24 && half <= 64 && half % 4 == 0) : half == 42);
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
        s.y = qMax(s.topMargin, s.y - Unit(n0) * m_fine);
        break;
    case 'C':
        if (n == 1 && n0 > 0) // never shorter than one line, even at no line spacing
            s.formLength = Unit(n0) * (s.lineSpacing > 0 ? s.lineSpacing : UnitsPerInch / 6);
        else if (n == 2 && p[1] > 0)
            s.formLength = Unit(p[1]) * UnitsPerInch;
        s.skip = 0;
        s.topMargin = s.bottomMargin = 0;
        break;
    case 'N': s.skip = Unit(n0) * s.lineSpacing; break;
    case 'O': s.skip = 0; break;
    case 'l': s.leftMargin = qMin(Unit(n0) * (UnitsPerInch / s.cpi), s.rightMargin - UnitsPerInch / 10);
        s.x = qMax(s.x, s.leftMargin);
        break;
    case 'Q': {
        const Unit carriage = Printed::inches(m_setup.carriageInches);
        const Unit right = Unit(n0) * (UnitsPerInch / s.cpi);
        if (right > s.leftMargin)
            s.rightMargin = qMin(right, carriage);
        break;
    }
    case '$': { // ignored past the right margin, as the printer does
        const Unit x = s.leftMargin + Unit(word(p)) * (s.unitAcross > 0 ? s.unitAcross : 36);
        if (x <= s.rightMargin)
            flushRun(), s.x = x;
        break;
    }
    case '\\': { // ignored outside the margins
        const Unit step = s.unitAcross > 0 ? s.unitAcross : fineStep();
        const Unit x = s.x + Unit(qint16(word(p))) * step;
        if (x >= s.leftMargin && x <= s.rightMargin)
            flushRun(), s.x = x;
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
        // Spaces or line feeds, neither with a carriage return.
        if (n0 == 0 || n0 == '0') {
            flushRun();
            s.x = qMin(s.x + Unit(p[1]) * s.advance(), s.rightMargin);
        } else if (n0 == 1 || n0 == '1') {
            const Unit column = s.x;
            for (int i = 0; i < p[1] && !m_sheetEnded; ++i)
                lineFeed(s.lineSpacing);
            if (!m_sheetEnded)
                s.x = column;
        }
        break;
    case 't':
        s.slot = n0 & 3;
        break;
    case 'R':
        s.national = n0;
        break;
    case '?': {
        static const char Letters[] = "KLYZ";
        const char *at = n0 ? std::strchr(Letters, n0) : nullptr;
        if (at && bytesPerColumn(p[1]))
            s.imageModes[at - Letters] = p[1];
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
                // Four bytes can say more than any form: worked out wide, then bounded.
                const qint64 length = qint64(len >= 4 ? word(d) + 65536 * word(d + 2) : word(d)) * s.unit;
                s.formLength = Unit(qBound(qint64(UnitsPerInch / 6), length, qint64(Printed::inches(44))));
                s.topMargin = s.bottomMargin = 0;
            }
            break;
        case 'c':
            if (len >= 4) {
                s.topMargin = Unit(word(d)) * s.unit;
                s.bottomMargin = Unit(word(d + 2)) * s.unit;
                if (s.topMargin >= s.formLength)
                    s.topMargin = 0;
                if (s.y < s.topMargin)
                    s.y = s.topMargin;
            }
            break;
        case 'V':
            if (len >= 2) {
                flushRun();
                // Below the bottom margin the sheet is ejected: the next
                // one begins at its top.
                const Unit y = s.topMargin + Unit(word(d)) * s.unit;
                if (y < s.bottom())
                    s.y = y;
                else
                    newSheet();
            }
            break;
        case 'v':
            if (len >= 2) {
                flushRun();
                s.y = qMax(s.topMargin, s.y + Unit(qint16(word(d))) * s.unit);
                if (s.y >= s.bottom())
                    newSheet();
            }
            break;
        case '$':
            if (len >= 2) {
                flushRun();
                s.x = qMin(s.leftMargin + Unit(word(d)) * (s.unitAcross > 0 ? s.unitAcross : 6), s.rightMargin);
            }
            break;
        case 't':
            if (len >= 3)
                s.tables[d[0] & 3] = tableOf(d[1], d[2]);
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
    s.verticalTabCount.fill(0);
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
            s.unit = s.unitAcross = Unit(m) * 3 / 5;
        return;
    }
    if (len < 5)
        return;
    const int base = int(word(d + 3));
    if (base != 1440 && base != 2880)
        return;
    const auto unitOf = [base](int n) { return Unit(std::lround(double(n) * UnitsPerInch / base)); };
    for (int i = 0; i < 3; ++i) {
        if (d[i] == 0 || base % d[i] != 0 || unitOf(d[i]) < 1)
            return;
    }
    s.unit = unitOf(d[1]);
    s.unitAcross = unitOf(d[2]);
}

void EscpInterpreter::defineCharacters(const uchar *p, qsizetype n)
{
    // ESC & NUL n m, in the form the tokenizer cut it: this printer's.
    if (n < 3 || p[0] != 0 || p[2] < p[1])
        return;
    auto chars = std::make_shared<DownloadedCharacters>(
        m_state.downloaded ? *m_state.downloaded : DownloadedCharacters());
    const bool nine = m_fine == 10;
    qsizetype q = 3;
    for (int c = p[1]; c <= p[2]; ++c) {
        const qsizetype size = nine ? 12 : q + 1 < n ? 3 + 3 * qsizetype(p[q + 1]) : n;
        if (q + size > n)
            break;
        chars->at[size_t(c)] = (p + q) - m_data;
        chars->pins[size_t(c)] = nine ? 9 : 24;
        q += size;
    }
    m_state.downloaded = std::move(chars);
}

void EscpInterpreter::barcode(const uchar *d, qsizetype len, qsizetype offset)
{
    // ESC ( B n k m s v1 v2 c data: module width in dots (1/180 in on 24
    // pins, 1/120 on 9) and bar length (1/180 in, 1/72 in).
    if (len < 7)
        return;
    PrinterState &s = m_state;
    const bool nine = m_fine == 10;
    const int dpiX = nine ? 240 : 360; // half dots

    const int dpiY = nine ? 72 : 180;
    const int module = d[1];
    if (module < 2 || module > 6)
        return;
    const int length = int(word(d + 3));
    const QByteArrayView data(reinterpret_cast<const char *>(d + 6), len - 6);
    const int adjust = qint8(d[2]);
    if (adjust < -3 || adjust > 3)
        return;
    // The printer draws no bar code that does not fit before the right margin.
    const int room = int(qMax<qint64>(0, qint64(s.rightMargin - s.x) * dpiX / UnitsPerInch));
    const bool pixels = m_sheet != nullptr && !m_sheet->overBudget;
    EscpBarcode::Bars bars = EscpBarcode::draw(d[0], data, module, adjust, length, dpiY, d[5] & 1, room, pixels, nullptr);
    if (bars.width <= 0)
        return;
    flushRun();
    const Unit width = Unit(qint64(bars.width) * UnitsPerInch / dpiX);
    if (s.x + width > s.rightMargin)
        return;
    const QString readable = bars.readable;
    s.sheetInked = true;
    if (m_sheet) {
        // The bars count against the sheet's picture budget as any picture does.
        const qint64 bytes = Printed::pictureCost(bars.width, bars.height);
        if (bars.image.isNull() || m_sheet->pictureBytes + bytes > Printed::SheetBudget) {
            m_sheet->overBudget = true;
            s.x += width;
            return;
        }
        m_sheet->pictureBytes += bytes;
        Printed::Picture picture;
        picture.x = s.x;
        picture.top = s.y;
        picture.dpiX = dpiX;
        picture.dpiY = dpiY;
        picture.image = std::move(bars.image);
        picture.sourceOffset = offset;
        const Unit height = picture.lower() - picture.upper();
        m_sheet->pictures.append(std::move(picture));
        if (!(d[5] & 2) && !readable.isEmpty()) {
            // The human-readable line under the bars (control flag bit 1
            // clear), in OCR-B: EAN and UPC digits in their groups, just
            // under the data bars, the other kinds centred under the bars.
            const Unit halfDot = UnitsPerInch / dpiX;
            const Unit dataBottom = bars.dataBottom > 0 && bars.dataBottom < bars.height
                ? Unit(qint64(bars.dataBottom) * UnitsPerInch / dpiY) : height;
            for (const EscpBarcode::ReadableGroup &group : EscpBarcode::readableGroups(d[0], bars, module)) {
                Printed::TextRun line;
                line.style = s.style();
                line.style.letterQuality = true;
                line.style.typeface = OcrBTypeface;
                const Unit span = Unit(group.width) * halfDot;
                line.style.advance = qMin(line.style.advance, span / Unit(group.text.size()));
                line.x = s.x + Unit(group.x) * halfDot + (span - line.style.advance * Unit(group.text.size())) / 2;
                line.baseline = s.y + dataBottom + 240;
                line.text = group.text;
                line.sourceOffset = offset;
                keepRun(line);
            }
        }
    }
    s.x += width;
}

void EscpInterpreter::picture(const EscpToken &t)
{
    flushRun();
    PrinterState &s = m_state;
    const qsizetype end = t.end();
    const uchar *p = m_data + t.offset;
    Escp::DotImage image;
    // A sheet over its memory budget decodes no more pictures.
    const bool draw = m_sheet != nullptr && !m_sheet->overBudget;
    if (t.code == '.') {
        image = Escp::rasterImage(p, t.length, draw);
    } else {
        int m = 0;
        qsizetype header = 0;
        if (t.code == '*') {
            m = p[2];
            header = 5;
        } else if (t.code == '^') {
            m = p[2] ? 1 : 0;
            header = 5;
        } else {
            static const char Letters[] = "KLYZ";
            m = s.imageModes[std::strchr(Letters, t.code) - Letters];
            header = 4;
        }
        const qsizetype columns = word(p + header - 2);
        const qsizetype data = end - (t.offset + header);
        image = t.code == '^' ? Escp::ninePinImage(p + header, data, columns, m, draw)
                              : Escp::columnImage(p + header, data, columns, m, draw);
    }
    if (image.width <= 0 || image.dpiX <= 0)
        return;
    // The printer drops the dots past the right margin.
    const qint64 room = qint64(s.rightMargin - s.x) * image.dpiX / UnitsPerInch;
    if (room <= 0)
        return;
    const int width = int(qMin<qint64>(image.width, room));
    const Unit left = s.x;
    s.x += Unit(qint64(width) * UnitsPerInch / image.dpiX);
    s.sheetInked = true;
    if (!m_sheet)
        return;
    for (Escp::DotPiece &piece : image.pieces) {
        if (piece.column >= width)
            continue;
        if (piece.column + piece.image.width() > width)
            piece.image = piece.image.copy(0, 0, width - piece.column, piece.image.height());
        // The dots and what keeping a picture costs besides.
        const qint64 bytes = Printed::pictureCost(piece.image.width(), piece.image.height());
        if (m_sheet->pictureBytes + bytes > Printed::SheetBudget) {
            m_sheet->overBudget = true;
            return;
        }
        m_sheet->pictureBytes += bytes;
        Printed::Picture picture;
        picture.x = left;
        picture.top = s.y;
        picture.dpiX = image.dpiX;
        picture.dpiY = image.dpiY;
        picture.column = piece.column;
        picture.row = piece.row;
        picture.image = std::move(piece.image);
        picture.sourceOffset = t.offset;
        m_sheet->pictures.append(std::move(picture));
    }
}
