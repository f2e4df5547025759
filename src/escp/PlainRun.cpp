#include "escp/PlainRun.h"

#include "escp/EscpCommands.h"

#include <emmintrin.h>

PlainRun plainRun(const uchar *p, qsizetype n, bool upperHalfStops)
{
    // Sixteen bytes at a time: a report's lines are long runs of text.
    const __m128i lowLimit = _mm_set1_epi8(0x1F);
    const __m128i del = _mm_set1_epi8(char(Escp::DEL));
    const __m128i space = _mm_set1_epi8(' ');
    const unsigned upperMask = upperHalfStops ? 0xFFFFu : 0u;
    PlainRun run;
    qsizetype k = 0;
    while (n - k >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + k));
        const __m128i controls = _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(v, lowLimit), v), _mm_cmpeq_epi8(v, del));
        // (a byte's top bit is its sign: movemask of the bytes themselves)
        const unsigned stops = unsigned(_mm_movemask_epi8(controls)) | (unsigned(_mm_movemask_epi8(v)) & upperMask);
        const unsigned ink = ~unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, space))) & 0xFFFFu;
        if (stops) {
            const int plain = __builtin_ctz(stops);
            run.inked = run.inked || (ink & ((1u << plain) - 1u));
            run.length = k + plain;
            return run;
        }
        run.inked = run.inked || ink;
        k += 16;
    }
    for (; k < n; ++k) {
        const uchar b = p[k];
        if (Escp::isControl(b) || (upperHalfStops && b >= 0x80))
            break;
        run.inked = run.inked || b != ' ';
    }
    run.length = k;
    return run;
}
