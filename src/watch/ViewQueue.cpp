#include "watch/ViewQueue.h"

#include <utility>

ViewQueue::ViewQueue(std::function<int()> openViews, int limit, QObject *parent)
    : QObject(parent)
    , m_openViews(std::move(openViews))
    , m_limit(limit)
{
}

void ViewQueue::add(const QString &path)
{
    const int before = m_waiting.size();
    m_waiting.append(path);
    release(before);
}

void ViewQueue::openWaiting()
{
    release(m_waiting.size());
}

void ViewQueue::release(int before)
{
    // A view opened from here may close another one, or add a file, and call
    // back: the loop below looks at the count again anyway.
    if (!m_opening) {
        m_opening = true;
        while (!m_waiting.isEmpty() && m_openViews() < m_limit)
            emit openView(m_waiting.takeFirst());
        m_opening = false;
    }
    if (m_waiting.size() != before)
        emit waitingChanged(m_waiting.size());
}
