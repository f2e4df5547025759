#pragma once

#include "report/PageTable.h"

#include <QVector>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Cuts a page table's bytes into pages on a thread of its own, a stretch at
// a time, so that a large file's first pages can be shown while the rest is
// cut. The owner takes what was found (take) on its own thread and adds it
// to its table; `found` is called on the cutting thread after each stretch
// (it posts to the owner, and must not touch the table itself). Destroying
// the cut stops it and waits for the thread.
class BackgroundPageCut
{
public:
    // What was found since the last take.
    struct Found
    {
        QVector<qsizetype> starts;
        qint64 done = 0;       // bytes cut so far
        bool finished = false; // the cut reached the end
    };

    // `table` is an opened, uncut table (PageTable::open); the copy kept
    // here keeps its bytes alive.
    BackgroundPageCut(const PageTable &table, std::function<void()> found);
    ~BackgroundPageCut();
    BackgroundPageCut(const BackgroundPageCut &) = delete;
    BackgroundPageCut &operator=(const BackgroundPageCut &) = delete;

    Found take();
    // Waits until a stretch more is cut (or the cut is finished), at most
    // `milliseconds`.
    void wait(int milliseconds);
    qint64 total() const { return m_total; }

private:
    void run();

    const PageTable m_table;
    const qint64 m_total;
    std::function<void()> m_found;
    std::atomic<bool> m_stop {false};
    std::mutex m_mutex;
    std::condition_variable m_cut;
    Found m_pending; // guarded by m_mutex
    std::thread m_thread;
};
