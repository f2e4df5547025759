#include "export/RtfWriter.h"

#include "platform/ByteText.h"

#include <QDir>
#include <QFontInfo>
#include <QIODevice>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

namespace {

struct RunFormat
{
    int font = 0;
    int halfPoints = 24;
    int colour = 0; // 0: the reader's automatic colour
    bool bold = false;
    bool underline = false;
};

// A document as a source: its fragments, a block at a time.
class DocumentSource : public RtfSource
{
public:
    explicit DocumentSource(const QTextDocument &document)
        : m_document(document)
    { }
    QFont defaultFont() const override { return m_document.defaultFont(); }
    bool read(const Run &run, const ParagraphEnd &paragraphEnd, QString *) override
    {
        for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
            if (block != m_document.begin() && !paragraphEnd())
                return false;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                run(fragment.charFormat(), fragment.text());
            }
        }
        return true;
    }

private:
    const QTextDocument &m_document;
};

class RtfOutput
{
public:
    explicit RtfOutput(RtfSource &source)
        : m_source(source)
        , m_default(source.defaultFont())
        , m_pageEnd(source.pageEnd())
    { }

    bool write(QIODevice &out, QString *error);

private:
    RunFormat runFormat(const QTextCharFormat &format);
    int fontIndex(const QString &family);
    int colourIndex(const QColor &colour);
    void changeTo(const RunFormat &next);
    void text(QStringView text);
    bool flush(QIODevice &out, QString *error, bool force);

    RtfSource &m_source;
    QFont m_default;
    char16_t m_pageEnd;
    QStringList m_fonts;
    QList<QRgb> m_colours;
    QByteArray m_body;
    RunFormat m_current;
};

RunFormat RtfOutput::runFormat(const QTextCharFormat &format)
{
    RunFormat run;
    QString family = m_default.family();
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty())
            family = families.first();
    } else if (format.hasProperty(QTextFormat::FontFamily)) {
        family = format.property(QTextFormat::FontFamily).toString();
    }
    run.font = fontIndex(family);

    qreal points = m_default.pointSizeF() > 0 ? m_default.pointSizeF() : 12.0;
    if (format.hasProperty(QTextFormat::FontPointSize))
        points = format.fontPointSize();
    run.halfPoints = qMax(1, qRound(points * 2));

    run.bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() > QFont::Medium
                                                           : m_default.bold();
    run.underline = (format.hasProperty(QTextFormat::FontUnderline)
                        || format.hasProperty(QTextFormat::TextUnderlineStyle))
        ? format.fontUnderline()
        : m_default.underline();

    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        run.colour = colourIndex(format.foreground().color());
    return run;
}

int RtfOutput::fontIndex(const QString &family)
{
    int i = int(m_fonts.indexOf(family));
    if (i < 0) {
        i = int(m_fonts.size());
        m_fonts.append(family);
    }
    return i;
}

int RtfOutput::colourIndex(const QColor &colour)
{
    const QRgb rgb = colour.rgb() & 0xFFFFFF;
    int i = int(m_colours.indexOf(rgb));
    if (i < 0) {
        i = int(m_colours.size());
        m_colours.append(rgb);
    }
    return i + 1;
}

void RtfOutput::changeTo(const RunFormat &next)
{
    const qsizetype before = m_body.size();
    if (next.font != m_current.font)
        m_body += "\\f" + QByteArray::number(next.font);
    if (next.halfPoints != m_current.halfPoints)
        m_body += "\\fs" + QByteArray::number(next.halfPoints);
    if (next.colour != m_current.colour)
        m_body += "\\cf" + QByteArray::number(next.colour);
    if (next.bold != m_current.bold)
        m_body += next.bold ? "\\b" : "\\b0";
    if (next.underline != m_current.underline)
        m_body += next.underline ? "\\ul" : "\\ulnone";
    if (m_body.size() != before)
        m_body += ' ';
    m_current = next;
}

