#include "export/PrintFileLines.h"

#include <QIODevice>
#include <cstring>

namespace {
constexpr qint64 ChunkSize = 1 << 18;
}

PrintFileLines::PrintFileLines(QIODevice &device)
    : m_device(device)
{ }

bool PrintFileLines::fill()
{
    if (m_atEnd)
        return false;
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const qsizetype kept = m_buffer.size();
    m_buffer.resize(kept + ChunkSize);
    const qint64 got = m_device.read(m_buffer.data() + kept, ChunkSize);
    m_buffer.resize(kept + qMax<qint64>(got, 0));
    if (got < 0)
        m_failed = true;
    if (got <= 0)
        m_atEnd = true;
    return got > 0;
}

bool PrintFileLines::next(QByteArray *line)
{
    qsizetype searchFrom = m_pos;
    for (;;) {
        const char *data = m_buffer.constData();
        const void *cr = std::memchr(data + searchFrom, '\r', size_t(m_buffer.size() - searchFrom));
        if (cr) {
            const qsizetype at = static_cast<const char *>(cr) - data;
            // A CR at the end of the buffer may be the first half of CR LF.
            if (at + 1 < m_buffer.size() || m_atEnd) {
                *line = m_buffer.mid(m_pos, at - m_pos);
                m_pos = at + 1;
                if (m_pos < m_buffer.size() && m_buffer.at(m_pos) == '\n')
                    ++m_pos;
                return true;
            }
        }
        if (m_atEnd) {
            if (m_pos >= m_buffer.size())
                return false;
            *line = m_buffer.mid(m_pos);
            m_pos = m_buffer.size();
            return true;
        }
        const qsizetype scanned = m_buffer.size() - m_pos;
        fill();
        searchFrom = m_pos + qMax<qsizetype>(0, cr ? scanned - 1 : scanned);
        if (m_failed)
            return false;
    }
}
