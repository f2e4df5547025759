#include "export/PlainTextExport.h"

#include "platform/ByteText.h"
#include "report/PageTable.h"

#include <QDir>
#include <QFileDevice>
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

// The file's own bytes [from, from + length) into the output as they are:
// by the kernel from file to file where it can (`outFd`, else -1), else
// read in large blocks.
bool putFileBytes(const PageTable &table, qsizetype from, qsizetype length, int outFd, TextOutput &output)
{
    if (outFd >= 0) {
        if (!output.flush())
            return false;
        const qsizetype copied = table.copyToFile(from, length, outFd);
        from += copied;
        length -= copied;
    }
    constexpr qsizetype Block = 1 << 20;
    while (length > 0) {
        const qsizetype size = qMin(Block, length);
        if (!output.makeRoom(size))
            return false;
        table.copyBytes(from, size, output.tail());
        output.grow(size);
        from += size;
        length -= size;
    }
    return true;
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
    // A file whose line ends are all CR LF is its own plain text: pages in
    // a row are its bytes through the last one's form feed (a form feed
    // added after the text past the last form feed), copied as cp copies.
    const bool asItIs = codePage == CodePage::Id::Latin1 && table.lineEndsAllCrLf();
    const auto *file = qobject_cast<QFileDevice *>(&out);
    const int outFd = file && file->openMode().testFlag(QIODevice::Unbuffered) ? file->handle() : -1;
    const auto inTable = [&table](int i) { return i >= 0 && i < table.PageCount(); };
    for (qsizetype k = 0; k < pages.size(); ++k) {
        const int i = pages.at(k);
        if (!inTable(i)) {
            if (error)
                *error = QObject::tr("Page %1 is not in the report, which has %2 pages.")
                             .arg(i + 1)
                             .arg(table.PageCount());
            return false;
        }
        bool written;
        if (asItIs) {
            int last = i;
            while (k + 1 < pages.size() && pages.at(k + 1) == last + 1 && inTable(last + 1))
                last = pages.at(++k);
            const qsizetype end = table.pageEnd(last);
            const bool formFeed = end < table.bytes().size();
            const qsizetype from = table.pageStart(i);
            written = putFileBytes(table, from, end + (formFeed ? 1 : 0) - from, outFd, output)
                && (formFeed || output.append("\f", 1));
        } else {
            const QByteArrayView page = table.pageView(i);
            written = codePage == CodePage::Id::Latin1 ? putLatin1Page(table, page, output, scratch)
                                                       : putDecodedPage(table, page, codePage, output);
        }
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
