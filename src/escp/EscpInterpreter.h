#pragma once

#include "escp/EscpTokenizer.h"
#include "escp/PrinterState.h"

#include <functional>

namespace Escp {
struct DotPiece;
}

// Runs print file bytes through the printer's state, sheet by sheet: where
// each character and picture lands and how it looks. Without a sheet to fill
// it only follows the state (the one pass that indexes a document).
class EscpInterpreter
{
public:
    EscpInterpreter(QByteArrayView bytes, const PrinterSetup &setup, const PrinterState &state,
        qsizetype from);

    // Interprets up to the end of the current sheet (a form feed, or a line
    // feed past the form's bottom) or of the bytes. True when a new sheet
    // began: state() and position() are then where it starts. The sheet, if
    // given, receives the runs and pictures.
    bool runSheet(Printed::Sheet *sheet);

    const PrinterState &state() const { return m_state; }
    // The paper of the sheet the last runSheet() read: a form length, or
    // more when the form was set to begin below the sheet's top.
    Printed::Unit sheetLength() const { return m_sheetEnded ? m_sheetLength : m_state.formEnd(); }
    qsizetype position() const { return m_pos; }
    // Told the offset now and then during runSheet; false from it stops.
    std::function<bool(qsizetype)> progress;
    bool stopped() const { return m_stopped; }

private:
    // `controls`: the bytes are printed as characters, control codes too.
    void text(const uchar *p, qsizetype n, qsizetype offset, bool controls = false);
    void userCharacter(uchar code);
    // `count` characters of one look at the carriage join the current run
    // or begin a new one.
    void addToRun(const Printed::TextStyle &style, Printed::Unit baseline, qsizetype sourceOffset, qsizetype count);
    // While only counting: the `left` characters from `offset` go on past
    // the right margin; the lines they fill within this sheet are passed
    // over. The characters taken.
    qsizetype wrapWholeLines(const Printed::TextStyle &look, qsizetype left, qsizetype offset);
    Printed::Unit proportionalAdvance(char16_t c) const;
    void cancelLine();
    // The step of ESC SP and ESC \ (before ESC ( U sets one).
    Printed::Unit fineStep() const;
    Printed::Unit tabColumn() const;
    void setVerticalTabs(quint8 channel, const uchar *p, qsizetype n);
    void deleteCharacter();
    void setUnit(const uchar *d, qsizetype len);
    void defineCharacters(const uchar *p, qsizetype n);
    void barcode(const uchar *d, qsizetype len, qsizetype offset);
    // A line ends (CR, LF, FF ...): its text is justified as ESC a asks.
    void endLine();
    void carriageReturn();
    void spreadLine(qsizetype first);
    // ESC a 3: the characters of the word the right margin cuts, the `i`th
    // character of a text token, `next`, reached it, that go over to the
    // next line whole; 0 when none do.
    qsizetype carriedWord(qsizetype i, uchar next) const;
    // The `n` characters at `p`, each `advance` wide, have just been
    // printed: the word the carriage stands at the end of follows them.
    void followWord(const uchar *p, qsizetype n, Printed::Unit advance);
    // A tab or a move ends the word there, whether or not the carriage
    // moved (a tab at the margin does not); the next one begins `at`.
    void wordBreak(Printed::Unit at);
    // Takes the last `count` characters of the line's runs off the sheet.
    QVector<Printed::TextRun> takeLineTail(qsizetype count);
    void control(uchar c);
    void command(const EscpToken &t);
    // ESC ( G: the printer takes only raster graphics and the commands
    // that place them; true when it takes this token.
    bool takenInGraphicsMode(const EscpToken &t) const;
    void enterGraphicsMode(const uchar *d, qsizetype len);
    void picture(const EscpToken &t);
    // The rows of a picture's piece at or past the form's end, kept for the
    // top of the next sheet.
    void carryOver(const Escp::DotPiece &piece, Printed::Unit left, int dpiX, int dpiY, qsizetype offset);
    void lineFeed(Printed::Unit by);
    void newSheet();
    // A form length set away from the top of form: the head's line becomes
    // the top of form, as Epson's references say, and the sheet ends a form
    // length below it.
    void setFormTopHere();
    // The top and bottom margins (0: none) below the top of form.
    void setFormMargins(Printed::Unit top, Printed::Unit bottom);
    void flushRun();
    // Adds a run to the sheet while its budget (Printed::MostRuns) has room.
    void keepRun(const Printed::TextRun &run);
    void rebuildTable();
    // Whether codes 128-159 are control codes (print nothing) in the table
    // in use.
    bool upperControlCodes() const;

    const uchar *m_data;
    qsizetype m_size;
    PrinterSetup m_setup;
    PrinterState m_state;
    EscpTokenizer m_tokens;
    qsizetype m_pos;
    Printed::Unit m_fine; // the line spacing step: 1/216 in on 9 pins, 1/180 on 24
    static constexpr qsizetype ReportEvery = 4 << 20; // bytes between calls of progress
    qsizetype m_nextReport;
    Printed::Sheet *m_sheet = nullptr;
    bool m_sheetEnded = false;
    Printed::Unit m_sheetLength = 0; // of the sheet that ended
    qsizetype m_resume = -1; // a sheet ended inside a text token: the next starts here
    bool m_stopped = false;
    Printed::TextRun m_run;
    // The characters in m_run, counted also while the sheets are only
    // counted and its text is not kept: DEL takes back the last of them.
    qsizetype m_runChars = 0;
    qsizetype m_lineRuns = 0; // the sheet's runs before the current line's
    bool m_wrapping = false;  // the line ends at the right margin
    // The word the carriage stands at the end of, for ESC a 3: its width
    // and characters since the line's last blank. It counts only while the
    // carriage stands where its last character left it.
    struct Word {
        Printed::Unit width = 0;
        qsizetype chars = 0;
        Printed::Unit endX = -1, y = -1;
        bool afterBlank = false;
    } m_word;
    char16_t m_table[256];
    quint32 m_tableKey = ~0u;
    bool m_italicTable = false;
    bool m_userTable = false; // ESC t 2's table of downloaded characters
};
