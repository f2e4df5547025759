#include "escp/EscpInterpreter.h"

#include "escp/EscpCommands.h"
#include "escp/PlainRun.h"

#include <cstring>
#include <iterator>

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
    case PrinterState::Pc857: return CodePage::Id::Pc857;
    case PrinterState::Pc858: return CodePage::Id::Pc858;
    case PrinterState::Pc860: return CodePage::Id::Pc860;
    case PrinterState::Pc863: return CodePage::Id::Pc863;
    case PrinterState::Pc865: return CodePage::Id::Pc865;
    case PrinterState::Kamenicky: return CodePage::Id::Kamenicky;
    case PrinterState::Latin1: return CodePage::Id::Latin1;
    default: return chosen;
    }
}

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
    , m_tokens(bytes, from, PrinterModels::pins(setup.model) == 24 ? 24 : 9, state.superscript || state.subscript,
          state.imageModes)
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
    m_word = Word();
    m_tokens.seek(m_pos);
    if (m_state.carried) {
        // The rows the last sheet's pictures printed past its end: ink on
        // this sheet, which is a sheet then even when nothing follows them.
        m_state.sheetInked = m_state.sheetInked || !m_state.carried->isEmpty();
        for (const Printed::Picture &picture : *m_state.carried) {
            const qint64 bytes = Printed::pictureCost(picture.image.width(), picture.image.height());
            if (!m_sheet || m_sheet->pictureBytes + bytes > Printed::SheetBudget)
                continue;
            m_sheet->pictureBytes += bytes;
            m_sheet->pictures.append(picture);
        }
        m_state.carried.reset();
    }
    while (m_state.feedsLeft > 0) {
        --m_state.feedsLeft;
        lineFeed(m_state.lineSpacing);
        if (m_sheetEnded)
            return true;
    }
    for (;;) {
        const EscpToken t = m_tokens.next();
        if (t.kind == EscpToken::End)
            break;
        // In graphics mode text and the other commands are read and dropped.
        const EscpToken::Kind kind = m_state.graphicsMode && !takenInGraphicsMode(t) ? EscpToken::End : t.kind;
        if (kind != t.kind) { // an ESC S, ESC T or ESC ? dropped: the tokenizer followed it
            m_tokens.setSuperSubscript(m_state.superscript || m_state.subscript);
            m_tokens.setImageModes(m_state.imageModes);
        }
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
        case EscpToken::Unfinished: // nothing of it prints
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
    m_word = Word();
    m_sheetLength = m_state.formEnd();
    m_state.formTop = 0;
    m_state.y = m_state.topMargin;
    m_state.x = m_state.leftMargin;
    m_state.doubleWidthLine = false; // SO ends with its sheet
    m_state.doubleHeightFrom = -1;
    m_state.sheetInked = false;
    m_state.fedToTop = false;
}

void EscpInterpreter::setFormTopHere()
{
    if (m_state.y > m_state.top())
        m_state.formTop = m_state.y;
}

