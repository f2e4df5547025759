#include "cli/ConvertBatch.h"

#include "cli/CliSupport.h"
#include "cli/ConvertJobs.h"
#include "cli/StopSignals.h"
#include "watch/ConvertedJobs.h"
#include "watch/FolderLock.h"
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
#include <QTemporaryDir>

namespace CommandLine {

namespace {

QString logText(const QString &job, const QString &output, const QStringList &options, const QString &message)
{
    return QStringLiteral("time: %1\njob: %2\noutput: %3\nconvert options: %4\n\n%5\n")
        .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODate), job, output,
            options.join(QLatin1Char(' ')), message);
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
    ConvertWatch(const ConvertBatch &watch, const QDir &outDir)
        : m_watch(watch)
        , m_outDir(outDir)
        , m_converted(outDir.absolutePath())
        , m_options(watch.options)
        , m_rulesPath(takeRules(&m_options))
        , m_jobs(m_options, watch.parallel)
    { }

    // Watches until a stop signal; the status to exit with.
    int run();

private:
    void startJob(const QString &job);
    void jobFinished(const QString &job, const QString &written, bool converterOk, const QString &converterMessage);
    bool carryOutPlan(const QString &job, const QString &planPath, const QString &written, QString *output,
        QString *message);
    void recordConverted(const QString &job, const QString &output);
    void moveFailed(const QString &job, const QString &output, const QString &message);
    void moveDone(const QString &job, const QString &what);

    const ConvertBatch &m_watch;
    const QDir m_outDir;
    ConvertedJobs m_converted;
    StopSignals m_stopSignals; // before the rules and jobs: the threads started later hold the signals back too
    QStringList m_options;     // convert's options, --rules taken out
    const QString m_rulesPath;
    RulesKeeper m_rules;
    QTemporaryDir m_plans;            // each conversion's plan, carried out here
    QHash<QString, QString> m_planOf; // by output
    int m_planned = 0;
    ConvertJobs m_jobs;
    QSet<QString> m_converting; // the outputs of the conversions running
    PrintFileWatcher m_watcher;
};