void RtfOutput::text(QStringView text)
{
    static const char Hex[] = "0123456789abcdef";
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == '\\' || c == '{' || c == '}') {
            m_body += '\\';
            m_body += char(c);
        } else if (c == '\t') {
            m_body += "\\tab ";
        } else if (c == m_pageEnd) {
            m_body += "\\page ";
        } else if (c == QChar::LineSeparator) {
            m_body += "\\line ";
        } else if (c >= 32 && c < 127) {
            m_body += char(c);
        } else if (c < 256) {
            const char hex[] = {'\\', '\'', Hex[c >> 4], Hex[c & 15]};
            m_body.append(hex, 4);
        } else {
            m_body += "\\u" + QByteArray::number(qint16(c)) + '?';
        }
    }
}

bool RtfOutput::flush(QIODevice &out, QString *error, bool force)
{
    if (!force && m_body.size() < (1 << 20))
        return true;
    if (out.write(m_body) != m_body.size()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    m_body.clear();
    return true;
}

bool RtfOutput::write(QIODevice &out, QString *error)
{
    // The tables come first in the file but are known only after the runs,
    // so the runs are formatted once to fill them.
    do {
        m_fonts.clear();
        m_colours.clear();
        m_current = runFormat(QTextCharFormat());
        if (!m_source.read([this](const QTextCharFormat &format, QStringView) { runFormat(format); },
                [] { return true; }, error))
            return false;
    } while (!m_source.settled());

    QByteArray head = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
    for (int i = 0; i < m_fonts.size(); ++i) {
        const bool fixed = m_fonts.at(i) == m_default.family()
            ? m_default.styleHint() == QFont::Monospace || QFontInfo(m_default).fixedPitch()
            : QFontInfo(QFont(m_fonts.at(i))).fixedPitch();
        m_body.clear();
        text(m_fonts.at(i));
        head += "{\\f" + QByteArray::number(i) + (fixed ? "\\fmodern\\fprq1" : "\\fnil") + "\\fcharset0 "
            + m_body + ";}";
    }
    head += "}\r\n{\\colortbl ;";
    for (QRgb rgb : qAsConst(m_colours)) {
        head += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb))
            + "\\blue" + QByteArray::number(qBlue(rgb)) + ';';
    }
    head += "}\r\n\\viewkind4\\uc1\\pard\\plain\\f" + QByteArray::number(m_current.font) + "\\fs"
        + QByteArray::number(m_current.halfPoints) + (m_current.bold ? "\\b" : "")
        + (m_current.underline ? "\\ul" : "") + ' ';
    m_body = head;

    // A paragraph may be long (a page of nothing but form feeds has no
    // line end), so the body is handed on after any run that fills it.
    bool failed = false;
    const auto run = [&](const QTextCharFormat &format, QStringView runText) {
        changeTo(runFormat(format));
        // A long run is handed on in pieces: one character may take four
        // bytes or more, and a page of 100 MB in one look (a run of control
        // characters) had held its whole RTF, grown by doubling.
        constexpr qsizetype Piece = qsizetype(1) << 16;
        for (qsizetype at = 0; at < runText.size() && !failed; at += Piece) {
            text(runText.mid(at, qMin(Piece, runText.size() - at)));
            failed = !flush(out, error, false);
        }
        if (failed)
            m_body.clear();
    };
    const auto paragraphEnd = [&] {
        if (failed || !flush(out, error, false))
            return false;
        m_body += "\\par\r\n";
        return true;
    };
    if (!m_source.read(run, paragraphEnd, error) || failed)
        return false;
    m_body += "}\r\n";
    return flush(out, error, true);
}

} // namespace

bool RtfWriter::write(const QTextDocument &document, QIODevice &out, QString *error)
{
    DocumentSource source(document);
    return write(source, out, error);
}

bool RtfWriter::write(RtfSource &source, QIODevice &out, QString *error)
{
    RtfOutput output(source);
    return output.write(out, error);
}

bool RtfWriter::save(const QTextDocument &document, const QString &path, QString *error)
{
    return ByteText::saveThrough(
        path, [&](QIODevice &out, QString *reason) { return write(document, out, reason); }, error);
}
