#include "cli/ConvertBatch.h"

#include "cli/CliSupport.h"
#include "cli/ConvertJobs.h"
#include "cli/ConvertRules.h"
#include "cli/StopSignals.h"
#include "watch/ConvertedJobs.h"
#include "watch/FolderLock.h"
#include "watch/WatchTemporary.h"
#include "rules/RuleActions.h"
#include "watch/JobArchive.h"
#include "watch/JobInfo.h"
#include "watch/PrintFileWatcher.h"
#include "watch/RulesKeeper.h"
#include "platform/FileChecks.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSet>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <sys/stat.h>
#include <utility>

namespace CommandLine {

namespace {

QString logText(const QString &job, const QString &output, const QStringList &options, const QString &message)
{
    return QStringLiteral("time: %1\njob: %2\noutput: %3\nconvert options: %4\n\n%5\n")
        .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODate), job, output,
            options.join(QLatin1Char(' ')), message);
}

// The log's last line for a failed job that has details (`movedTo`, from
// the watched folder `spool`): how to put it back with them. The side file
// is hidden, and a job put back without it had lost its user and title.
QString putBackLine(const QString &movedTo, const QString &spool)
{
    const QString side = jobInfoPath(movedTo);
    if (!QFileInfo::exists(side))
        return QString();
    const auto quoted = [](QString path) { return QLatin1Char('\'') + path.replace(QLatin1Char('\''), QStringLiteral("'\\''")) + QLatin1Char('\''); };
    return QStringLiteral("\nto convert it again, put it back with its details: mv %1 %2 %3/\n")
        .arg(quoted(movedTo), quoted(side), quoted(QFileInfo(spool).absoluteFilePath()));
}

// The value of --rules among convert's options, taken out of them.
QString takeRules(QStringList *options)
{
    const qsizetype at = options->indexOf(QStringLiteral("--rules"));
    if (at < 0 || at + 1 >= options->size())
        return QString();
    const QString path = options->at(at + 1);
    options->remove(at, 2);
    return path;
}

// How many jobs' actions may run at once: as many as come, nearly (a
// thread each, which mostly waits on a mail transport or a print server),
// so that transports that hang hold up no job that needs none.
constexpr int ActionsAtOnce = 256;

// What a job's actions came to, on the thread that carried them out.
struct ActionsResult
{
    bool started = false; // false: the watch stopped before they began
    bool jobGone = false;  // the job was taken out of the spool: nothing was done
    QString markError;    // the acting mark not written
    bool ok = false;
    QString output;  // where the PDF is now
    QString message; // why they failed
};

// The conversion only planned; filing, mail and printing are done here,
// where the service's rights are, on a thread of the watch's pool: a mail
// transport that hangs holds up no other job, and a stop ends it.
// The job is marked as acting first: a watch killed before they end does
// not take its PDF for the whole of it at the next start.
ActionsResult carryOutPlan(const QString &job, const QString &planPath, const QString &written,
    const QString &outDir, const std::atomic_bool &stopping)
{
    ActionsResult result;
    result.output = written;
    if (stopping.load())
        return result;
    // A job taken out of the spool while it was converted (a wrong invoice
    // an administrator removed) is not filed, mailed or printed.
    if (!QFileInfo::exists(job)) {
        result.jobGone = true;
        return result;
    }
    result.started = true;
    if (!ConvertedJobs::writeMark(outDir, job, ConvertedJobs::State::Acting, &result.markError))
        result.markError = QStringLiteral("its rule's actions are not recorded as begun: %1").arg(result.markError);
    RulePlan plan;
    QFile planFile(planPath);
    if (!planFile.open(QIODevice::ReadOnly) || !RulePlan::fromJson(planFile.readAll(), &plan)) {
        result.message = QStringLiteral("%1: the conversion left no plan").arg(job);
        return result;
    }
    const RuleActionsOutcome outcome = applyRulePlan(plan, written, &stopping);
    result.output = outcome.pdfPath;
    result.ok = outcome.ok();
    if (!result.ok) {
        const QStringList done = outcome.done();
        result.message = outcome.failures(plan.rule).join(QStringLiteral("; "))
            + QStringLiteral("; the PDF is %1").arg(outcome.pdfPath)
            + (done.isEmpty() ? QString()
                              : QStringLiteral("; done all the same (again if the job is put back): %1")
                                    .arg(done.join(QStringLiteral(", "))));
    }
    return result;
}

