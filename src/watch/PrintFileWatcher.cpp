#include "watch/PrintFileWatcher.h"

#include "watch/OpenWriters.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <ctime>
#include <dirent.h>
#include <memory>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int RescanMsec = 2000;

// lstat of `path`: false when it is gone or not a regular file (a link too).
bool regularFile(const QString &path, struct stat *st)
{
    return ::lstat(QFile::encodeName(path).constData(), st) == 0 && S_ISREG(st->st_mode);
}

qint64 modifiedNsec(const struct stat &st)
{
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

} // namespace

PrintFileWatcher::Known PrintFileWatcher::knownOf(const QString &path)
{
    struct stat st;
    if (QFileInfo(path).fileName().startsWith(QLatin1Char('.')) || !regularFile(path, &st))
        return {};
    return {qint64(st.st_size), modifiedNsec(st), quint64(st.st_ino)};
}

PrintFileWatcher::PrintFileWatcher(QObject *parent)
    : QObject(parent)
{
    // A batch of files is many changes in a row: they are listed once, a
    // moment after the first.
    m_scanSoon.setSingleShot(true);
    m_scanSoon.setInterval(20);
    connect(&m_scanSoon, &QTimer::timeout, this, &PrintFileWatcher::scan);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!m_scanSoon.isActive())
            m_scanSoon.start();
    });
    connect(&m_checkTimer, &QTimer::timeout, this, &PrintFileWatcher::checkPending);
    connect(&m_rescanTimer, &QTimer::timeout, this, &PrintFileWatcher::rescan);
    m_checkTimer.setInterval(m_settle / 2);
    m_rescanTimer.setInterval(RescanMsec);
}

PrintFileWatcher::~PrintFileWatcher()
{
    stop();
}

QString PrintFileWatcher::folderProblem(const QString &folder)
{
    const QFileInfo info(folder);
    QString cause;
    if (!info.exists())
        cause = tr("no such folder");
    else if (!info.isDir())
        cause = tr("not a folder");
    else if (!info.isReadable() || !info.isExecutable())
        cause = tr("permission denied");
    return cause.isEmpty() ? cause : tr("Cannot watch %1: %2").arg(folder, cause);
}

bool PrintFileWatcher::start(const QString &folder, QString *error)
{
    stop();
    const QString problem = folderProblem(folder);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    const QFileInfo info(folder);
    m_folder = info.absoluteFilePath();
    if (!m_reportExisting) {
        QStringList names;
        listNames(&names, &m_notUtf8);
        for (const QString &name : std::as_const(names))
            m_known.insert(name, knownOf(m_folder + QLatin1Char('/') + name));
    }
    m_watcher.addPath(m_folder); // when it fails, the rescan still sees new files
    watchWrites();
    m_rescanTimer.start();
    if (m_reportExisting)
        scan();
    return true;
}

void PrintFileWatcher::stop()
{
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_writesNotifier.reset();
    if (m_writes >= 0)
        ::close(m_writes);
    m_writes = -1;
    m_rescanTimer.stop();
    m_checkTimer.stop();
    m_scanSoon.stop();
    m_known.clear();
    m_notUtf8.clear();
    m_pending.clear();
    m_opened.clear();
    m_folder.clear();
}

void PrintFileWatcher::forget(const QString &path)
{
    if (m_folder.isEmpty() || !path.startsWith(m_folder + QLatin1Char('/')))
        return;
    const QString name = path.mid(m_folder.size() + 1);
    m_known.remove(name);
    m_pending.remove(name);
    m_opened.remove(name);
    // Back already, the folder's watch may have told of it before this:
    // it is listed again.
    if (!m_scanSoon.isActive())
        m_scanSoon.start();
}

void PrintFileWatcher::setSettleInterval(int msec)
{
    m_settle = qMax(1, msec);
    m_checkTimer.setInterval(qMax(1, m_settle / 2));
}

