#pragma once

#include "gui/report/QuietBar.h"

#include <sys/stat.h>

class QFileSystemWatcher;
class QLabel;
class QTimer;

// The quiet bar of a report view whose print file changed on disk (cut
// short, written anew or replaced by another program): the view keeps what
// it loaded, and the bar says so and offers Reload. In a watch-mode view the
// bar reloads by itself once the file is complete again: unchanged for a
// second and open for writing nowhere.
class FileChangeBar : public QuietBar
{
    Q_OBJECT

public:
    explicit FileChangeBar(QWidget *parent = nullptr);

    // Watches the file as it is now, just loaded (from the view's first
    // picture on); hides the bar.
    void watch(const QString &path);
    void setReloadsItself(bool on) { m_reloadsItself = on; }
    // Looks at the file now (a page is about to be read from it).
    void check();

signals:
    void reloadRequested();

private:
    void settle();

    QFileSystemWatcher *m_watcher;
    QTimer *m_settleTimer;
    QString m_path;
    struct stat m_loaded {}; // the file as it was loaded
    struct stat m_last {};   // as the last look found it
    bool m_reloadsItself = false;
    quint64 m_watchNumber = 0; // of the last watch(), whose kernel watch is set once the view is drawn
    bool m_watching = false;   // that kernel watch is set
};