// A job's output without rules: its own name, and its title when it has one.
QString outputName(const QString &job, const QString &extension)
{
    JobInfo info;
    readJobInfo(job, &info, nullptr);
    const QString pdf = defaultPdfName(job, info.title);
    return pdf.left(pdf.size() - 3) + extension;
}

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

private:
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
    std::atomic_bool m_stopping {false};
    QObject m_results; // the actions' outcomes come back to this thread through it
    QThreadPool m_actions; // the rules' actions (last: it waits for them as it goes)
};

int ConvertWatch::run()
{
    QObject::connect(&m_stopSignals, &StopSignals::stopped, [this] { stop(); });
    if (!m_rulesPath.isEmpty()) {
        // An edited rules file is read (and its faults said) when it is
        // saved, not only when the next job comes. Its folder is watched
        // too: an editor that saves by replacing the file ends a watch of
        // the file itself.
        // It is read once it has been still for a moment: an editor that
        // writes in place empties the file first, and rules read then (an
        // empty file is a valid one) would have stayed in force when the
        // whole file had faults.
        m_rulesSettle.setSingleShot(true);
        m_rulesSettle.setInterval(RulesSettleMs);
        QObject::connect(&m_rulesSettle, &QTimer::timeout, [this] {
            const QString note = m_rules.refresh();
            if (!note.isEmpty())
                CliSupport::report(note);
            startWaitingJobs(false);
        });
        // A file written again and again does not hold the jobs for ever.
        m_rulesLongest.setSingleShot(true);
        m_rulesLongest.setInterval(RulesLongestWaitMs);
        QObject::connect(&m_rulesLongest, &QTimer::timeout, [this] { startWaitingJobs(true); });
        const auto changed = [this] {
            if (QFileInfo::exists(m_rulesPath) && !m_rulesWatch.files().contains(m_rulesPath))
                m_rulesWatch.addPath(m_rulesPath);
            m_rulesSettle.start();
        };
        // Another file of the folder (the rules may lie beside the PDFs) is
        // no change of the rules: the jobs do not wait for it.
        const auto folderChanged = [this, changed] {
            const QString stamp = rulesStamp();
            if (stamp != m_rulesStamp) {
                m_rulesStamp = stamp;
                changed();
            }
        };
        m_rulesStamp = rulesStamp();
        m_rulesWatch.addPath(QFileInfo(m_rulesPath).absolutePath());
        m_rulesWatch.addPath(m_rulesPath);
        QObject::connect(&m_rulesWatch, &QFileSystemWatcher::fileChanged, changed);
        QObject::connect(&m_rulesWatch, &QFileSystemWatcher::directoryChanged, folderChanged);
    }
    QObject::connect(&m_jobs, &ConvertJobs::finished,
        [this](const QString &job, const QString &written, bool converterOk, const QString &converterMessage,
            const QStringList &notes) { jobFinished(job, written, converterOk, converterMessage, notes); });
    m_watcher.setReportExisting(true);
    QObject::connect(&m_watcher, &PrintFileWatcher::fileReady, [this](const QString &job) { startJob(job); });
    QObject::connect(&m_watcher, &PrintFileWatcher::nameNotUtf8, [](const QString &job) {
        CliSupport::report(QStringLiteral("%1: its name is not UTF-8 text, which the program reads names as, and it is "
                                          "left as it is; renamed (convmv -f latin1 -t utf-8 --notest NAME), it is converted")
                               .arg(job));
    });
    QString error;
    if (!m_watcher.start(m_watch.watchFolder, &error))
        return CliSupport::fail(error);
    return QCoreApplication::exec() == 0 ? int(Status::Done) : int(Status::Failed);
}

