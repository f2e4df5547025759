#include "cli/ConvertWatch.h"

#include "cli/CliSupport.h"
#include "cli/ConvertRules.h"
#include "export/PngExport.h"
#include "rules/RulePlan.h"
#include "watch/JobArchive.h"
#include "watch/JobInfo.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <sys/stat.h>

namespace CommandLine {

namespace {

// A job's output without rules: its own name, and its title when it has one.
QString outputName(const QString &job, const QString &extension)
{
    JobInfo info;
    readJobInfo(job, &info, nullptr);
    const QString pdf = defaultPdfName(job, info.title);
    return pdf.left(pdf.size() - 3) + extension;
}

} // namespace

QString ConvertWatch::takeRules(QStringList *options)
{
    const qsizetype at = options->indexOf(QStringLiteral("--rules"));
    if (at < 0 || at + 1 >= options->size())
        return QString();
    const QString path = options->at(at + 1);
    options->remove(at, 2);
    return path;
}

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
            // An editor that pauses while it writes the file in place is not
            // done: half a file may be valid rules of its own.
            if (m_rulesWriter.beingWritten()) {
                m_rulesSettle.start();
                return;
            }
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
        m_rulesWriter.start(m_rulesPath);
        QObject::connect(&m_rulesWriter, &WriterWatch::closed, [this] { m_rulesSettle.start(); });
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
    if ((recent || m_rulesWriter.beingWritten()) && !m_rulesSettle.isActive())
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
    case ConvertedJobs::State::Failed: // failed before; the same job stays as it is
        // Said once a run: a job that could not be moved to failed/ waits
        // in the folder, and the service's log shows it at each start.
        if (!m_saidLeft.contains(job)) {
            m_saidLeft.insert(job);
            CliSupport::report(QStringLiteral("%1: failed before and left here, as it could not be moved to %2; "
                                              "not converted again until it is written anew")
                                   .arg(job, m_outDir.filePath(QStringLiteral("failed"))));
        }
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

// The conversions are stopped (what they wrote is left out) and the
// actions under way ended: a mail being handed over is stopped, a print
// being sent is waited for; their outcomes are told and recorded.
void ConvertWatch::stop()
{
    m_stopping = true;
    m_jobs.stopAll();
    // A conversion that ended as the watch stopped, before its end was
    // heard, made an output never taken for its job's: the next start
    // converts the job anew, so that output would stay beside the new one
    // (or beside the PDF its rule filed elsewhere).
    for (const QString &output : std::as_const(m_converting)) {
        if (!PngExport::isPngName(output)) {
            QFile::remove(output);
            continue;
        }
        for (const int count : {1, 1000, 10000, 100000}) { // pictures, numbered with 3, 4, 5, 6 digits
            for (int n = 1; QFile::remove(PngExport::numberedName(output, n, count)); ++n) { }
        }
    }
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

} // namespace CommandLine
