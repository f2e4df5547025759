#include "render/StyledPage.h"

#include "report/MarkupScanner.h"
#include "report/ReportMarkup.h"

#include <QHash>

namespace {

// A region's look over a character's: what the region sets, the rest kept.
void apply(RunLook &look, const RegionLook &region)
{
    if (region.points)
        look.points = *region.points;
    if (region.colour)
        look.colour = region.colour->rgba();
    if (region.bold)
        look.bold = true;
    if (region.underline)
        look.underline = true;
}

// The passes of printing, then the twelve-pitch pass, which only hides.
QVector<MarkupPass> printPasses()
{
    QVector<MarkupPass> passes = markupPasses(MarkupOrder::Print);
    for (const MarkupPass &pass : markupPasses(MarkupOrder::View)) {
        if (pass.tag == QLatin1String("c96"))
            passes.append(pass);
    }
    return passes;
}

// The page as the markup sees it: one character per byte, read in the code
// page, each line end (CR LF, CR or LF) one '\n'.
QString markupText(QByteArrayView page, CodePage::Id codePage)
{
    const char16_t *table = CodePage::table(codePage);
    QString text;
    text.reserve(page.size());
    const char *p = page.constData();
    const qsizetype n = page.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == '\r') {
            text += QLatin1Char('\n');
            if (i + 1 < n && p[i + 1] == '\n')
                ++i;
        } else {
            text += QChar(table[static_cast<uchar>(p[i])]);
        }
    }
    return text;
}

// What one character of the page does to its lines, the same whether they
// are built whole or streamed: a line end ends the line; what a pass hid
// and every control code (which the printer obeys) take no place; a tab
// runs to the next multiple of eight columns; bytes 0x80-0x9F without a
// glyph print as a blank column.
template <typename Lines>
void putCharacter(Lines &lines, QChar ch, bool hidden, const RunLook &look)
{
    const char16_t c = ch.unicode();
    if (c == '\n') {
        lines.endLine();
    } else if (hidden || (c < 0x20 && c != '\t') || c == 0x7F) {
        return;
    } else if (c == '\t') {
        do
            lines.put(QLatin1Char(' '), look);
        while (lines.column() % 8 != 0);
    } else {
        lines.put(c >= 0x80 && c < 0xA0 ? QChar(QLatin1Char(' ')) : ch, look);
    }
}

// The lines of a page built whole.
class LineBuilder
{
public:
    void put(QChar c, const RunLook &look)
    {
        if (m_line.isEmpty() || m_line.last().look != look)
            m_line.append({QString(), look});
        m_line.last().text += c;
        ++m_column;
    }
    int column() const { return m_column; }
    void endLine() { m_lines.append(take()); }
    // The lines, without blank lines at the end: they print nothing and
    // would only take room.
    QVector<StyledLine> finish()
    {
        m_lines.append(take());
        while (!m_lines.isEmpty() && m_lines.last().isEmpty())
            m_lines.removeLast();
        return std::exchange(m_lines, {});
    }

private:
    // The line so far, without the blanks at its end, which print nothing
    // (an underlined blank prints its underline and stays).
    StyledLine take()
    {
        while (!m_line.isEmpty() && !m_line.last().look.underline) {
            QString &tail = m_line.last().text;
            while (!tail.isEmpty() && tail.back() == QLatin1Char(' '))
                tail.chop(1);
            if (!tail.isEmpty())
                break;
            m_line.removeLast();
        }
        m_column = 0;
        return std::exchange(m_line, StyledLine());
    }

    QVector<StyledLine> m_lines;
    StyledLine m_line;
    int m_column = 0;
};

// The lines of a page told as they are found (see StyledPage::stream). The
// blanks at the end of a line and the empty lines at the end of the page are
// held back as counts until something printed follows them.
class LineStream
{
public:
    using Put = std::function<void(QStringView, const RunLook &)>;
    LineStream(const Put &put, const std::function<void()> &endLine)
        : m_put(put)
        , m_endLine(endLine)
    { }