// True while the rules file is being written (changed within the last
// moment, or its change not read yet): a job that came then waits until it
// has been still, so that it is not converted under a file half written.
bool ConvertWatch::rulesUnsettled()
{
    if (m_rulesPath.isEmpty())
        return false;
    const QDateTime changed = QFileInfo(m_rulesPath).lastModified();
    const qint64 age = changed.isValid() ? changed.msecsTo(QDateTime::currentDateTime()) : RulesSettleMs;
    const bool recent = age < RulesSettleMs && age > -1000; // (a file dated ahead is no sign of writing)
    if (recent && !m_rulesSettle.isActive())
        m_rulesSettle.start();
    return recent || m_rulesSettle.isActive();
}

// The jobs that waited for the rules file: once it has been still, under
// what was read then; `anyway`, after the longest wait, under the rules in
// force while it is still being written.
void ConvertWatch::startWaitingJobs(bool anyway)
{
    m_startingAnyway = anyway;
    const QStringList waiting = std::exchange(m_awaitingRules, {});
    for (const QString &job : waiting)
        startJob(job);
    m_startingAnyway = false;
    if (m_awaitingRules.isEmpty())
        m_rulesLongest.stop();
}

// What tells one version of the rules file from another without reading
// it: its inode (a save by rename), size and last change.
QString ConvertWatch::rulesStamp() const
{
    struct stat st = {};
    if (::stat(QFile::encodeName(m_rulesPath).constData(), &st) != 0)
        return QString();
    return QStringLiteral("%1:%2:%3.%4")
        .arg(st.st_ino)
        .arg(st.st_size)
        .arg(st.st_mtim.tv_sec)
        .arg(st.st_mtim.tv_nsec);
}

// A job come into the folder: converted into a free name of the output
// folder, with a plan of its rule's actions when there are rules.
void ConvertWatch::startJob(const QString &job)
{
    const bool unsettled = rulesUnsettled();
    if (unsettled && !m_startingAnyway) {
        if (!m_awaitingRules.contains(job))
            m_awaitingRules << job;
        if (!m_rulesLongest.isActive())
            m_rulesLongest.start();
        return;
    }
    const QString name = outputName(job, m_watch.extension);
    // With rules, a PDF of the job's name is no sign that its actions were
    // done: only the record counts.
    if (m_acting.contains(job)) { // told again while its actions run: looked at when they end
        m_toldWhileActing.insert(job);
        return;
    }
    // Told again while it is converted, or after it was written anew then:
    // an output newer than the job may be of the version before.
    const bool converting = std::any_of(
        m_jobKeys.cbegin(), m_jobKeys.cend(), [&job](const std::pair<QString, QString> &j) { return j.first == job; });
    const bool outputsCount = m_rulesPath.isEmpty() && !m_writtenAnew.remove(job) && !converting;
    switch (m_converted.state(job, name, outputsCount)) {
    case ConvertedJobs::State::Converted:
        if (m_watch.moveDone)
            moveDone(job, QStringLiteral("converted before"));
        return;
    case ConvertedJobs::State::Failed: // copied to failed/ before; the same job stays as it is
        return;
    case ConvertedJobs::State::Acting:
        moveFailed(job, QString(),
            QStringLiteral("the watch ended while the actions of its rule were being carried out, and which of "
                           "them were done is not known; its PDF is in %1 or where its rule files it; put the job "
                           "back to convert it and do them all again")
                .arg(m_outDir.absolutePath()),
            true);
        return;
    case ConvertedJobs::State::New:
        break;
    }
    const QString output = JobArchive::freePath(m_outDir.absolutePath(), name, m_converting);
    m_converting.insert(output);
    m_jobModes.insert(output, QFileInfo(job).permissions());
    m_jobKeys.insert(output, {job, ConvertedJobs::keyOf(job)});
    QStringList own;
    if (!m_rulesPath.isEmpty()) {
        const QString note = unsettled ? QString() : m_rules.refresh(); // (not a file half written)
        if (!note.isEmpty())
            CliSupport::report(note);
        const QString planPath = m_plans.filePath(QStringLiteral("plan-%1.json").arg(++m_planned));
        m_planOf.insert(output, planPath);
        own << QStringLiteral("--rules") << m_rules.copyPath() << QStringLiteral("--rules-origin") << m_rulesPath
            << QStringLiteral("--rules-plan") << planPath;
    }
    m_jobs.add(job, output, own);
}