int ConvertWatch::run()
{
    QString rulesError;
    if (!m_rulesPath.isEmpty() && !m_rules.start(m_rulesPath, &rulesError))
        return CliSupport::fail(rulesError);
    QObject::connect(&m_stopSignals, &StopSignals::stopped, [this] {
        m_jobs.stopAll();
        QCoreApplication::exit(0);
    });
    QObject::connect(&m_jobs, &ConvertJobs::finished,
        [this](const QString &job, const QString &written, bool converterOk, const QString &converterMessage) {
            jobFinished(job, written, converterOk, converterMessage);
        });
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

// A job come into the folder: converted into a free name of the output
// folder, with a plan of its rule's actions when there are rules.
void ConvertWatch::startJob(const QString &job)
{
    const QString name = outputName(job, m_watch.extension);
    if (m_converted.contains(job, m_watch.extension)) {
        if (m_watch.moveDone)
            moveDone(job, QStringLiteral("converted before"));
        return;
    }
    const QString output = JobArchive::freePath(m_outDir.absolutePath(), name, m_converting);
    m_converting.insert(output);
    QStringList own;
    if (!m_rulesPath.isEmpty()) {
        const QString note = m_rules.refresh();
        if (!note.isEmpty())
            CliSupport::report(note);
        const QString planPath = m_plans.filePath(QStringLiteral("plan-%1.json").arg(++m_planned));
        m_planOf.insert(output, planPath);
        own << QStringLiteral("--rules") << m_rules.copyPath() << QStringLiteral("--rules-origin") << m_rulesPath
            << QStringLiteral("--rules-plan") << planPath;
    }
    m_jobs.add(job, output, own);
}

void ConvertWatch::jobFinished(
    const QString &job, const QString &written, bool converterOk, const QString &converterMessage)
{
    m_converting.remove(written);
    bool ok = converterOk;
    QString message = converterMessage;
    QString output = written;
    const QString planPath = m_planOf.take(written);
    if (ok && !planPath.isEmpty())
        ok = carryOutPlan(job, planPath, written, &output, &message);
    if (!planPath.isEmpty())
        QFile::remove(planPath);
    if (ok)
        recordConverted(job, output);
    else
        moveFailed(job, output, message);
}

// The conversion only planned; filing, mail and printing are done here,
// where the service's rights are. False with the message when they failed.
bool ConvertWatch::carryOutPlan(
    const QString &job, const QString &planPath, const QString &written, QString *output, QString *message)
{
    RulePlan plan;
    QFile planFile(planPath);
    if (!planFile.open(QIODevice::ReadOnly) || !RulePlan::fromJson(planFile.readAll(), &plan)) {
        *message = QStringLiteral("%1: the conversion left no plan").arg(job);
        return false;
    }
    const RuleActionsOutcome outcome = applyRulePlan(plan, written);
    *output = outcome.pdfPath;
    if (!outcome.ok()) {
        const QStringList done = outcome.done();
        *message = outcome.failures(plan.rule).join(QStringLiteral("; "))
            + QStringLiteral("; the PDF is %1").arg(outcome.pdfPath)
            + (done.isEmpty() ? QString()
                              : QStringLiteral("; done all the same (again if the job is put back): %1")
                                    .arg(done.join(QStringLiteral(", "))));
        return false;
    }
    return true;
}

void ConvertWatch::recordConverted(const QString &job, const QString &output)
{
    const QString what = QStringLiteral("converted to %1").arg(output);
    QString error;
    if (!m_converted.add(job, &error))
        CliSupport::report(QStringLiteral("%1: %2, but it is not recorded as converted: %3").arg(job, what, error));
    else if (!m_watch.moveDone)
        CliSupport::report(QStringLiteral("%1: %2").arg(job, what));
    if (m_watch.moveDone)
        moveDone(job, what);
}

// A job that did not convert moves to DIR/failed, with a log of why beside it.
void ConvertWatch::moveFailed(const QString &job, const QString &output, const QString &message)
{
    QString movedTo;
    QString note;
    QString error;
    if (!JobArchive::moveInto(job, m_outDir.filePath(QStringLiteral("failed")), &movedTo, &note, &error)) {
        CliSupport::report(QStringLiteral("%1: not converted (%2), and %3").arg(job, message, error));
        return;
    }
    QString logError;
    const bool logged = JobArchive::writeText(
        movedTo + QStringLiteral(".log"), logText(job, output, m_watch.options, message), &logError);
    CliSupport::report(QStringLiteral("%1: not converted (%2); the job is now %3%4%5")
                           .arg(job, message, movedTo, note.isEmpty() ? QString() : QStringLiteral("; ") + note,
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
    QString folderError;
    if (!FileChecks::makeFolder(watch.outDir, &folderError))
        return CliSupport::fail(folderError);
    if (QFileInfo(watch.outDir).canonicalFilePath() == QFileInfo(watch.watchFolder).canonicalFilePath())
        return CliSupport::fail(
            QStringLiteral("%1: the output folder cannot be the watched folder").arg(watch.outDir));
    // One watch converts into a folder, and one takes a spool's jobs away.
    const QString spoolProblem = PrintFileWatcher::folderProblem(watch.watchFolder);
    if (!spoolProblem.isEmpty())
        return CliSupport::fail(spoolProblem);
    FolderLock outputLock;
    FolderLock spoolLock;
    QString lockError;
    if (!outputLock.take(outDir.absolutePath(), QStringLiteral("converts into it"), &lockError)
        || (watch.moveDone
            && !spoolLock.take(QFileInfo(watch.watchFolder).absoluteFilePath(),
                QStringLiteral("converts its jobs and moves them"), &lockError)))
        return CliSupport::fail(lockError);
    ConvertWatch watching(watch, outDir);
    return watching.run();
}

} // namespace CommandLine
