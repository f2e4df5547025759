// Full justification (ESC a 3): the printer spreads a line the right margin
// ended over the margins, and carries the word the margin cut to the next
// line whole. The words are followed as the characters are printed.
#include "escp/EscpInterpreter.h"

using namespace Escp;
using Printed::Unit;

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
    // A line shorter than three quarters of the margins stays flush left.
    if (blanks <= 0 || room <= 0 || qint64(right - m_state.leftMargin) * 4 <= qint64(m_state.rightMargin - m_state.leftMargin) * 3)
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

qsizetype EscpInterpreter::carriedWord(qsizetype i, uchar next) const
{
    // The printer breaks a justified line at its last blank. A word that
    // does not begin in this text token stays where it is when the line
    // feed ends the sheet: the next sheet can begin only within the token.
    // (A blank that the margin meets ends the word before it, which stays.)
    const PrinterState &s = m_state;
    if (s.justify != 3 || next == ' ' || !m_word.afterBlank || m_word.chars == 0 || m_word.endX != s.x || m_word.y != s.y
        || s.doubleWidthLine)
        return 0;
    const bool endsSheet = qint64(s.y) + s.lineSpacing >= s.bottom();
    return m_word.chars <= i || !endsSheet ? m_word.chars : 0;
}

void EscpInterpreter::wordBreak(Unit at)
{
    // After a gap, as after a blank, when the line has printed before.
    m_word = Word{0, 0, at, m_state.y, m_word.endX >= 0 && m_word.y == m_state.y};
}

void EscpInterpreter::followWord(const uchar *p, qsizetype n, Unit advance)
{
    // Characters printed away from where the word ended (the carriage was
    // moved) begin a word of their own.
    const Unit start = m_state.x - Unit(n) * advance;
    if (m_word.endX != start || m_word.y != m_state.y)
        wordBreak(start);
    qsizetype after = 0; // the characters after the last blank among them
    while (after < n && p[n - 1 - after] != ' ')
        ++after;
    if (after == n) {
        m_word.width += Unit(n) * advance;
        m_word.chars += n;
    } else {
        m_word = Word{Unit(after) * advance, after, 0, 0, true};
    }
    m_word.endX = m_state.x;
    m_word.y = m_state.y;
}

QVector<Printed::TextRun> EscpInterpreter::takeLineTail(qsizetype count)
{
    flushRun();
    QVector<Printed::TextRun> tail;
    QVector<Printed::TextRun> &runs = m_sheet->runs;
    while (count > 0 && runs.size() > m_lineRuns) {
        Printed::TextRun &r = runs.last();
        const qsizetype take = qMin<qsizetype>(count, r.text.size());
        Printed::TextRun piece = r;
        piece.text = r.text.right(take);
        piece.sourceOffset = r.sourceOffset + r.text.size() - take;
        r.text.chop(take);
        if (r.text.isEmpty())
            runs.removeLast();
        tail.prepend(piece);
        count -= take;
    }
    return tail;
}