void ConvertWatch::jobFinished(const QString &job, const QString &written, bool converterOk,
    const QString &converterMessage, const QStringList &notes)
{
    m_converting.remove(written);
    // "JOB: note: this is a PostScript job ...": said on the job's own line.
    QStringList said;
    for (const QString &note : notes) {
        const QString own = job + QStringLiteral(": ");
        said << (note.startsWith(own) ? note.mid(own.size()) : note);
    }
    // Details the job's side file gave for its name, or that were not
    // taken (a rule's conversion says so itself).
    QString detailsProblem;
    JobInfo info;
    if (m_rulesPath.isEmpty() && !readJobInfo(job, &info, &detailsProblem) && !detailsProblem.isEmpty())
        said.prepend(QStringLiteral("note: the job's details are not taken: %1").arg(detailsProblem));
    if (said.isEmpty())
        m_notes.remove(job);
    else
        m_notes.insert(job, said.join(QStringLiteral("; ")));
    // The output is as private as its job (a spooler's jobs are 0640): the
    // converter made it by the watch's umask, open to all when started by
    // hand, also where a rule's delivery to a private folder then fails.
    // (The job's mode as its conversion began: it may be gone by now.)
    const QFile::Permissions jobMode = m_jobModes.take(written);
    if (!written.isEmpty() && QFileInfo(written).isFile() && jobMode != QFile::Permissions())
        QFile::setPermissions(
            written, jobMode & ~(QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther));
    const QString planPath = m_planOf.take(written);
    // Written anew while it was converted (a program printing to a fixed
    // name): what was made is of the version before, and the job as it is
    // now, told of again, is converted on its own. It is neither recorded
    // (the record would take the new version for done), nor failed (moving
    // the new version away), nor are its rule's actions done for it.
    const QString keyThen = m_jobKeys.take(written).second;
    const QString keyNow = ConvertedJobs::keyOf(job);
    if (!keyThen.isEmpty() && !keyNow.isEmpty() && keyNow != keyThen) {
        if (!planPath.isEmpty())
            QFile::remove(planPath);
        m_notes.remove(job);
        // Which version the converter read is not known: its output, newer
        // than the job, must not pass for the conversion of the job now.
        m_writtenAnew.insert(job);
        CliSupport::report(QStringLiteral("%1: written anew while it was converted (%2); the job as it is now is "
                                          "converted on its own")
                               .arg(job, converterOk ? QStringLiteral("what was made then is kept as %1").arg(written)
                                                     : QStringLiteral("that conversion failed")));
        return;
    }
    if (converterOk && !planPath.isEmpty()) {
        startActions(job, planPath, written, keyThen);
        return;
    }
    if (!planPath.isEmpty())
        QFile::remove(planPath);
    if (converterOk)
        recordConverted(job, written);
    else // a PDF made without its rule's forms is kept: the job is converted
        moveFailed(job, written, converterMessage, !written.isEmpty() && QFileInfo::exists(written));
}

void ConvertWatch::startActions(const QString &job, const QString &planPath, const QString &written, const QString &key)
{
    m_acting.insert(job, key);
    m_actions.start([this, job, planPath, written, outDir = m_outDir.absolutePath()] {
        const ActionsResult result = carryOutPlan(job, planPath, written, outDir, m_stopping);
        QMetaObject::invokeMethod(
            &m_results, [this, job, planPath, written, result] { actionsEnded(job, planPath, written, result); },
            Qt::QueuedConnection);
    });
}

