#include "report/PageCutter.h"

#include "escp/EscpCommands.h"
#include "escp/EscpTokenizer.h"
#include "platform/MappedFile.h"

#include <emmintrin.h>

namespace {

// The first form feed or ESC at or after `p`, or `size`: sixty-four bytes
// a step while there is none (one test for four loads), then sixteen.
qsizetype nextFormFeedOrEscape(const uchar *data, qsizetype size, qsizetype p)
{
    const __m128i ff = _mm_set1_epi8(char(Escp::FF));
    const __m128i esc = _mm_set1_epi8(char(Escp::ESC));
    const auto hits = [&](qsizetype at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
        return _mm_or_si128(_mm_cmpeq_epi8(v, ff), _mm_cmpeq_epi8(v, esc));
    };
    while (size - p >= 64) {
        const __m128i any = _mm_or_si128(_mm_or_si128(hits(p), hits(p + 16)), _mm_or_si128(hits(p + 32), hits(p + 48)));
        if (_mm_movemask_epi8(any))
            break;
        p += 64;
    }
    while (size - p >= 16) {
        const int mask = _mm_movemask_epi8(hits(p));
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

PageCutter::PageCutter(QByteArrayView bytes, const MappedFile *file, qsizetype blockSize, bool noteLineEnds)
    : m_bytes(bytes)
    , m_file(file)
    , m_blockSize(qMax<qsizetype>(16, blockSize))
    , m_noteLineEnds(noteLineEnds)
{
    if (m_file)
        m_block.reset(new uchar[size_t(m_blockSize)]); // not cleared: each block is read before it is scanned
}

PageCutter::~PageCutter() = default;

void PageCutter::cutTo(qsizetype until, QVector<qsizetype> *starts)
{
    const qsizetype size = m_bytes.size();
    const qsizetype stop = qMin(until, size);
    qsizetype p = m_position;
    if (!m_file) {
        p = cutIn(reinterpret_cast<const uchar *>(m_bytes.data()), 0, size, p, stop, starts);
    } else {
        while (p < stop) {
            const qsizetype length = qMin(m_blockSize, size - p);
            m_file->copy(p, length, reinterpret_cast<char *>(m_block.get()));
            if (m_noteLineEnds)
                checkLineEnds(m_block.get(), p, p + length);
            p = cutIn(m_block.get(), p, p + length, p, stop, starts);
        }
    }
    m_position = qMax(p, stop);
}

bool PageCutter::lineEndsAllCrLf() const
{
    return m_noteLineEnds && m_file && m_checked >= m_bytes.size() && !m_loneLineEnd && !m_crPending;
}

void PageCutter::checkLineEnds(const uchar *data, qsizetype base, qsizetype dataEnd)
{
    if (m_loneLineEnd)
        return;
    if (base > m_checked) { // a command longer than a block was stepped over unread
        m_loneLineEnd = true;
        return;
    }
    // Every LF right after a CR and every CR right before an LF; a CR at
    // the end waits for the next byte.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    qsizetype i = m_checked - base;
    const qsizetype n = dataEnd - base;
    unsigned carry = m_crPending ? 1 : 0;
    // 64 bytes a step: their CRs and LFs as two 64-bit masks, each LF one
    // place after a CR.
    for (; n - i >= 64; i += 64) {
        quint64 crs = 0;
        quint64 lfs = 0;
        for (int k = 0; k < 4; ++k) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i + 16 * k));
            crs |= quint64(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)))) << (16 * k);
            lfs |= quint64(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)))) << (16 * k);
        }
        if (lfs != ((crs << 1) | carry)) {
            m_loneLineEnd = true;
            return;
        }
        carry = unsigned(crs >> 63);
    }
    for (; i < n; ++i) {
        const bool isLf = data[i] == '\n';
        if (isLf != (carry != 0)) {
            m_loneLineEnd = true;
            return;
        }
        carry = data[i] == '\r' ? 1 : 0;
    }
    m_crPending = carry != 0;
    m_checked = dataEnd;
}

qsizetype PageCutter::cutIn(const uchar *data, qsizetype base, qsizetype dataEnd, qsizetype p, qsizetype stop,
    QVector<qsizetype> *starts)
{
    const auto *whole = reinterpret_cast<const uchar *>(m_bytes.data());
    const qsizetype size = m_bytes.size();
    // A command's length read from a block is taken when the block holds it
    // and a little more (what the length may have looked at past its end);
    // a command that begins this near a block's end starts the next block.
    const bool lastBlock = dataEnd >= size;
    const qsizetype margin = qMin<qsizetype>(64, (dataEnd - base) / 2);
    const qsizetype scanEnd = qMin(stop, dataEnd);
    while (p < scanEnd) {
        p = base + nextFormFeedOrEscape(data, scanEnd - base, p - base);
        if (p >= scanEnd)
            break;
        if (data[p - base] == Escp::FF) {
            ++p;
            starts->append(p);
            continue;
        }
        if (!lastBlock && p > base && p + margin > dataEnd)
            return p;
        // The command is read to its end, wherever the stretch ends.
        qsizetype len = EscpTokenizer::commandLength(data, dataEnd - base, p - base, 0, m_superSubscript, m_imageModes);
        if (!lastBlock && (len <= 0 || p + len + margin > dataEnd))
            len = EscpTokenizer::commandLength(whole, size, p, 0, m_superSubscript, m_imageModes);
        if (len > 0) { // (ESC S, ESC T and ESC @ change how ESC & is measured, ESC ? and ESC @ how ESC K is)
            m_superSubscript = EscpTokenizer::superSubscriptAfter(p + 1 < dataEnd ? data[p + 1 - base] : whole[p + 1],
                m_superSubscript);
            EscpTokenizer::followImageModes(whole + p, qMin(len, size - p), &m_imageModes);
        }
        p += len > 0 ? qMin(len, size - p) : 1; // a picture cut short runs to the end
    }
    return qMax(p, scanEnd);
}

bool PageCutter::tailIsPage(QByteArrayView bytes, qsizetype lastStart, bool anyFormFeed)
{
    return !anyFormFeed || printsAnything(bytes.sliced(qMin(lastStart, bytes.size())));
}