bool PrintFileWatcher::listNames(QStringList *names, QSet<QString> *notUtf8) const
{
    const std::unique_ptr<DIR, int (*)(DIR *)> folder(::opendir(QFile::encodeName(m_folder).constData()), ::closedir);
    if (!folder)
        return false;
    while (const dirent *entry = ::readdir(folder.get())) {
        const QByteArrayView name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        if (name.isValidUtf8())
            names->append(QFile::decodeName(entry->d_name));
        else if (notUtf8)
            notUtf8->insert(QString::fromLatin1(name));
    }
    names->sort();
    return true;
}

void PrintFileWatcher::rescan()
{
    // The folder is listed again only when it changed: its time stamps say
    // so, also on a network folder the file system watcher does not hear
    // from. A stamp still fresh may hide a second change in the same tick.
    struct stat st;
    if (::stat(QFile::encodeName(m_folder).constData(), &st) == 0) {
        const qint64 stamp = modifiedNsec(st) ^ (qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec);
        const bool fresh = std::time(nullptr) - qMax(st.st_mtim.tv_sec, st.st_ctim.tv_sec) < 3;
        if (stamp == m_folderStamp && !fresh && !m_unlisted)
            return;
        m_folderStamp = stamp;
    }
    scan();
}

void PrintFileWatcher::scan()
{
    if (m_folder.isEmpty())
        return;
    QSet<QString> notUtf8;
    QStringList names;
    if (!listNames(&names, &notUtf8)) {
        // Nothing is known to have gone: the next rescan lists it again.
        m_unlisted = true;
        return;
    }
    m_unlisted = false;
    const QSet<QString> present(names.begin(), names.end());
    // A name that has gone is forgotten: written again, it is a new file.
    // A file put in its place, or written anew, is new too.
    for (auto it = m_known.begin(); it != m_known.end();) {
        const bool stays = present.contains(it.key())
            && (it->size < 0 || knownOf(m_folder + QLatin1Char('/') + it.key()) == *it);
        it = stays ? std::next(it) : m_known.erase(it);
    }
    m_notUtf8.intersect(notUtf8);
    QStringList unsaid(notUtf8.begin(), notUtf8.end());
    unsaid.sort();
    for (const QString &name : std::as_const(unsaid)) {
        if (!m_notUtf8.contains(name)) {
            m_notUtf8.insert(name);
            emit nameNotUtf8(m_folder + QLatin1Char('/') + name);
        }
    }
    for (auto it = m_pending.begin(); it != m_pending.end();)
        it = present.contains(it.key()) ? std::next(it) : m_pending.erase(it);

    for (const QString &name : names) {
        if (m_known.contains(name) || m_pending.contains(name))
            continue;
        struct stat st;
        if (name.startsWith(QLatin1Char('.')) || !regularFile(m_folder + QLatin1Char('/') + name, &st)) {
            m_known.insert(name, Known());
            continue;
        }
        Pending &file = m_pending[name];
        file.size = st.st_size;
        file.modified = modifiedNsec(st);
        file.unchanged.start();
    }
    if (!m_pending.isEmpty() && !m_checkTimer.isActive())
        m_checkTimer.start();
}

void PrintFileWatcher::checkPending()
{
    QStringList settled;
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        const QString path = m_folder + QLatin1Char('/') + it.key();
        struct stat st;
        if (!regularFile(path, &st)) { // gone, or replaced by something else
            m_known.insert(it.key(), Known());
            m_opened.remove(it.key());
            it = m_pending.erase(it);
            continue;
        }
        Pending &file = it.value();
        if (st.st_size != file.size || modifiedNsec(st) != file.modified) {
            file.size = st.st_size;
            file.modified = modifiedNsec(st);
            file.unchanged.start();
        } else if (file.unchanged.elapsed() >= m_settle) {
            settled.append(path);
        }
        ++it;
    }
    // One walk of the open files for every settled file of this round. One
    // still open for writing is looked at again a settle interval later, so
    // a writer that keeps a file open does not make us walk them often.
    const QSet<QString> writing = settled.isEmpty() ? QSet<QString>() : OpenWriters::openForWriting(settled);
    QStringList ready;
    for (const QString &path : std::as_const(settled)) {
        const QString name = path.mid(m_folder.size() + 1);
        if (writing.contains(path) || beingWritten(name)) {
            m_pending[name].unchanged.start();
            continue;
        }
        ready.append(name);
        m_known.insert(name, knownOf(path));
        m_pending.remove(name);
    }
    if (m_pending.isEmpty())
        m_checkTimer.stop();
    ready.sort();
    for (const QString &name : std::as_const(ready))
        emit fileReady(m_folder + QLatin1Char('/') + name);
}

