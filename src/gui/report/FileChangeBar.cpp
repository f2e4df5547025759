#include "gui/report/FileChangeBar.h"

#include "gui/platform/FirstPaint.h"
#include "watch/OpenWriters.h"

#include <QFile>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

bool statOf(const QString &path, struct stat *st)
{
    return ::stat(QFile::encodeName(path).constData(), st) == 0;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size
        && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

} // namespace

FileChangeBar::FileChangeBar(QWidget *parent)
    : QuietBar(QStringLiteral("FileChangeBar"), parent)
    , m_watcher(new QFileSystemWatcher(this))
    , m_settleTimer(new QTimer(this))
{
    m_text->setText(tr("The file changed on disk; the view shows it as it was loaded."));
    auto *reload = new QPushButton(tr("&Reload"), this);
    reload->setObjectName(QStringLiteral("CmdReload"));
    row()->addWidget(reload);
    connect(reload, &QPushButton::clicked, this, &FileChangeBar::reloadRequested);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &FileChangeBar::check);
    m_settleTimer->setInterval(1000);
    connect(m_settleTimer, &QTimer::timeout, this, &FileChangeBar::settle);
    hide();
}

void FileChangeBar::watch(const QString &path)
{
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    m_path = path;
    m_watching = false;
    m_settleTimer->stop();
    hide();
    if (!statOf(path, &m_loaded))
        return;
    // The kernel's watch is set once the view is drawn: it is not needed
    // for the first picture, and a process that holds one waits for the
    // kernel to let it go when it ends (milliseconds). A change meanwhile
    // shows then, measured against the file as it was loaded.
    const quint64 watchNumber = ++m_watchNumber;
    FirstPaint::then(this, this, [this, watchNumber] {
        if (watchNumber != m_watchNumber)
            return; // another file, or the same loaded again, since
        m_watching = true;
        m_watcher->addPath(m_path);
        check();
    });
}

void FileChangeBar::check()
{
    if (m_path.isEmpty())
        return;
    struct stat now {};
    const bool there = statOf(m_path, &now);
    if (there && m_watching && m_watcher->files().isEmpty())
        m_watcher->addPath(m_path); // written anew under the name: the watch follows the name
    if (there && sameFile(now, m_loaded))
        return;
    // Written anew in place, the file is read as it is now wherever the
    // view reads it again: it no longer shows the file as loaded.
    const bool inPlace = there && now.st_dev == m_loaded.st_dev && now.st_ino == m_loaded.st_ino;
    m_text->setText(inPlace ? tr("The file was written again on disk; reload it to read it whole.")
                            : tr("The file changed on disk; the view shows it as it was loaded."));
    if (isHidden()) {
        show();
        raise();
    }
    m_last = now;
    if (m_reloadsItself && !m_settleTimer->isActive())
        m_settleTimer->start();
}

void FileChangeBar::settle()
{
    struct stat now {};
    const bool there = statOf(m_path, &now);
    if (!there || now.st_size == 0 || !sameFile(now, m_last) || OpenWriters::isOpenForWriting(m_path)) {
        m_last = now; // still being written: look again in a second
        return;
    }
    m_settleTimer->stop();
    emit reloadRequested();
}