void ConvertWatch::actionsEnded(
    const QString &job, const QString &planPath, const QString &written, const ActionsResult &result)
{
    const QString keyThen = m_acting.take(job);
    const bool toldAgain = m_toldWhileActing.remove(job);
    QFile::remove(planPath);
    if (!result.markError.isEmpty())
        CliSupport::report(QStringLiteral("%1: %2").arg(job, result.markError));
    QString error;
    if (result.jobGone || !result.started)
        m_notes.remove(job);
    if (result.jobGone) {
        CliSupport::report(QStringLiteral("%1: taken out of the spool while it was converted: its rule's actions "
                                          "were not carried out (nothing filed, mailed or printed); its PDF is %2")
                               .arg(job, written));
        return;
    }
    if (!result.started) {
        // Stopped before anything was done: the next start converts it anew.
        QFile::remove(written);
        if (!m_converted.mark(job, ConvertedJobs::State::New, &error))
            CliSupport::report(QStringLiteral("%1: %2").arg(job, error));
        return;
    }
    // Written anew while the actions ran: they were the version before's;
    // the record and failed/ are not for the job as it is now, which is
    // converted on its own (now, when the folder's watch told of it then).
    const QString keyNow = ConvertedJobs::keyOf(job);
    if (!keyThen.isEmpty() && !keyNow.isEmpty() && keyNow != keyThen) {
        m_notes.remove(job);
        CliSupport::report(QStringLiteral("%1: written anew while its rule's actions were carried out for the version "
                                          "before (%2); the job as it is now is converted on its own")
                               .arg(job, result.ok ? QStringLiteral("done, its PDF %1").arg(result.output)
                                                   : QStringLiteral("not all done: %1").arg(result.message)));
        if (toldAgain)
            startJob(job);
        return;
    }
    if (result.ok)
        recordConverted(job, result.output);
    else
        moveFailed(job, result.output, result.message, true);
}

// The conversions are stopped (what they wrote is left out) and the
// actions under way ended: a mail being handed over is stopped, a print
// being sent is waited for; their outcomes are told and recorded.
void ConvertWatch::stop()
{
    m_stopping = true;
    m_jobs.stopAll();
    m_actions.waitForDone();
    QCoreApplication::sendPostedEvents(&m_results, QEvent::MetaCall);
    QCoreApplication::exit(0);
}

void ConvertWatch::recordConverted(const QString &job, const QString &output)
{
    const QString note = m_notes.take(job);
    const QString what
        = QStringLiteral("converted to %1%2").arg(output, note.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(note));
    QString error;
    if (!m_converted.add(job, &error))
        CliSupport::report(QStringLiteral("%1: %2, but it is not recorded as converted: %3").arg(job, what, error));
    else if (!m_watch.moveDone)
        CliSupport::report(QStringLiteral("%1: %2").arg(job, what));
    if (m_watch.moveDone)
        moveDone(job, what);
}

// A job that did not convert, or whose rule's actions did not all work
// (`converted`), moves to DIR/failed, with a log of why beside it. One that
// cannot be taken out of the watched folder is marked as failed, so that it
// is not converted (and mailed) again at every start; one moved away can be
// put back to be converted anew.
void ConvertWatch::moveFailed(const QString &job, const QString &output, const QString &given, bool converted)
{
    const QString what = converted ? QStringLiteral("converted, but not all of its rule's actions were done")
                                   : QStringLiteral("not converted");
    const QString jobNote = m_notes.take(job);
    const QString message = jobNote.isEmpty() ? given : given + QStringLiteral("; ") + jobNote;
    QString movedTo;
    QString note;
    QString error;
    QString markError;
    if (!m_converted.mark(job, ConvertedJobs::State::New, &markError))
        note = markError;
    if (!JobArchive::moveInto(job, m_outDir.filePath(QStringLiteral("failed")), &movedTo, &note, &error)) {
        CliSupport::report(QStringLiteral("%1: %2 (%3), and %4").arg(job, what, message, error));
        return;
    }
    if (QFileInfo::exists(job) && !m_converted.mark(job, ConvertedJobs::State::Failed, &markError))
        note += (note.isEmpty() ? QString() : QStringLiteral("; ")) + markError;
    QString logError;
    const bool logged = JobArchive::writeText(
        movedTo + QStringLiteral(".log"),
        logText(job, output, m_watch.options, message) + putBackLine(movedTo, QFileInfo(job).absolutePath()), &logError,
        movedTo);
    CliSupport::report(QStringLiteral("%1: %2 (%3); the job is now %4%5%6")
                           .arg(job, what, message, movedTo, note.isEmpty() ? QString() : QStringLiteral("; ") + note,
                               logged ? QString() : QStringLiteral("; no log: ") + logError));
}

