// A job's rule's actions (filing, mail, printing), carried out by the watch
// on a thread of its pool once the conversion has made the PDF.
#include "cli/ConvertWatch.h"

#include "cli/CliSupport.h"
#include "rules/RuleActions.h"

#include <QFileInfo>

namespace CommandLine {

namespace {

// The conversion only planned; filing, mail and printing are done here,
// where the service's rights are, on a thread of the watch's pool: a mail
// transport that hangs holds up no other job, and a stop ends it.
// The job is marked as acting first: a watch killed before they end does
// not take its PDF for the whole of it at the next start.
ActionsResult carryOutPlan(const QString &job, const QString &planPath, const QString &written,
    const QString &outDir, const QString &watchedFolder, const std::atomic_bool &stopping)
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
    // Not begun unrecorded: a record the watch cannot write would have them
    // done again (a second filing, a second mail) at every start.
    if (!ConvertedJobs::writeMark(outDir, job, ConvertedJobs::State::Acting, &result.markError)) {
        result.message = QStringLiteral("its rule's actions were not carried out (nothing filed, mailed or printed): "
                                        "the watch cannot record them as begun: %1")
                             .arg(result.markError);
        return result;
    }
    RulePlan plan;
    QFile planFile(planPath);
    if (!planFile.open(QIODevice::ReadOnly) || !RulePlan::fromJson(planFile.readAll(), &plan)) {
        result.message = QStringLiteral("%1: the conversion left no plan").arg(job);
        return result;
    }
    const RuleActionsOutcome outcome = applyRulePlan(plan, written, &stopping, watchedFolder);
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

} // namespace

void ConvertWatch::startActions(const QString &job, const QString &planPath, const QString &written, const QString &key)
{
    m_acting.insert(job, key);
    m_actions.start([this, job, planPath, written, outDir = m_outDir.absolutePath()] {
        const ActionsResult result = carryOutPlan(job, planPath, written, outDir, m_watch.watchFolder, m_stopping);
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
    if (!result.markError.isEmpty()) {
        // Its PDF goes too: made again when the job is put back.
        QFile::remove(written);
        moveFailed(job, QString(), result.message, false);
        return;
    }
    if (result.ok)
        recordConverted(job, result.output);
    else
        moveFailed(job, result.output, result.message, true);
}

} // namespace CommandLine
