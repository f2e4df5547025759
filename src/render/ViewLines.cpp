#include "render/ViewLines.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

// Where each needle last begins in `bytes` (-1 where nowhere), found in one
// pass from the end for all of them, so that a file of gigabytes without a
// close is read back once, not once a needle. No byte past the end is read.
QVector<qsizetype> lastIndexes(QByteArrayView bytes, const QList<QByteArray> &needles)
{
    QVector<qsizetype> found(needles.size(), -1);
    std::array<bool, 256> starts{};
    for (const QByteArray &needle : needles) {
        if (!needle.isEmpty())
            starts[uchar(needle.front())] = true;
    }
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    qsizetype missing = 0;
    for (const QByteArray &needle : needles)
        missing += needle.isEmpty() ? 0 : 1;
    for (qsizetype at = bytes.size() - 1; at >= 0 && missing > 0; --at) {
        if (!starts[data[at]])
            continue;
        for (qsizetype k = 0; k < needles.size(); ++k) {
            const QByteArray &needle = needles.at(k);
            if (found.at(k) < 0 && !needle.isEmpty() && uchar(needle.front()) == data[at]
                && needle.size() <= bytes.size() - at && memcmp(data + at, needle.constData(), needle.size()) == 0) {
                found[k] = at;
                --missing;
            }
        }
    }
    return found;
}

} // namespace

std::shared_ptr<ViewLines> ViewLines::of(const QByteArray &bytes, const Options &options)
{
    auto kept = std::make_shared<const QByteArray>(bytes);
    return std::make_shared<ViewLines>(QByteArrayView(*kept), options, kept);
}

std::shared_ptr<ViewLines> ViewLines::withContext(const MarkupContext &context) const
{
    Options options = m_options;
    options.context = context;
    return std::make_shared<ViewLines>(m_index.bytes(), options, m_keeper);
}

ViewLines::ViewLines(QByteArrayView bytes, const Options &options, std::shared_ptr<const void> keeper)
    : m_keeper(std::move(keeper))
    , m_options(options)
    , m_index(bytes)
    , m_scanner(options.context, MarkupOrder::View)
{
    if (!options.markup || !options.context.vsual)
        return;
    // Where the last close of each pass lies decides whether an open is
    // shown as a region or ends its pass; it is found from the end, so
    // nothing before the first screen is styled. The passes are asked for
    // their closes first, so that all are looked for at once.
    QList<QByteArray> closes;
    m_scanner.knowingCloses([&](const QString &close) {
        closes.append(close.toLatin1());
        return qsizetype(-1);
    });
    const QVector<qsizetype> last = lastIndexes(bytes, closes);
    m_scanner = m_scanner.knowingCloses([&](const QString &close) -> qsizetype {
        const qsizetype at = last.value(closes.indexOf(close.toLatin1()), -1);
        return at < 0 ? -1 : qsizetype(m_index.positionOf(at));
    });
    m_blocks.append(m_scanner);
}

QString ViewLines::lineText(const LineIndex::Line &line) const
{
    QString text;
    CodePage::decodeInto(m_options.codePage, m_index.bytes().sliced(line.begin, line.length()), text);
    if (m_options.formFeedAtEnd && isLast(line))
        text += QChar(0x0C);
    return text;
}

int ViewLines::feed(MarkupScanner &scanner, const QString &text, bool noLineEnd, QVector<MarkupRun> *runs) const
{
    // The markup sees the line ends as the view does: one character each.
    static const QString lineEnd(QLatin1Char('\n'));
    QVector<MarkupRun> scratch;
    scanner.mark(text, runs ? runs : &scratch);
    if (noLineEnd)
        return 0;
    scratch.clear();
    scanner.mark(lineEnd, &scratch);
    return scratch.isEmpty() ? 0 : scratch.last().style;
}

QVector<ViewLine> ViewLines::lines(qint64 first, qint64 count)
{
    QVector<ViewLine> result;
    first = qBound<qint64>(0, first, lineCount() - 1);
    count = qMin(count, lineCount() - first);
    if (count <= 0)
        return result;
    result.reserve(count);
    if (m_blocks.isEmpty()) { // no markup: one plain run a line
        LineIndex::Line line = m_index.line(first);
        for (qint64 i = 0; i < count; ++i, line = m_index.next(line)) {
            ViewLine view{line, lineText(line), {}};
            if (!view.text.isEmpty())
                view.runs.append({view.text.size(), 0});
            result.append(view);
        }
        return result;
    }
    // Bring the scan up to the block that holds the line before the first
    // (whose line end an empty first line takes its height from), keeping
    // where it stood at each block on the way.
    const qint64 before = qMax<qint64>(0, first - 1);
    const qint64 block = before / BlockLines;
    while (m_blocks.size() <= block) {
        MarkupScanner scan = m_blocks.last();
        LineIndex::Line line = m_index.line((m_blocks.size() - 1) * BlockLines);
        for (qint64 i = 0; i < BlockLines; ++i, line = m_index.next(line))
            feed(scan, lineText(line), !line.ended(), nullptr);
        m_blocks.append(scan);
    }
    MarkupScanner scan = m_blocks.at(block);
    LineIndex::Line line = m_index.line(block * BlockLines);
    int endStyle = 0;
    for (; line.number < first; line = m_index.next(line))
        endStyle = feed(scan, lineText(line), !line.ended(), nullptr);
    for (qint64 i = 0; i < count; ++i, line = m_index.next(line)) {
        ViewLine view{line, lineText(line), {}, endStyle};
        endStyle = feed(scan, view.text, !line.ended(), &view.runs);
        result.append(view);
    }
    return result;
}