// A converted job moves to DIR/done; a job converted before the watch last
// stopped, but not moved yet, moves now.
void ConvertWatch::moveDone(const QString &job, const QString &what)
{
    QString movedTo;
    QString note;
    QString error;
    if (JobArchive::moveInto(job, m_outDir.filePath(QStringLiteral("done")), &movedTo, &note, &error))
        CliSupport::report(QStringLiteral("%1: %2; the job is now %3%4")
                               .arg(job, what, movedTo, note.isEmpty() ? QString() : QStringLiteral("; ") + note));
    else
        CliSupport::report(QStringLiteral("%1: %2, but %3").arg(job, what, error));
}

} // namespace

int runConvertWatch(const ConvertBatch &watch)
{
    const QDir outDir(QFileInfo(watch.outDir).absoluteFilePath());
    // A faulty rules file is refused before anything is made or taken.
    QStringList options = watch.options;
    const QString rulesPath = takeRules(&options);
    WatchTemporary::removeLeftOver(); // of watches killed outright
    RulesKeeper rules;
    QString rulesError;
    rules.setWithoutForms(!ConvertRules::printedLook(options));
    if (!rulesPath.isEmpty() && !rules.start(rulesPath, &rulesError))
        return CliSupport::fail(rulesError.replace(QLatin1Char('\n'), QStringLiteral("; "))); // one line, the faults apart
    // An empty file is valid (no rule), but may be an editor's save cut
    // short: said, as the running watch says it.
    if (!rulesPath.isEmpty() && QFileInfo(rulesPath).size() == 0)
        CliSupport::report(QStringLiteral("%1: the file is empty: no rule applies until it has one").arg(rulesPath));
    // Nor is an output folder made for a spool that is not there.
    const QString spoolProblem = PrintFileWatcher::folderProblem(watch.watchFolder);
    if (!spoolProblem.isEmpty())
        return CliSupport::fail(spoolProblem);
    QString folderError;
    if (!FileChecks::makeFolder(watch.outDir, &folderError))
        return CliSupport::fail(folderError);
    // A folder the watch may not write would fail every job: refused now.
    if (!QFileInfo(watch.outDir).isWritable())
        return CliSupport::fail(QStringLiteral("%1: the watch's user may not write into it").arg(watch.outDir));
    // In a folder everyone may write to, another user's link as the record,
    // done/ or failed/ would hide jobs as converted or take them away: the
    // watch will not work through it.
    for (const QString &name : {QString::fromLatin1(ConvertedJobs::FileName), QStringLiteral("done"), QStringLiteral("failed")}) {
        const QString path = outDir.absoluteFilePath(name);
        const QString planted = FileChecks::plantedLinkProblem(path);
        if (!planted.isEmpty())
            return CliSupport::fail(QStringLiteral("%1: %2").arg(path, planted));
    }
    if (QFileInfo(watch.outDir).canonicalFilePath() == QFileInfo(watch.watchFolder).canonicalFilePath())
        return CliSupport::fail(
            QStringLiteral("%1: the output folder cannot be the watched folder").arg(watch.outDir));
    // One watch converts into a folder, and one takes a spool's jobs: moves
    // them away, or files, mails and prints them by rules (a second one
    // would do all that a second time).
    const bool byRules = watch.options.contains(QStringLiteral("--rules"));
    FolderLock outputLock;
    FolderLock spoolLock;
    QString lockError;
    if (!outputLock.take(outDir.absolutePath(), QStringLiteral("converts into it"), &lockError)
        || ((watch.moveDone || byRules)
            && !spoolLock.take(QFileInfo(watch.watchFolder).absoluteFilePath(),
                watch.moveDone ? QStringLiteral("converts its jobs and moves them")
                               : QStringLiteral("takes its jobs (moves them, or carries out rules on them)"),
                &lockError)))
        return CliSupport::fail(lockError);
    ConvertWatch watching(watch, outDir, rules);
    return watching.run();
}

} // namespace CommandLine
