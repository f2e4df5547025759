#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <memory>

class QSocketNotifier;
struct inotify_event;

// Watches one folder and reports each new print file once it is complete:
// its size and modification time have stayed the same for the settle interval
// and no process of this user has it open for writing, nor has any writer
// that wrote it since the watch began left it unclosed (the kernel tells of
// every user's opens and closes; their open files cannot be seen unless we
// are root), waited for at most LongestWait without news of it.
//
// - Files present when watching starts are not reported (they are old jobs),
//   unless setReportExisting(true) asks for them (a converter catching up).
// - Hidden names (starting with a dot, as writers name unfinished files) and
//   anything that is not a regular file (folders, links, FIFOs) are ignored.
// - A name is reported once while it stays in the folder; a file deleted and
//   written again under the same name counts as new, and so does one put in
//   its place (a rename over it) or written anew in place (as a DOS program
//   printing to a fixed file name does: the folder itself does not change).
// The file system watcher gives the folder's changes at once, and the
// kernel's watch of writes those to its files; a rescan every two seconds
// catches what they miss (network folders).
class PrintFileWatcher : public QObject
{
    Q_OBJECT

public:
    explicit PrintFileWatcher(QObject *parent = nullptr);
    ~PrintFileWatcher() override;

    // Starts watching `folder`, instead of any folder watched before. False,
    // with an error text naming the folder and the cause, when it is not a
    // readable folder.
    bool start(const QString &folder, QString *error = nullptr);
    // Why a folder cannot be watched ("Cannot watch F: no such folder"), or
    // nothing when it can.
    static QString folderProblem(const QString &folder);
    void stop();
    QString folder() const { return m_folder; }

    // How long a new file must stay unchanged (milliseconds, default 500).
    void setSettleInterval(int msec);
    // Whether the files already there when start() is called are reported
    // too, once complete (default false). Takes effect at the next start().
    void setReportExisting(bool report) { m_reportExisting = report; }
    // A file its owner moved out of the folder (`path`, as reported): gone,
    // whatever the next listing shows. Moved back before the folder was
    // listed again, it is the same file (inode, size and time), and would
    // have been taken for the one reported before.
    void forget(const QString &path);

signals:
    // A new, complete file (absolute path); several at once come in name order.
    void fileReady(const QString &path);
    // A name that is not UTF-8 (the path shows it read as Latin-1): no file
    // of it can be opened. Said once while it stays; the file is left as it is.
    void nameNotUtf8(const QString &path);

private:
    // A file as it was when it was reported or found there (size -1: a
    // name ignored for good, hidden or not a regular file).
    struct Known
    {
        qint64 size = -1;
        qint64 modified = 0; // nanoseconds
        quint64 inode = 0;
        bool operator==(const Known &o) const { return size == o.size && modified == o.modified && inode == o.inode; }
    };
    static Known knownOf(const QString &path);

    struct Pending
    {
        qint64 size = -1;
        qint64 modified = 0; // nanoseconds
        QElapsedTimer unchanged;
    };

    // The folder's names in name order; those that are not UTF-8, which Qt
    // neither lists nor opens, into `notUtf8` (read as Latin-1, to be shown).
    // False when the folder cannot be listed for now (no descriptor free).
    bool listNames(QStringList *names, QSet<QString> *notUtf8 = nullptr) const;
    void scan();
    void rescan();
    void checkPending();
    void fileChanged(const QString &path);
    void writeEvent(const inotify_event &event);
    void watchWrites();

    QString m_folder;
    int m_settle = 500;
    bool m_reportExisting = false;
    QFileSystemWatcher m_watcher;
    int m_writes = -1; // the kernel's news of writes to the folder's files
    std::unique_ptr<QSocketNotifier> m_writesNotifier;
    QTimer m_checkTimer; // the pending files, while there are any
    QTimer m_rescanTimer;
    QTimer m_scanSoon; // the folder listed after a burst of changes
    QHash<QString, Known> m_known; // present at start, reported or ignored
    QSet<QString> m_notUtf8; // the names not UTF-8 already said (as Latin-1)
    QHash<QString, Pending> m_pending;
    // What the kernel told of a name's opens and closes: how many are open
    // (in any mode, by anyone), whether it was written since the last close
    // of a writer, and how long ago it last told anything of it.
    struct Opened
    {
        int open = 0;
        bool written = false;
        QElapsedTimer told;
    };
    // How long a job written to and not closed is waited for without a word
    // of it from the kernel: its counts may be wrong (it merges like events
    // that follow each other), and a job must not wait for ever.
    static constexpr int LongestWait = 60000;
    QHash<QString, Opened> m_opened;
    bool beingWritten(const QString &name) const;
    qint64 m_folderStamp = 0; // the folder's time stamps at the last rescan
    bool m_unlisted = false; // the last scan could not list the folder
};
