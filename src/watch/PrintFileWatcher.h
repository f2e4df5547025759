#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

// Watches one folder and reports each new print file once it is complete:
// its size and modification time have stayed the same for the settle interval
// and no process of this user has it open for writing.
//
// - Files present when watching starts are not reported (they are old jobs),
//   unless setReportExisting(true) asks for them (a converter catching up).
// - Hidden names (starting with a dot, as writers name unfinished files) and
//   anything that is not a regular file (folders, links, FIFOs) are ignored.
// - A name is reported once while it stays in the folder; a file deleted and
//   written again under the same name counts as new.
// The file system watcher gives the changes at once; a rescan every two
// seconds catches what it misses (network folders).
class PrintFileWatcher : public QObject
{
    Q_OBJECT

public:
    explicit PrintFileWatcher(QObject *parent = nullptr);

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

signals:
    // A new, complete file (absolute path); several at once come in name order.
    void fileReady(const QString &path);

private:
    struct Pending
    {
        qint64 size = -1;
        qint64 modified = 0; // nanoseconds
        QElapsedTimer unchanged;
    };

    QStringList listNames() const;
    void scan();
    void rescan();
    void checkPending();

    QString m_folder;
    int m_settle = 500;
    bool m_reportExisting = false;
    QFileSystemWatcher m_watcher;
    QTimer m_checkTimer; // the pending files, while there are any
    QTimer m_rescanTimer;
    QTimer m_scanSoon; // the folder listed after a burst of changes
    QSet<QString> m_known; // present at start, reported or ignored
    QHash<QString, Pending> m_pending;
    qint64 m_folderStamp = 0; // the folder's time stamps at the last rescan
};
