#include "printing/LineFramer.h"

#include <cstring>

void LineFramer::feed(const char *data, qsizetype size, QByteArray &out)
{
    if (size > 0)
        m_last = data[size - 1];
    const char *p = data;
    const char *const end = data + size;
    while (p < end) {
        if (m_afterCr) {
            // Whether the CR was lone is known only now, at the next byte.
            m_afterCr = false;
            const bool lf = *p == '\n';
            endLine(out, !lf);
            if (lf) {
                ++p;
                continue;
            }
        }
        const auto *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(end - p)));
        const char *stop = cr ? cr : end;
        if (stop > p) {
            out.append(p, stop - p);
            m_lineOpen = true;
        }
        if (!cr)
            break;
        m_afterCr = true;
        p = cr + 1;
    }
}

void LineFramer::finishCopy(QByteArray &out)
{
    if (m_afterCr)
        endLine(out, true);
    else if (m_lineOpen && m_last != '\n')
        endLine(out, false);
    m_lineOpen = false;
    m_last = 0;
    m_afterCr = false;
}

void LineFramer::endLine(QByteArray &out, bool loneCr)
{
    if (loneCr)
        out.append('\r');
    else
        out.append("\r\n", 2);
    if (m_extraLinePending) {
        out.append("\r\n", 2);
        m_extraLinePending = false;
    }
    m_lineOpen = false;
}