void PrintFileWatcher::watchWrites()
{
    // The folder's own watch hears of names coming and going, not of a file
    // written anew in place: the kernel is asked for the writes of the
    // folder's files as well, one watch for them all.
    m_writes = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_writes < 0)
        return; // the rescan still sees a job put in a known one's place
    if (::inotify_add_watch(m_writes, QFile::encodeName(m_folder).constData(),
            IN_OPEN | IN_MODIFY | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO) < 0) {
        ::close(m_writes);
        m_writes = -1;
        return;
    }
    m_writesNotifier = std::make_unique<QSocketNotifier>(m_writes, QSocketNotifier::Read);
    connect(m_writesNotifier.get(), &QSocketNotifier::activated, this, [this] {
        alignas(inotify_event) char events[16384];
        for (;;) {
            const ssize_t got = ::read(m_writes, events, sizeof events);
            if (got <= 0)
                break;
            for (ssize_t at = 0; at < got;) {
                const auto *event = reinterpret_cast<const inotify_event *>(events + at);
                writeEvent(*event);
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
    });
}

// An open, a write or a close of one of the folder's files, or a name gone
// or come. A file written to while it is open stays open for writing until
// its writer's close: its pauses are not its end, whoever the writer is
// (another user's open files are hidden from OpenWriters unless we are
// root). A write with nothing open (a truncate by name) leaves no writer
// to wait for, and a name removed or put in place by a rename is a file of
// which nothing is known to be open.
void PrintFileWatcher::writeEvent(const inotify_event &event)
{
    if (event.mask & IN_Q_OVERFLOW) { // closes may be lost: the settle time alone decides
        m_opened.clear();
        return;
    }
    if (event.len == 0)
        return;
    const QString name = QFile::decodeName(event.name);
    if (event.mask & (IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO)) {
        m_opened.remove(name);
    } else if (event.mask & (IN_OPEN | IN_MODIFY | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) {
        Opened &file = m_opened[name];
        file.told.start();
        if (event.mask & IN_OPEN)
            ++file.open;
        if (event.mask & IN_MODIFY)
            file.written = true;
        if (event.mask & IN_CLOSE_NOWRITE)
            file.open = qMax(0, file.open - 1); // (opened before the watch began: not counted)
        // A writer's close ends the wait: the kernel merges like closes that
        // follow each other, so those of a writer's two descriptors came as
        // one and left an open counted for ever.
        if (event.mask & IN_CLOSE_WRITE) {
            file.open = 0;
            file.written = false;
        }
        if (file.open == 0 && !file.written)
            m_opened.remove(name);
    }
    if (event.mask & (IN_MODIFY | IN_CLOSE_WRITE))
        fileChanged(m_folder + QLatin1Char('/') + name);
}

bool PrintFileWatcher::beingWritten(const QString &name) const
{
    const auto it = m_opened.constFind(name);
    return it != m_opened.cend() && it->written && it->open > 0 && it->told.elapsed() < LongestWait;
}

void PrintFileWatcher::fileChanged(const QString &path)
{
    // A known file written anew in place leaves the folder as it was, so it
    // is listed now; it is then new until it is reported, and its further
    // writes are the pending file's.
    const auto it = m_known.constFind(path.mid(m_folder.size() + 1));
    if (it == m_known.cend() || it->size < 0 || knownOf(path) == *it)
        return;
    if (!m_scanSoon.isActive())
        m_scanSoon.start();
}
