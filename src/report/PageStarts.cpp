#include "report/PageStarts.h"

#include <QtEndian>

#include <cstring>

namespace {

// The bytes a distance of up to `span` takes.
int widthFor(quint64 span)
{
    if (span <= 0xFF)
        return 1;
    if (span <= 0xFFFF)
        return 2;
    if (span <= 0xFFFFFFFFu)
        return 4;
    return 8;
}

} // namespace

PageStarts::PageStarts(std::initializer_list<qsizetype> starts)
{
    for (qsizetype start : starts)
        append(start);
}

void PageStarts::append(qsizetype start)
{
    m_tail[size_t(m_count & (BlockSize - 1))] = start;
    ++m_count;
    if ((m_count & (BlockSize - 1)) == 0)
        packTail();
}

void PageStarts::append(const QVector<qsizetype> &starts)
{
    for (qsizetype start : starts)
        append(start);
}

void PageStarts::packTail()
{
    const qsizetype first = m_tail[0];
    const int width = widthFor(quint64(m_tail[BlockSize - 1] - first));
    char packed[(BlockSize - 1) * sizeof(quint64)];
    char *p = packed;
    for (qsizetype k = 1; k < BlockSize; ++k, p += width) {
        const quint64 distance = qToLittleEndian(quint64(m_tail[size_t(k)] - first));
        std::memcpy(p, &distance, size_t(width)); // its low bytes
    }
    m_blocks.append({first, m_packed.size(), width});
    m_packed.append(packed, p - packed);
}

qsizetype PageStarts::at(qsizetype i) const
{
    Q_ASSERT(i >= 0 && i < m_count);
    const qsizetype b = i >> BlockShift;
    const qsizetype k = i & (BlockSize - 1);
    if (b >= m_blocks.size())
        return m_tail[size_t(k)];
    const Block &block = m_blocks.at(b);
    if (k == 0)
        return block.first;
    quint64 distance = 0;
    std::memcpy(&distance, m_packed.constData() + block.packedAt + (k - 1) * block.width, size_t(block.width));
    return block.first + qsizetype(qFromLittleEndian(distance));
}
