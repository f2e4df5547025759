#include "export/PlainTextExport.h"

#include "platform/ByteText.h"
#include "report/PageTable.h"

#include <QDir>
#include <QObject>

#include <cstring>
#include <string>

namespace {

const char *find(const char *from, const char *end, char c)
{
    const void *hit = std::memchr(from, c, size_t(end - from));
    return hit ? static_cast<const char *>(hit) : end;
}

// Hands on the page with its line ends made CR LF, then a form feed. A CR LF
// goes on as it is, so a page of CR LF lines is handed on in one piece.
template <typename Sink> bool putPage(QByteArrayView page, Sink put)
{
    const char *start = page.data();
    const char *end = start + page.size();
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
    return put(start, end - start) && put("\f", 1);
}

} // namespace

bool writePlainText(
    QIODevice &out, const PageTable &table, const QVector<int> &pages, QString *error, CodePage::Id codePage)
{
    QByteArray bytes;
    const auto append = [&bytes](const char *data, qsizetype size) {
        bytes.append(data, size);
        return true;
    };
    // The output device is unbuffered, so that every failure shows where it
    // happens: the pieces go out a megabyte at a time, not two writes a page.
    constexpr size_t BufferSize = 1 << 20;
    std::string buffer; // keeps its room when cleared
    buffer.reserve(BufferSize);
    const auto flush = [&] {
        const qint64 size = qint64(buffer.size());
        const bool ok = size == 0 || out.write(buffer.data(), size) == size;
        buffer.clear();
        return ok;
    };
    const auto write = [&](const char *data, qsizetype size) {
        if (buffer.size() + size_t(size) > BufferSize && !flush())
            return false;
        if (size_t(size) >= BufferSize)
            return out.write(data, size) == size;
        buffer.append(data, size_t(size));
        return true;
    };
    for (int i : pages) {
        if (i < 0 || i >= table.PageCount()) {
            if (error)
                *error = QObject::tr("Page %1 is not in the report, which has %2 pages.")
                             .arg(i + 1)
                             .arg(table.PageCount());
            return false;
        }
        bool written;
        if (codePage == CodePage::Id::Latin1) {
            written = putPage(table.pageView(i), write); // the bytes as they are
        } else {
            bytes.clear();
            putPage(table.pageView(i), append);
            bytes = CodePage::decode(codePage, bytes).toUtf8();
            written = write(bytes.constData(), bytes.size());
        }
        if (!written) {
            if (error)
                *error = out.errorString();
            return false;
        }
    }
    if (!flush()) {
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