    void put(QChar c, const RunLook &look)
    {
        ++m_column;
        if (c == QLatin1Char(' ') && !look.underline) {
            if (m_blanks.isEmpty() || m_blanks.last().first != look)
                m_blanks.append({look, 0});
            ++m_blanks.last().second;
            return;
        }
        for (; m_emptyLines > 0; --m_emptyLines)
            m_endLine();
        for (const auto &[blankLook, count] : std::as_const(m_blanks)) {
            for (qint64 n = 0; n < count; ++n)
                append(QLatin1Char(' '), blankLook);
        }
        m_blanks.clear();
        append(c, look);
        m_printed = true;
    }
    qint64 column() const { return m_column; }
    void endLine()
    {
        flush();
        m_blanks.clear();
        m_column = 0;
        if (m_printed)
            m_endLine();
        else
            ++m_emptyLines; // told only when something printed follows
        m_printed = false;
    }
    void finish()
    {
        flush();
        if (m_printed)
            m_endLine();
    }

private:
    void append(QChar c, const RunLook &look)
    {
        if (look != m_look || m_text.size() >= 4096)
            flush();
        m_look = look;
        m_text += c;
    }
    void flush()
    {
        if (!m_text.isEmpty())
            m_put(m_text, m_look);
        m_text.clear();
    }

    const Put &m_put;
    const std::function<void()> &m_endLine;
    QString m_text;
    RunLook m_look;
    QVector<std::pair<RunLook, qint64>> m_blanks;
    qint64 m_column = 0;
    qint64 m_emptyLines = 0;
    bool m_printed = false;
};

} // namespace

namespace StyledPage {

void stream(QByteArrayView page, const MarkupContext &context,
    const std::function<void(QStringView text, const RunLook &look)> &put,
    const std::function<void()> &endLine)
{
    constexpr qsizetype PieceBytes = 256 * 1024;
    MarkupScanner first(context, printPasses());
    QVector<MarkupRun> runs;
    // A first scan finds where each pass's last close lies, so that the
    // second marks an open without a close as the whole page would.
    for (qsizetype at = 0; at < page.size();) {
        const qsizetype n = first.cutPoint(page.sliced(at), PieceBytes);
        first.mark(markupText(page.sliced(at, n), context.codePage), &runs);
        at += n;
    }
    MarkupScanner scanner = first.rescan();

    // The look and whether it is hidden, by style: a page has a few styles.
    QHash<int, std::pair<RunLook, bool>> styles;
    auto styleOf = [&](int style) -> const std::pair<RunLook, bool> & {
        auto found = styles.constFind(style);
        if (found != styles.constEnd())
            return *found;
        RunLook look;
        for (int pass = 0; pass < scanner.passCount(); ++pass) {
            if (scanner.inRegion(style, pass))
                apply(look, scanner.regionLook(pass));
        }
        return *styles.insert(style, {look, scanner.hides(style)});
    };

    LineStream line(put, endLine);
    for (qsizetype at = 0; at < page.size();) {
        const qsizetype n = scanner.cutPoint(page.sliced(at), PieceBytes);
        const QString text = markupText(page.sliced(at, n), context.codePage);
        scanner.mark(text, &runs);
        at += n;
        qsizetype i = 0;
        for (const MarkupRun &run : std::as_const(runs)) {
            const auto &[look, hidden] = styleOf(run.style);
            const qsizetype end = i + run.length;
            for (; i < end; ++i)
                putCharacter(line, text.at(i), hidden, look);
        }
    }
    line.finish();
}

QVector<StyledLine> build(QByteArrayView page, const MarkupContext &context)
{
    const QString text = markupText(page, context.codePage);
    QVector<RunLook> looks(text.size());
    QVector<bool> hidden(text.size(), false);
    if (context.vsual) {
        for (const MarkupPass &pass : printPasses()) {
            const RegionLook region = markupRegionLook(pass.tag, context);
            findMarkupRanges(text, pass.open, pass.close, [&](qsizetype start, qsizetype length, bool hide) {
                for (qsizetype i = start; i < start + length; ++i) {
                    if (hide)
                        hidden[i] = true;
                    else
                        apply(looks[i], region);
                }
            });
        }
    }

    LineBuilder lines;
    for (qsizetype i = 0; i < text.size(); ++i)
        putCharacter(lines, text.at(i), hidden.at(i), looks.at(i));
    return lines.finish();
}

QString text(const StyledLine &line)
{
    QString text;
    for (const StyledRun &run : line)
        text += run.text;
    return text;
}

} // namespace StyledPage
