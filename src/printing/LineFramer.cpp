#include "printing/LineFramer.h"

#include <cstring>

void LineFramer::feed(const char *data, qsizetype size, QByteArray &out)
{
    const char *p = data;
    const char *const end = data + size;
    while (p < end) {
        if (m_afterCr) {
            m_afterCr = false;
            if (*p == '\n') {
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
        endLine(out);
        m_afterCr = true;
        p = cr + 1;
    }
}

void LineFramer::finishCopy(QByteArray &out)
{
    if (m_lineOpen)
        endLine(out);
    m_afterCr = false;
}

void LineFramer::endLine(QByteArray &out)
{
    out.append("\r\n", 2);
    if (m_extraLinePending) {
        out.append("\r\n", 2);
        m_extraLinePending = false;
    }
    m_lineOpen = false;
}