void EscpInterpreter::setFormMargins(Unit top, Unit bottom)
{
    // A head waiting at the top margin, nothing fed below it yet, waits at
    // the new one (the first line had stayed at a margin taken away, past
    // the end of a shorter form).
    PrinterState &s = m_state;
    const bool atTop = s.y <= s.top();
    s.topMargin = top;
    s.bottomMargin = bottom;
    if (atTop)
        s.y = s.top();
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

void EscpInterpreter::carriageReturn()
{
    endLine();
    m_state.x = m_state.leftMargin;
    if (m_fine == 10) // 9 pins: a carriage return ends SO's double width
        m_state.doubleWidthLine = false;
}

void EscpInterpreter::endLine()
{
    flushRun();
    m_word = Word();
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
    m_userTable = table == PrinterState::UserDefined;
    const CodePage::Id id = codePageOf(table, m_setup.codePage);
    std::memcpy(m_table, CodePage::table(id), sizeof m_table);
    const char16_t *set = nullptr;
    if (m_state.national > 0 && m_state.national < std::size(NationalSets))
        set = NationalSets[m_state.national];
    else if (m_state.national == 64)
        set = LegalSet;
    if (set) {
        for (int i = 0; i < 12; ++i)
            m_table[NationalPositions[i]] = set[i];
    }
    if (table == PrinterState::Italic || table == PrinterState::UserDefined) {
        // The italic table repeats the lower half above it, the national
        // letters too (at A3, A4, C0, DB-DE, E0 and FB-FE); so does the
        // table of downloaded characters where none is defined.
        for (int b = 0x80; b < 0x100; ++b)
            m_table[b] = m_table[b - 0x80];
    }
}

bool EscpInterpreter::upperControlCodes() const
{
    // In the italic table unless a 9-pin printer was told ESC 6 (ESC/P 2's
    // and the 24-pin printers' ESC 6 does nothing there); in the graphics
    // tables after ESC 7.
    if (m_state.printControls) // ESC I 1 (9 pins): codes 128-159 print as well
        return false;
    if (m_italicTable)
        return !(m_fine == 10 && m_state.printUpperControls == 1);
    return m_state.printUpperControls == 0;
}

void EscpInterpreter::text(const uchar *p, qsizetype n, qsizetype offset, bool controls)
{
    rebuildTable();
    // Codes 128-159 as control codes print nothing; the italic table's
    // upper half prints its own look, the downloaded table's downloaded
    // characters. Each stops a plain run there.
    const bool upperControls = upperControlCodes();
    const bool upperStops = m_italicTable || m_userTable || upperControls;
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
            // A text token holds no control code, so once the sheet has ink
            // and no upper half stops a run, what fits is the run, unread.
            PlainRun run;
            if (fit > 0 && !upperStops && m_state.sheetInked && !isControl(p[i]))
                run.length = fit;
            else if (fit > 0)
                run = plainRun(p + i, fit, upperStops);
            if (run.length > 0) {
                addToRun(look, baseline, offset + i, run.length);
                m_state.sheetInked = m_state.sheetInked || run.inked;
                m_state.x += Unit(run.length) * look.advance;
                if (m_state.justify == 3) // the word the run ends in, as character by character
                    followWord(p + i, run.length, look.advance);
                i += run.length;
                if (i == n)
                    break;
            }
            // (Under ESC a 3 the lines are not all alike: a cut word goes over.)
            if (m_state.sheetInked && !upperStops && m_state.justify != 3 && !m_state.doubleWidthLine && !isControl(p[i])
                && m_state.x > m_state.leftMargin && qint64(m_state.x) + look.advance > m_state.rightMargin) {
                i += wrapWholeLines(look, n - i, offset + i);
                baseline = m_state.y + 240;
                if (i == n)
                    break;
            }
        }
        uchar b = p[i];
        if (m_state.topBit >= 0 && !controls)
            b = uchar((b & 0x7F) | (m_state.topBit << 7));
        if (isControl(b) && !controls)
            continue; // (a text token holds none; a control prints nothing)
        if (upperControls && b >= 0x80 && b < 0xA0 && !controls)
            continue;
        // ESC t 2: 128-255 print the downloaded characters of 0-127 (ESC % 1
        // selects them); where none is defined, 160-255 repeat the lower
        // half upright and 128-159 print nothing.
        const uchar code = m_userTable && b >= 0x80 ? uchar(b - 0x80) : b;
        const bool downloaded = m_state.userCharacters && m_state.downloaded && m_state.downloaded->at[code] >= 0;
        if (m_userTable && b >= 0x80 && b < 0xA0 && !downloaded && !controls)
            continue;
        if (downloaded) {
            userCharacter(code);
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
            const bool doubledLine = m_state.doubleWidthLine;
            const qsizetype carried = carriedWord(i, b);
            const Unit carriedWidth = m_word.width;
            const Unit lineY = m_state.y;
            const QVector<Printed::TextRun> word = carried > 0 && m_sheet ? takeLineTail(carried) : QVector<Printed::TextRun>();
            m_wrapping = true;
            lineFeed(m_state.lineSpacing);
            m_wrapping = false;
            if (m_sheetEnded) {
                m_resume = offset + i - carried;
                return;
            }
            if (carried > 0) {
                // (The last piece is the run the line goes on with.)
                for (Printed::TextRun piece : word) {
                    piece.x = m_state.x;
                    piece.baseline += m_state.y - lineY;
                    flushRun();
                    m_run = piece;
                    m_runChars = piece.text.size();
                    m_state.x += Unit(piece.text.size()) * piece.style.advance;
                }
                m_state.x = m_state.leftMargin + carriedWidth;
                m_word = Word{carriedWidth, carried, m_state.x, m_state.y, false};
            }
            // Of the look a line feed changes only SO's double width, which
            // ends with its line. (Made again only then: a look copied just
            // after it is made field by field waits for its stores, and
            // a report's wide lines wrap many times a page.)
            if (doubledLine) {
                look = m_state.style();
                if (proportional)
                    look.advance = proportionalAdvance(m_table[b]);
            }
            baseline = m_state.y + 240;
        }
        if (b != ' ')
            m_state.sheetInked = true;
        // The italic table prints its upper half as italic letters. (The
        // look is copied only then, for the same reason.)
        if (m_italicTable && b >= 0x80 && !look.italic) {
            Printed::TextStyle charLook = look;
            charLook.italic = true;
            addToRun(charLook, baseline, offset + i, 1);
        } else {
            addToRun(look, baseline, offset + i, 1);
        }
        if (m_sheet) {
            const char16_t c = m_table[b];
            m_run.text.append(QChar(c < 0x20 ? ControlGlyphs[c] : c == 0x7F ? u'\u2302' : c));
        }
        m_state.x += look.advance;
        followWord(&b, 1, look.advance);
    }
}