QString ViewLines::text(qint64 from, qint64 to) const
{
    QString text;
    from = qBound<qint64>(0, from, positionCount());
    to = qBound<qint64>(from, to, positionCount());
    LineIndex::Line line = m_index.lineAt(from);
    while (from < to) {
        const QString chars = lineText(line);
        const qint64 column = from - line.position;
        text += QStringView(chars).mid(column, qMin<qint64>(to - from, chars.size() - column));
        from = line.position + chars.size();
        if (from < to && line.ended()) {
            text += QLatin1Char('\n');
            ++from;
        }
        if (isLast(line))
            break;
        line = m_index.next(line);
    }
    return text;
}

qint64 ViewLines::byteOf(qint64 position) const
{
    if (position >= m_index.positionCount())
        return m_index.bytes().size();
    const LineIndex::Line line = m_index.lineAt(qMax<qint64>(0, position));
    return line.begin + qMin(qMax<qint64>(0, position - line.position), line.length());
}

QVector<qint64> ViewLines::findBytes(const QString &needle, qint64 from, qint64 to, qsizetype most) const
{
    // Which bytes stand for each character of the needle, in any case: the
    // code pages are one character a byte.
    const char16_t *chars = CodePage::table(m_options.codePage);
    std::vector<std::array<bool, 256>> matches(size_t(needle.size()));
    for (qsizetype k = 0; k < needle.size(); ++k) {
        const QChar folded = needle.at(k).toCaseFolded();
        for (int b = 0; b < 256; ++b)
            matches[size_t(k)][size_t(b)] = QChar(chars[b]).toCaseFolded() == folded;
    }
    QVector<qint64> found;
    const QByteArrayView bytes = m_index.bytes();
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    const qint64 size = bytes.size();
    const qint64 begin = byteOf(qMax<qint64>(0, from));
    const qint64 stop = qMin(byteOf(qMin(to, positionCount())), size - needle.size() + 1);
    const std::array<bool, 256> &first = matches.front();
    // The line of the last match, so that a position is counted on from it.
    LineIndex::Line line = m_index.lineAt(qMax<qint64>(0, from));
    for (qint64 at = begin; at < stop && found.size() < most; ++at) {
        if (!first[data[at]])
            continue;
        qsizetype k = 1;
        while (k < needle.size() && matches[size_t(k)][data[at + k]])
            ++k;
        if (k < needle.size())
            continue;
        while (at >= line.next && !isLast(line))
            line = m_index.next(line);
        found.append(line.position + qMin(at - line.begin, line.length()));
    }
    return found;
}

qint64 ViewLines::find(const QString &needle, qint64 from, qint64 to) const
{
    return findAll(needle, from, to, 1).value(0, -1);
}

QVector<qint64> ViewLines::findAll(const QString &needle, qint64 from, qint64 to, qsizetype most) const
{
    // A needle without line ends or form feeds is looked for in the bytes
    // themselves, several times as fast as in decoded text.
    if (!needle.isEmpty() && !needle.contains(QLatin1Char('\n')) && !needle.contains(QLatin1Char('\r'))
        && !needle.contains(QChar(0x0C)))
        return findBytes(needle, from, to, most);
    // A megabyte at a time, read in the code page with each line end one
    // character, so that a match's place in the piece is its position.
    // Pieces overlap by the needle less one character, so none cuts a
    // match in two and none finds a match twice.
    constexpr qint64 Piece = 1 << 20;
    QVector<qint64> found;
    const QByteArrayView bytes = m_index.bytes();
    const qint64 size = bytes.size();
    to = qMin(to, positionCount());
    from = qMax<qint64>(0, from);
    QString text;
    while (!needle.isEmpty() && from < to && most > 0) {
        const qint64 begin = byteOf(from);
        const qint64 needed = byteOf(to) + needle.size(); // a match that begins before `to` ends before this
        qint64 end = qMin(size, qMin(needed, begin + Piece));
        if (end > begin && end < size && bytes[end - 1] == '\r' && bytes[end] == '\n')
            ++end;
        CodePage::decodeInto(m_options.codePage, bytes.sliced(begin, end - begin), text);
        if (text.contains(QLatin1Char('\r')))
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        if (end == size && m_options.formFeedAtEnd)
            text += QChar(0x0C);
        for (qsizetype at = text.indexOf(needle, 0, Qt::CaseInsensitive); at >= 0;
             at = text.indexOf(needle, at + 1, Qt::CaseInsensitive)) {
            if (from + at >= to)
                return found;
            found.append(from + at);
            if (found.size() >= most)
                return found;
        }
        if (end >= qMin(size, needed))
            break;
        from += qMax<qint64>(1, text.size() - needle.size() + 1);
    }
    return found;
}
