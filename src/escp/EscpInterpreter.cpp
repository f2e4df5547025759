#include "escp/EscpInterpreter.h"

#include "escp/EscpCommands.h"
#include "escp/EscpPictures.h"

#include <cstring>

using namespace Escp;
using Printed::Unit;
using Printed::UnitsPerInch;

namespace {

qsizetype word(const uchar *p) { return p[0] + 256 * qsizetype(p[1]); }

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

} // namespace

EscpInterpreter::EscpInterpreter(QByteArrayView bytes, const PrinterSetup &setup,
    const PrinterState &state, qsizetype from)
    : m_data(reinterpret_cast<const uchar *>(bytes.data()))
    , m_size(bytes.size())
    , m_setup(setup)
    , m_state(state)
    , m_tokens(bytes, from)
    , m_pos(from)
    , m_fine(setup.pins == 24 ? 12 : 10)
    , m_nextReport(from + ReportEvery)
{
}

bool EscpInterpreter::runSheet(Printed::Sheet *sheet)
{
    m_sheet = sheet;
    m_sheetEnded = false;
    m_resume = -1;
    m_run = Printed::TextRun();
    m_tokens.seek(m_pos);
    for (;;) {
        const EscpToken t = m_tokens.next();
        if (t.kind == EscpToken::End)
            break;
        switch (t.kind) {
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
    m_state.y = m_state.topMargin;
    m_state.x = m_state.leftMargin;
    m_state.sheetInked = false;
    m_state.fedToTop = false;
}

void EscpInterpreter::lineFeed(Unit by)
{
    flushRun();
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
        m_sheet->runs.append(m_run);
    m_run.text.clear();
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

void EscpInterpreter::text(const uchar *p, qsizetype n, qsizetype offset)
{
    rebuildTable();
    Printed::TextStyle look = m_state.style();
    Unit baseline = m_state.y + 240;
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = p[i];
        if (isControl(b))
            continue; // the ESC of a command cut short by the end of the file
        if (m_state.x + look.advance > m_state.rightMargin && m_state.x > m_state.leftMargin) {
            // Past the right margin: the printer ends the line and goes on.
            lineFeed(m_state.lineSpacing);
            if (m_sheetEnded) {
                m_resume = offset + i;
                return;
            }
            look = m_state.style();
            baseline = m_state.y + 240;
        }
        if (b != ' ')
            m_state.sheetInked = true;
        if (m_sheet) {
            // The italic table prints its upper half as italic letters.
            Printed::TextStyle charLook = look;
            if (m_italicTable && b >= 0x80)
                charLook.italic = true;
            const bool joins = !m_run.text.isEmpty() && m_run.baseline == baseline && m_run.style == charLook
                && m_run.x + Unit(m_run.text.size()) * look.advance == m_state.x;
            if (!joins) {
                flushRun();
                m_run.x = m_state.x;
                m_run.baseline = baseline;
                m_run.style = charLook;
                m_run.sourceOffset = offset + i;
            }
            m_run.text.append(QChar(m_table[b]));
        }
        m_state.x += look.advance;
    }
}

void EscpInterpreter::control(uchar c)
{
    PrinterState &s = m_state;
    switch (c) {
    case CR:
        flushRun();
        s.x = s.leftMargin;
        break;
    case LF:
        lineFeed(s.lineSpacing);
        break;
    case VT: {
        if (s.verticalTabCount == 0) {
            lineFeed(s.lineSpacing);
            break;
        }
        // To the next vertical tab below the head, else to the next form.
        Unit target = -1;
        for (int i = 0; i < s.verticalTabCount && target < 0; ++i) {
            if (s.verticalTabs[i] > s.y)
                target = s.verticalTabs[i];
        }
        if (target < 0 || target >= s.bottom()) {
            newSheet();
        } else {
            lineFeed(target - s.y);
        }
        break;
    }
    case FF:
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
        PrinterState plain = s;
        plain.doubleWidth = plain.doubleWidthLine = false;
        const Unit column = plain.advance();
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
    case '-': s.underline = on(n0) || n0 == 2 || n0 == '2'; break;
    case 'W': s.doubleWidth = on(n0); break;
    case 'w': s.doubleHeight = on(n0); break;
    case 'S':
        s.superscript = !(n0 & 1);
        s.subscript = n0 & 1;
        break;
    case 'T': s.superscript = s.subscript = false; break;
    case 'P': s.cpi = 10, s.hmi = 0; break;
    case 'M': s.cpi = 12, s.hmi = 0; break;
    case 'g': s.cpi = 15, s.hmi = 0; break;
    case 'p': s.proportional = on(n0), s.hmi = 0; break;
    case 'c': // at most 4 inches: the printer ignores more
        if (word(p) <= 1440)
            s.hmi = Unit(word(p)) * 6;
        break;
    case ' ': s.extraSpace = Unit(n0) * (m_fine == 10 ? 18 : 12); break;
    case SO: s.doubleWidthLine = true; break;
    case SI: s.condensed = true; break;
    case '!':
        s.cpi = (n0 & 1) ? 12 : 10;
        s.hmi = 0;
        s.proportional = n0 & 2;
        s.condensed = n0 & 4;
        s.bold = n0 & 8;
        s.doubleStrike = n0 & 16;
        s.doubleWidth = n0 & 32;
        s.italic = n0 & 64;
        s.underline = n0 & 128;
        break;
    case 'X':
        if (n0 == 1)
            s.proportional = true;
        else if (n0 >= 5)
            s.proportional = false, s.hmi = Unit(n0) * 6;
        break;
    case '0': s.lineSpacing = UnitsPerInch / 8; break;
    case '1': s.lineSpacing = 7 * UnitsPerInch / 72; break;
    case '2': s.lineSpacing = UnitsPerInch / 6; break;
    case '3': s.lineSpacing = Unit(n0) * m_fine; break;
    case 'A': s.lineSpacing = Unit(n0) * m_fine * 3; break;
    case '+': s.lineSpacing = Unit(n0) * 6; break;
    case 'J':
        flushRun();
        s.y += Unit(n0) * m_fine;
        if (s.y >= s.bottom())
            newSheet();
        break;
    case 'j':
        flushRun();
        s.y = qMax(s.topMargin, s.y - Unit(n0) * m_fine);
        break;
    case 'C':
        if (n == 1 && n0 > 0)
            s.formLength = Unit(n0) * s.lineSpacing;
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
        const Unit x = s.leftMargin + Unit(word(p)) * 36;
        if (x <= s.rightMargin)
            flushRun(), s.x = x;
        break;
    }
    case '\\': { // ignored outside the margins
        const Unit x = s.x + Unit(qint16(word(p))) * (m_fine == 10 ? 18 : 12);
        if (x >= s.leftMargin && x <= s.rightMargin)
            flushRun(), s.x = x;
        break;
    }
    case 'D': {
        PrinterState plain = s;
        plain.doubleWidth = plain.doubleWidthLine = false;
        const Unit column = plain.advance();
        s.tabCount = 0;
        for (qsizetype i = 0; i < n && p[i] != 0 && s.tabCount < 32; ++i)
            s.tabs[s.tabCount++] = s.leftMargin + Unit(p[i]) * column;
        break;
    }
    case 'B':
        s.verticalTabCount = 0;
        for (qsizetype i = 0; i < n && p[i] != 0 && s.verticalTabCount < 16; ++i)
            s.verticalTabs[s.verticalTabCount++] = Unit(p[i]) * s.lineSpacing;
        break;
    case 'e':
        if (n0 == 0 && p[1] > 0) {
            const Unit step = Unit(p[1]) * s.advance();
            s.tabCount = 0;
            for (Unit x = s.leftMargin + step; x < s.rightMargin && s.tabCount < 32; x += step)
                s.tabs[s.tabCount++] = x;
        }
        break;
    case 'f':
        if (n0 == 0) {
            flushRun();
            s.x = qMin(s.x + Unit(p[1]) * s.advance(), s.rightMargin);
        } else {
            for (int i = 0; i < p[1] && !m_sheetEnded; ++i)
                lineFeed(s.lineSpacing);
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
            if (len >= 1 && d[0] > 0)
                s.unit = qMax<Unit>(1, Unit(d[0]) * 3 / 5);
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
                const Unit y = s.topMargin + Unit(word(d)) * s.unit;
                if (y < s.bottom())
                    s.y = y;
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
                s.x = qMin(s.leftMargin + Unit(word(d)) * s.unit, s.rightMargin);
            }
            break;
        case 't':
            if (len >= 3)
                s.tables[d[0] & 3] = tableOf(d[1], d[2]);
            break;
        case '-':
            if (len >= 3 && d[1] == 1)
                s.underline = d[2] != 0;
            break;
        case '^': // characters printed from their codes, controls included
            text(d, len, t.offset + 5);
            break;
        default: // quality, weaving, graphics mode, bar codes, remote mode ...
            break;
        }
        break;
    }
    default: // no visible effect: the command and its parameters are hidden
        break;
    }
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
        const qint64 bytes = piece.image.sizeInBytes() + qint64(sizeof(Printed::Picture)) + 64;
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