qsizetype EscpInterpreter::wrapWholeLines(const Printed::TextStyle &look, qsizetype left, qsizetype offset)
{
    // Each line the right margin ends is a line feed (the sheet has ink, no
    // text is kept, SO's double width is over) and the characters that fit
    // between the margins; as many as keep to this sheet are passed over at
    // once. The line feed that ends the sheet is left to the caller.
    PrinterState &s = m_state;
    const qint64 perLine = qMax<qint64>(1, (qint64(s.rightMargin) - s.leftMargin) / look.advance);
    qint64 wraps = (qint64(left) + perLine - 1) / perLine;
    // (A form made shorter than where the head stands ends the sheet at the
    // next line feed, even one of no spacing.)
    const qint64 below = qint64(s.bottom()) - 1 - s.y;
    if (below < 0)
        return 0;
    if (s.lineSpacing > 0)
        wraps = qMin(wraps, below / s.lineSpacing);
    if (wraps <= 0)
        return 0;
    const qint64 before = (wraps - 1) * perLine; // the characters of the lines passed over whole
    const qint64 onLast = qMin<qint64>(perLine, left - before);
    s.y += Unit(wraps * s.lineSpacing);
    s.x = s.leftMargin + Unit(onLast) * look.advance;
    m_lineRuns = 0;
    m_run.text.clear();
    m_run.x = s.leftMargin;
    m_run.baseline = s.y + 240;
    m_run.style = look;
    m_run.sourceOffset = offset + before;
    m_runChars = onLast;
    return before + onLast;
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
    // Condensed proportional letters are half as wide on 24 pins (ESC/P 2's
    // SI); a 9-pin printer does not condense them (proportional wins).
    if (s.condensedNow() && m_fine == 12)
        a = a / 2;
    a += s.extraSpace;
    if (s.doubleWidth || s.doubleWidthLine)
        a *= 2;
    return a;
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

Unit EscpInterpreter::fineStep() const
{
    // 1/120 in, or on 24 pins in letter quality or proportional 1/180 in.
    const bool fine = m_fine == 12 && (m_state.letterQuality || m_state.proportional);
    return fine ? UnitsPerInch / 180 : UnitsPerInch / 120;
}

void EscpInterpreter::cancelLine()
{
    // CAN: the text not yet printed on this line is dropped.
    m_word = Word();
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
        carriageReturn();
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
        // None set since ESC @: a line feed; all cleared (ESC B NUL): a
        // carriage return alone, as Epson's reference says.
        if (s.verticalTabCount[s.verticalChannel] < 0) {
            lineFeed(s.lineSpacing);
            break;
        }
        if (s.verticalTabCount[s.verticalChannel] == 0) {
            carriageReturn();
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
    // HT and BS act only under left justification (ESC a 0), as Epson's
    // references say: a centred or right-aligned line is one run.
    case BS: {
        if (s.justify != 0)
            break;
        flushRun();
        s.x = qMax(s.leftMargin, s.x - s.advance());
        break;
    }
    case HT: {
        if (s.justify != 0)
            break;
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
        wordBreak(s.x);
        break;
    }
    // SO, SI, DC2 and DC4 each end ESC c's HMI: the pitch they choose
    // takes over.
    case SO:
        s.doubleWidthLine = true;
        s.hmi = 0;
        break;
    case DC4:
        s.doubleWidthLine = false;
        s.hmi = 0;
        break;
    case SI:
        // Ignored at 15 cpi (ESC g) and in a point size ESC X chose; then
        // the HMI stays too.
        if (s.cpi != 15 && s.halfPoints == 0) {
            s.condensed = true;
            s.hmi = 0;
        }
        break;
    case DC2:
        s.condensed = false;
        s.hmi = 0;
        break;
    default: // NUL, BEL, DC1, DC3, CAN, DEL and the rest: nothing to draw
        break;
    }
}
