#include "export/PlainTextExport.h"

#include "platform/ByteText.h"
#include "report/PageTable.h"

#include <QDir>
#include <QObject>

#include <cstring>
#include <memory>
#include <string>

namespace {

const char *find(const char *from, const char *end, char c)
{
    const void *hit = std::memchr(from, c, size_t(end - from));
    return hit ? static_cast<const char *>(hit) : end;
}

// Hands on the text with its line ends made CR LF. A CR LF goes on as it is,
// so text of CR LF lines is handed on in one piece.
template <typename Sink> bool putLines(QByteArrayView text, Sink put)
{
    const char *start = text.data();
    const char *end = start + text.size();
    const char *cr = find(start, end, '\r');
    const char *lf = find(start, end, '\n');
    while (cr < end || lf < end) {
        if (cr < lf && lf < end && cr + 1 == lf) {
            cr = find(cr + 1, end, '\r');
            lf = find(lf + 1, end, '\n');
            continue;
        }
        const char *lone = qMin(cr, lf);
        if (!put(start, lone - start) || !put("\r\n", 2))
            return false;
        start = lone + 1;
        (lone == cr ? cr : lf) = find(lone + 1, end, *lone);
    }
    return put(start, end - start);
}

// Whether every line end of the text is a CR LF already.
bool onlyCrLf(const char *text, qsizetype size)
{
    bool clean = true;
    putLines(QByteArrayView(text, size), [&clean, text, size](const char *piece, qsizetype length) {
        clean = clean && piece == text && length == size;
        return clean;
    });
    return clean;
}

// The text gathered into large writes: the output device is unbuffered, so
// that every failure shows where it happens.
class TextOutput
{
public:
    static constexpr qsizetype Capacity = 4 << 20;

    explicit TextOutput(QIODevice &out)
        : m_out(out)
        , m_buffer(new char[size_t(Capacity)]) // not cleared: every byte is written before it is read
    { }

    // Room for `size` more bytes (at most Capacity) at tail().
    bool makeRoom(qsizetype size) { return m_used + size <= Capacity || flush(); }
    char *tail() { return m_buffer.get() + m_used; }
    void grow(qsizetype size) { m_used += size; }

    bool append(const char *data, qsizetype size)
    {
        if (!makeRoom(size))
            return false;
        if (size > Capacity)
            return m_out.write(data, size) == size;
        std::memcpy(tail(), data, size_t(size));
        m_used += size;
        return true;
    }

    bool flush()
    {
        const qsizetype size = m_used;
        m_used = 0;
        return size == 0 || m_out.write(m_buffer.get(), size) == size;
    }

private:
    QIODevice &m_out;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_used = 0;
};

// The page's bytes as they are, but for lone line ends, read from the file
// in large blocks straight into the output (a pass through the map costs
// two to three times as much).
bool putLatin1Page(const PageTable &table, QByteArrayView page, TextOutput &output, std::string &scratch)
{
    constexpr qsizetype Block = 1 << 20;
    qsizetype from = page.isEmpty() ? 0 : page.data() - table.bytes().constData();
    const qsizetype end = from + page.size();
    while (from < end) {
        qsizetype size = qMin(Block, end - from);
        if (!output.makeRoom(size))
            return false;
        char *at = output.tail();
        table.copyBytes(from, size, at);
        // A CR at a block's end is handed on with the next block, where an
        // LF may follow it.
        if (from + size < end && at[size - 1] == '\r' && size > 1)
            --size;
        from += size;
        if (onlyCrLf(at, size)) {
            output.grow(size);
            continue;
        }
        scratch.assign(at, size_t(size)); // the CR LF text is written where these bytes lay
        const bool put = putLines(QByteArrayView(scratch.data(), size),
            [&output](const char *piece, qsizetype length) { return output.append(piece, length); });
        if (!put)
            return false;
    }
    return output.append("\f", 1);
}

// The page decoded from the code page into UTF-8.
bool putDecodedPage(
    const PageTable &table, QByteArrayView page, CodePage::Id codePage, TextOutput &output)
{
    QByteArray bytes(page.size(), Qt::Uninitialized);
    if (!page.isEmpty())
        table.copyBytes(page.data() - table.bytes().constData(), page.size(), bytes.data());
    QByteArray lines;
    lines.reserve(bytes.size() + 1);
    putLines(QByteArrayView(bytes), [&lines](const char *piece, qsizetype length) {
        lines.append(piece, length);
        return true;
    });
    lines.append('\f');
    const QByteArray text = CodePage::decode(codePage, lines).toUtf8();
    return output.append(text.constData(), text.size());
}

} // namespace

bool writePlainText(
    QIODevice &out, const PageTable &table, const QVector<int> &pages, QString *error, CodePage::Id codePage)
{
    TextOutput output(out);
    std::string scratch;
    for (int i : pages) {
        if (i < 0 || i >= table.PageCount()) {
            if (error)
                *error = QObject::tr("Page %1 is not in the report, which has %2 pages.")
                             .arg(i + 1)
                             .arg(table.PageCount());
            return false;
        }
        const QByteArrayView page = table.pageView(i);
        const bool written = codePage == CodePage::Id::Latin1 ? putLatin1Page(table, page, output, scratch)
                                                              : putDecodedPage(table, page, codePage, output);
        if (!written) {
            if (error)
                *error = out.errorString();
            return false;
        }
    }
    if (!output.flush()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}

bool savePlainText(const QString &path, const PageTable &table, const QVector<int> &pages, QString *error,
    CodePage::Id codePage)
{
    return ByteText::saveThrough(
        path,
        [&](QIODevice &out, QString *reason) { return writePlainText(out, table, pages, reason, codePage); },
        error);
}
