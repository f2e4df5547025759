#include "report/PageTable.h"

#include "platform/FileStamp.h"
#include "platform/MappedFile.h"

#include <QFile>
#include <QFileInfo>

#include "escp/EscpCommands.h"
#include "escp/EscpTokenizer.h"

#include <cstring>
#include <emmintrin.h>
#include <sys/stat.h>

namespace {

// The first form feed or ESC at or after `p`, or `size`, sixteen bytes at a time.
qsizetype nextFormFeedOrEscape(const uchar *data, qsizetype size, qsizetype p)
{
    const __m128i ff = _mm_set1_epi8(char(Escp::FF));
    const __m128i esc = _mm_set1_epi8(char(Escp::ESC));
    while (size - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + p));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, ff), _mm_cmpeq_epi8(v, esc)));
        if (mask)
            return p + __builtin_ctz(unsigned(mask));
        p += 16;
    }
    while (p < size && data[p] != Escp::FF && data[p] != Escp::ESC)
        ++p;
    return p;
}

// Whether the bytes put anything on paper: a character other than a space,
// or a picture. Control characters and other commands print nothing.
bool printsAnything(QByteArrayView bytes)
{
    EscpTokenizer tokens(bytes);
    for (EscpToken t = tokens.next(); t.kind != EscpToken::End; t = tokens.next()) {
        if (t.kind == EscpToken::Picture)
            return true;
        if (t.kind == EscpToken::Text) {
            for (qsizetype i = t.offset; i < t.end(); ++i) {
                const uchar c = uchar(bytes[i]);
                if (c != ' ' && !Escp::isControl(c))
                    return true;
            }
        }
    }
    return false;
}

} // namespace

bool PageTable::load(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        if (error)
            *error = QObject::tr("It is not a regular file.");
        return false;
    }
    auto file = std::make_shared<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        if (error)
            *error = file->errorString();
        return false;
    }
    struct stat st;
    if (::fstat(file->handle(), &st) != 0 || !S_ISREG(st.st_mode)) { // replaced after the check
        if (error)
            *error = QObject::tr("It is not a regular file.");
        return false;
    }
    std::shared_ptr<const MappedFile> map = MappedFile::map(file->handle(), nullptr);
    if (map) {
        PageTable loaded;
        loaded.cut(QByteArray::fromRawData(map->data(), qsizetype(map->size())));
        loaded.m_mapped = std::move(map);
        if (loaded.changed()) { // the pages would mix the old file and the new
            if (error)
                *error = QObject::tr("It changed while it was being read.");
            return false;
        }
        *this = std::move(loaded);
        return true;
    }
    // No map (an empty file, or a file system that cannot map): read it.
    const FileStamp stamp = FileStamp::of(file->handle());
    QByteArray bytes = file->readAll();
    if (file->error() != QFile::NoError) {
        if (error)
            *error = file->errorString();
        return false;
    }
    if (stamp.changed(file->handle())) {
        if (error)
            *error = QObject::tr("It changed while it was being read.");
        return false;
    }
    setBytes(bytes);
    return true;
}

void PageTable::setBytes(const QByteArray &bytes)
{
    cut(bytes);
    m_mapped.reset();
}

void PageTable::cut(const QByteArray &bytes)
{
    m_bytes = bytes;
    m_starts.clear();
    m_starts.append(0);
    const auto *data = reinterpret_cast<const uchar *>(m_bytes.constData());
    const qsizetype size = m_bytes.size();
    // A page ends at a form feed the printer takes as one: not at a 0x0C
    // among a command's parameters or a picture's dots, which are stepped
    // over whole.
    for (qsizetype p = 0; p < size;) {
        p = nextFormFeedOrEscape(data, size, p);
        if (p >= size)
            break;
        if (data[p] == Escp::FF) {
            ++p;
            m_starts.append(p);
            continue;
        }
        const qsizetype len = EscpTokenizer::commandLength(data, size, p);
        p += len > 0 ? qMin(len, size - p) : 1; // a picture cut short runs to the end
    }
    // The text after the last form feed is a page of its own when it prints
    // anything (a file that ends in a form feed, or in one followed only by
    // line ends and set-up commands, gains none); with no form feed the
    // whole file is page 1. Either way an empty element follows.
    const qsizetype tail = m_starts.constLast();
    if (m_starts.size() == 1 || printsAnything(QByteArrayView(m_bytes).sliced(tail)))
        m_starts.append(size + 1);
}

bool PageTable::changed() const
{
    return m_mapped && m_mapped->changed();
}

QByteArrayView PageTable::pageView(int i) const
{
    if (i < 0 || i > PageCount())
        return {};
    const qsizetype begin = m_starts.at(i);
    const qsizetype stop = (i + 1 < m_starts.size()) ? m_starts.at(i + 1) - 1 : m_bytes.size();
    if (begin >= m_bytes.size())
        return {};
    return QByteArrayView(m_bytes.constData() + begin, qMin(stop, m_bytes.size()) - begin);
}
