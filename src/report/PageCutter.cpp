#include "report/PageCutter.h"

#include "escp/EscpCommands.h"
#include "escp/EscpTokenizer.h"

#include <emmintrin.h>

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

void PageCutter::cutTo(qsizetype until, QVector<qsizetype> *starts)
{
    const auto *data = reinterpret_cast<const uchar *>(m_bytes.data());
    const qsizetype size = m_bytes.size();
    const qsizetype stop = qMin(until, size);
    qsizetype p = m_position;
    while (p < stop) {
        p = nextFormFeedOrEscape(data, stop, p);
        if (p >= stop)
            break;
        if (data[p] == Escp::FF) {
            ++p;
            starts->append(p);
            continue;
        }
        // The command is read to its end, wherever the stretch ends.
        const qsizetype len = EscpTokenizer::commandLength(data, size, p);
        p += len > 0 ? qMin(len, size - p) : 1; // a picture cut short runs to the end
    }
    m_position = qMax(p, stop);
}

bool PageCutter::tailIsPage(QByteArrayView bytes, qsizetype lastStart, bool anyFormFeed)
{
    return !anyFormFeed || printsAnything(bytes.sliced(qMin(lastStart, bytes.size())));
}
