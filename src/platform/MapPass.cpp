#include "platform/MapPass.h"

#include "platform/MappedFile.h"

MapPass::MapPass(const MappedFile *map, qint64 from, qint64 until)
    : m_map(map)
    , m_released(from)
    , m_ahead(from)
{
    setUntil(until);
    reached(from);
}

void MapPass::setUntil(qint64 until)
{
    if (m_map)
        m_until = until < 0 ? m_map->size() : qMin(until, m_map->size());
}

MapPass::~MapPass()
{
    if (m_map && m_ahead > m_released)
        m_map->release(m_released, m_ahead - m_released);
}

void MapPass::mapTo(qint64 end)
{
    if (!m_map || end <= m_ahead)
        return;
    end = qMin(end, m_until);
    if (end > m_ahead)
        m_map->readAhead(m_ahead, end - m_ahead);
    m_ahead = qMax(m_ahead, end);
}

void MapPass::reached(qint64 at)
{
    if (!m_map)
        return;
    if (at > m_released) {
        m_map->release(m_released, at - m_released);
        m_released = at;
    }
    if (at + Stretch / 2 >= m_ahead && m_ahead < m_until) {
        const qint64 from = qMax(m_ahead, at);
        m_ahead = qMin(at + Stretch, m_until);
        if (m_ahead > from)
            m_map->readAhead(from, m_ahead - from);
    }
}
