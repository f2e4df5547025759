#include "watch/WriterWatch.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <sys/inotify.h>
#include <unistd.h>

WriterWatch::WriterWatch(QObject *parent)
    : QObject(parent)
{
}

WriterWatch::~WriterWatch()
{
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

bool WriterWatch::start(const QString &path)
{
    const QFileInfo file(path);
    m_name = file.fileName();
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return false;
    if (::inotify_add_watch(m_fd, QFile::encodeName(file.absolutePath()).constData(),
            IN_OPEN | IN_MODIFY | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO) < 0) {
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &WriterWatch::readEvents);
    return true;
}

bool WriterWatch::beingWritten() const
{
    return m_written && m_open > 0 && m_told.isValid() && m_told.elapsed() < LongestWait;
}

void WriterWatch::readEvents()
{
    alignas(inotify_event) char events[8192];
    bool closedNow = false;
    for (;;) {
        const ssize_t got = ::read(m_fd, events, sizeof events);
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(events + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) { // closes may be lost
                m_open = 0;
                m_written = false;
                continue;
            }
            if (event->len == 0 || QFile::decodeName(event->name) != m_name)
                continue;
            m_told.start();
            // A name removed, or put in place by a rename: a new file, of
            // which nothing is known to be open.
            if (event->mask & (IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO)) {
                m_open = 0;
                m_written = false;
            }
            if (event->mask & IN_OPEN)
                ++m_open;
            if (event->mask & IN_MODIFY)
                m_written = true;
            if (event->mask & IN_CLOSE_NOWRITE)
                m_open = qMax(0, m_open - 1);
            // (The kernel merges like closes that follow each other: a
            // writer's close ends the wait whatever was counted.)
            if (event->mask & IN_CLOSE_WRITE) {
                m_open = 0;
                m_written = false;
                closedNow = true;
            }
        }
    }
    if (closedNow)
        emit closed();
}
