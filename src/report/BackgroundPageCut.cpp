#include "report/BackgroundPageCut.h"

#include "report/PageCutter.h"

#include <chrono>

namespace {

// A stretch is cut in one go (read in large blocks, PageCutter): small
// enough that the first pages are there at once and the page count fills
// in often.
constexpr qsizetype Stretch = 8 << 20;

} // namespace

BackgroundPageCut::BackgroundPageCut(const PageTable &table, std::function<void()> found)
    : m_table(table)
    , m_total(table.bytes().size())
    , m_found(std::move(found))
    , m_thread([this] { run(); })
{ }

BackgroundPageCut::~BackgroundPageCut()
{
    m_stop = true;
    m_thread.join();
}

void BackgroundPageCut::run()
{
    const QByteArray &bytes = m_table.bytes();
    PageCutter cutter {QByteArrayView(bytes), m_table.mappedFile()};
    QVector<qsizetype> starts;
    while (!m_stop) {
        cutter.cutTo(cutter.position() + Stretch, &starts);
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_pending.starts += starts;
            m_pending.done = cutter.position();
            m_pending.finished = cutter.atEnd();
        }
        starts.clear();
        m_cut.notify_all();
        if (m_found)
            m_found();
        if (cutter.atEnd())
            break;
    }
}

BackgroundPageCut::Found BackgroundPageCut::take()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    Found found = m_pending;
    m_pending.starts.clear();
    return found;
}

void BackgroundPageCut::wait(int milliseconds)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cut.wait_for(lock, std::chrono::milliseconds(milliseconds),
        [this] { return !m_pending.starts.isEmpty() || m_pending.finished; });
}
