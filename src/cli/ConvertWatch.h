#pragma once

#include "cli/ConvertBatch.h"
#include "cli/ConvertJobs.h"
#include "cli/StopSignals.h"
#include "watch/ConvertedJobs.h"
#include "watch/PrintFileWatcher.h"
#include "watch/RulesKeeper.h"
#include "watch/WatchTemporary.h"
#include "watch/WriterWatch.h"

#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <utility>

namespace CommandLine {

// What a job's actions came to, on the thread that carried them out.
struct ActionsResult
{
    bool started = false; // false: the watch stopped before they began
    bool jobGone = false;  // the job was taken out of the spool: nothing was done
    QString markError;    // the acting mark not written: nothing was done
    bool ok = false;
    QString output;  // where the PDF is now
    QString message; // why they failed
};

// One watch of a folder: each print file that comes into it is converted
// into the output folder by a convert process of its own, and then recorded
// (and moved to done when asked), or moved to failed with a log beside it.
class ConvertWatch
{
public:
    ConvertWatch(const ConvertBatch &watch, const QDir &outDir, RulesKeeper &rules)
        : m_watch(watch)
        , m_outDir(outDir)
        , m_converted(outDir.absolutePath())
        , m_options(watch.options)
        , m_rulesPath(takeRules(&m_options))
        , m_rules(rules)
        , m_jobs(m_options, watch.parallel)
    {
        // Actions wait on other programs and servers, not on the
        // processors: a mail transport that hangs leaves room for the
        // other jobs' actions.
        m_actions.setMaxThreadCount(qMax(ActionsAtOnce, watch.parallel));
    }

    // Watches until a stop signal; the status to exit with.
    int run();

    // The value of --rules among convert's options, taken out of them.
    static QString takeRules(QStringList *options);

private:
    // How many jobs' actions may run at once: as many as come, nearly (a
    // thread each, which mostly waits on a mail transport or a print server),
    // so that transports that hang hold up no job that needs none.
    static constexpr int ActionsAtOnce = 256;

    void startJob(const QString &job);
    bool rulesUnsettled();
    void startWaitingJobs(bool anyway);
    QString rulesStamp() const;
    void jobFinished(const QString &job, const QString &written, bool converterOk, const QString &converterMessage,
        const QStringList &notes);
    void startActions(const QString &job, const QString &planPath, const QString &written, const QString &key);
    void actionsEnded(const QString &job, const QString &planPath, const QString &written, const ActionsResult &result);
    void stop();
    void recordConverted(const QString &job, const QString &output);
    void moveFailed(const QString &job, const QString &output, const QString &message, bool converted = false);
    void forgetMoved(const QString &job, const QString &movedTo);
    void moveDone(const QString &job, const QString &what);

    const ConvertBatch &m_watch;
    const QDir m_outDir;
    ConvertedJobs m_converted;
    StopSignals m_stopSignals; // before the rules and jobs: the threads started later hold the signals back too
    QStringList m_options;     // convert's options, --rules taken out
    const QString m_rulesPath;
    RulesKeeper &m_rules; // read before the watch began
    QTemporaryDir m_plans {WatchTemporary::folderTemplate()}; // each conversion's plan, carried out here
    QHash<QString, QString> m_planOf; // by output
    int m_planned = 0;
    ConvertJobs m_jobs;
    QSet<QString> m_converting; // the outputs of the conversions running
    QHash<QString, QFile::Permissions> m_jobModes; // by output: its job's, as the conversion began
    // By output: its job and the job's record key as the conversion began.
    QHash<QString, std::pair<QString, QString>> m_jobKeys;
    QSet<QString> m_writtenAnew; // jobs written anew while converted: their outputs prove nothing
    QHash<QString, QString> m_notes; // by job: its conversion's notes, said with its line
    QFileSystemWatcher m_rulesWatch; // the rules file and its folder: a change is read and said at once
    WriterWatch m_rulesWriter;       // ... not while a writer holds it, its pauses no end of it
    QTimer m_rulesSettle;            // ... once the file has been still for RulesSettleMs
    static constexpr int RulesSettleMs = 300;
    QString m_rulesStamp;              // the rules file's identity and last change, as last seen
    QStringList m_awaitingRules;       // jobs come while the rules file was being written
    QTimer m_rulesLongest;             // ... wait this long at most, then go on under the rules in force
    static constexpr int RulesLongestWaitMs = 5000;
    bool m_startingAnyway = false;     // (while they do)
    PrintFileWatcher m_watcher;
    QHash<QString, QString> m_acting; // the jobs whose actions run, and their record keys as converted
    QSet<QString> m_toldWhileActing; // of those, the ones the folder's watch told of again
    QSet<QString> m_saidLeft; // failed jobs left in the folder, said to be there
    std::atomic_bool m_stopping {false};
    QObject m_results; // the actions' outcomes come back to this thread through it
    QThreadPool m_actions; // the rules' actions (last: it waits for them as it goes)
};

} // namespace CommandLine
