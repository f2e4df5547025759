#include "export/RichTextExport.h"

#include "export/RtfWriter.h"
#include "platform/ByteText.h"
#include "report/MarkupScanner.h"
#include "report/PageText.h"
#include "report/PageTable.h"
#include "report/ReportMarkup.h"

#include <QTextDocument>

QFont assemblyFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(11.25);
    return font;
}

void assemblePages(
    QTextDocument *document, const PageTable &table, const QVector<int> &pages, CodePage::Id codePage)
{
    QByteArray bytes;
    for (int i : pages) {
        if (i < 0 || i >= table.PageCount())
            continue;
        bytes += table.pageBytes(i);
        bytes += '\f';
    }
    document->setDefaultFont(assemblyFont());
    // CR LF, a lone CR and a lone LF each become one paragraph break.
    PageText::setText(document, CodePage::decode(codePage, bytes));
}

void assembleForExport(
    QTextDocument *document, const PageTable &table, const QVector<int> &pages, const MarkupContext &context)
{
    assemblePages(document, table, pages, context.codePage);
    applyMarkupPasses(document, context, MarkupOrder::Print);
}

namespace {

// The chosen pages, each followed by its page break, with the markup passes
// in print order, read as RTF runs without a document: the same runs and
// paragraphs the assembly document gives. The pages are read twice (for the
// tables, then for the body), three times when a pass has an open with no
// close, since the first reading takes every open as closed.
class MarkedPages : public RtfSource
{
public:
    MarkedPages(const PageTable &table, const QVector<int> &pages, const MarkupContext &context,
        const RichTextProgress &progress)
        : m_table(table)
        , m_codePage(CodePage::table(context.codePage))
        , m_scanner(context, MarkupOrder::Print)
        , m_progress(progress)
    {
        m_pages.reserve(pages.size());
        for (int i : pages) {
            if (i >= 0 && i < table.PageCount()) {
                m_pages.append(i);
                m_total += table.pageView(i).size() + 1;
            }
        }
    }

    QFont defaultFont() const override { return assemblyFont(); }
    bool settled() const override { return m_settled; }
    // The page table ends a page at its form feed; a form feed byte inside a
    // page is part of a command (ESC C NUL 12, a picture's data) and stays a
    // character. The page ends are marked with a noncharacter instead.
    char16_t pageEnd() const override { return PageEnd; }

    bool read(const Run &run, const ParagraphEnd &paragraphEnd, QString *error) override
    {
        MarkupScanner rescan = m_scanner.rescan();
        MarkupScanner &scanner = m_readings == 0 ? m_scanner : rescan;
        ++m_readings;
        QVector<MarkupRun> runs;
        bool going = true;
        const bool read = readPieces(scanner, error, [&](QStringView piece) {
            scanner.mark(piece, &runs);
            qsizetype at = 0;
            for (const MarkupRun &markupRun : qAsConst(runs)) {
                if (going)
                    going = runParagraphs(
                        scanner.format(markupRun.style), piece.mid(at, markupRun.length), run, paragraphEnd);
                at += markupRun.length;
            }
            return going;
        });
        m_settled = m_readings > 1 || m_scanner.settled();
        return read && going;
    }

private:
    static constexpr char16_t PageEnd = 0xFDD0;

    // A run as the document holds it: cut at its paragraph breaks.
    static bool runParagraphs(
        const QTextCharFormat &format, QStringView text, const Run &run, const ParagraphEnd &paragraphEnd)
    {
        for (;;) {
            const qsizetype end = text.indexOf(QChar::ParagraphSeparator);
            if (end < 0) {
                if (!text.isEmpty())
                    run(format, text);
                return true;
            }
            if (end > 0)
                run(format, text.first(end));
            if (!paragraphEnd())
                return false;
            text = text.sliced(end + 1);
        }
    }

    // The text of some bytes as the document holds it: read in the code
    // page, and CR LF, a lone CR and a lone LF each one paragraph break.
    void decode(QByteArrayView bytes, bool pageEnd)
    {
        m_text.resize(bytes.size() + 1);
        QChar *out = m_text.data();
        qsizetype n = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const uchar c = uchar(bytes[i]);
            if (c == '\r' || c == '\n') {
                if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                    ++i;
                out[n++] = QChar::ParagraphSeparator;
            } else {
                out[n++] = QChar(m_codePage[c]);
            }
        }
        if (pageEnd)
            out[n++] = QChar(PageEnd);
        m_text.truncate(n);
    }

    bool readPieces(const MarkupScanner &cutter, QString *error, const std::function<bool(QStringView)> &take)
    {
        constexpr qsizetype PieceBytes = 1 << 20;
        const int readings = m_readings > 1 && !m_scanner.settled() ? 3 : 2;
        const qint64 work = readings * qMax<qint64>(1, m_total);
        for (int i : qAsConst(m_pages)) {
            QByteArrayView page = m_table.pageView(i);
            do {
                const qsizetype cut = cutter.cutPoint(page, PieceBytes);
                decode(page.first(cut), cut == page.size());
                page = page.sliced(cut);
                m_done += cut + (page.isEmpty() ? 1 : 0);
                if (!take(m_text))
                    return false;
                const int percent = int(qMin<qint64>(100, m_done * 100 / work));
                if (m_progress && percent > m_percent && !m_progress(m_percent = percent)) {
                    if (error)
                        *error = QObject::tr("The export was cancelled.");
                    return false;
                }
            } while (!page.isEmpty());
        }
        return true;
    }

    const PageTable &m_table;
    const char16_t *m_codePage;
    QVector<int> m_pages;
    MarkupScanner m_scanner; // the first reading's, which learns where the closes are
    RichTextProgress m_progress;
    QString m_text;
    int m_readings = 0;
    bool m_settled = false;
    qint64 m_total = 0;
    qint64 m_done = 0;
    int m_percent = -1;
};

} // namespace

bool writeRichText(QIODevice &out, const PageTable &table, const QVector<int> &pages,
    const MarkupContext &context, QString *error, const RichTextProgress &progress)
{
    MarkedPages source(table, pages, context, progress);
    return RtfWriter::write(source, out, error);
}

bool saveRichText(const QString &path, const PageTable &table, const QVector<int> &pages,
    const MarkupContext &context, QString *error, const RichTextProgress &progress)
{
    return ByteText::saveThrough(
        path,
        [&](QIODevice &out, QString *reason) { return writeRichText(out, table, pages, context, reason, progress); },
        error);
}
