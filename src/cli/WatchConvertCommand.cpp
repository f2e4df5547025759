#include "cli/ConvertBatch.h"

#include "cli/CliSupport.h"
#include "cli/ConvertJobs.h"
#include "cli/StopSignals.h"
#include "watch/ConvertedJobs.h"
#include "rules/RuleActions.h"
#include "watch/JobArchive.h"
#include "watch/JobInfo.h"
#include "watch/PrintFileWatcher.h"
#include "watch/RulesKeeper.h"

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

} // namespace

int runConvertWatch(const ConvertBatch &watch)
{
    const QDir outDir(QFileInfo(watch.outDir).absoluteFilePath());
    if (!QDir().mkpath(watch.outDir) || !QFileInfo(watch.outDir).isDir())
        return CliSupport::fail(QStringLiteral("%1: cannot make the folder").arg(watch.outDir));
    if (QFileInfo(watch.outDir).canonicalFilePath() == QFileInfo(watch.watchFolder).canonicalFilePath())
        return CliSupport::fail(
            QStringLiteral("%1: the output folder cannot be the watched folder").arg(watch.outDir));

    ConvertedJobs converted(outDir.absolutePath());
    // A converted job moves to DIR/done; a job converted before the watch
    // last stopped, but not moved yet, moves now.
    const auto moveDone = [&](const QString &job, const QString &what) {
        QString movedTo;
        QString note;
        QString error;
        if (JobArchive::moveInto(job, outDir.filePath(QStringLiteral("done")), &movedTo, &note, &error)
            && moveJobInfo(job, movedTo))
            CliSupport::report(QStringLiteral("%1: %2; the job is now %3%4")
                                   .arg(job, what, movedTo, note.isEmpty() ? QString() : QStringLiteral("; ") + note));
        else
            CliSupport::report(QStringLiteral("%1: %2, but %3").arg(job, what, error));
    };

    StopSignals stopSignals; // first: the threads started later hold the signals back too
    QStringList options = watch.options;
    const QString rulesPath = takeRules(&options);
    RulesKeeper rules;
    QString rulesError;
    if (!rulesPath.isEmpty() && !rules.start(rulesPath, &rulesError))
        return CliSupport::fail(rulesError);
    QTemporaryDir plans; // each conversion's plan, carried out here
    QHash<QString, QString> planOf; // by output
    int planned = 0;
    ConvertJobs jobs(options, watch.parallel);
    QObject::connect(&stopSignals, &StopSignals::stopped, [&] {
        jobs.stopAll();
        QCoreApplication::exit(0);
    });
    QSet<QString> converting; // the outputs of the conversions running
    QObject::connect(&jobs, &ConvertJobs::finished,
        [&](const QString &job, const QString &written, bool converterOk, const QString &converterMessage) {
            converting.remove(written);
            bool ok = converterOk;
            QString message = converterMessage;
            QString output = written;
            const QString planPath = planOf.take(written);
            RulePlan plan;
            if (ok && !planPath.isEmpty()) {
                // The conversion only planned; filing, mail and printing are
                // done here, where the service's rights are.
                QFile planFile(planPath);
                if (!planFile.open(QIODevice::ReadOnly) || !RulePlan::fromJson(planFile.readAll(), &plan)) {
                    ok = false;
                    message = QStringLiteral("%1: the conversion left no plan").arg(job);
                } else {
                    const RuleActionsOutcome outcome = applyRulePlan(plan, written);
                    output = outcome.pdfPath;
                    if (!outcome.ok()) {
                        ok = false;
                        message = outcome.failures(plan.rule).join(QStringLiteral("; "))
                            + QStringLiteral("; the PDF is %1").arg(outcome.pdfPath);
                    }
                }
            }
            if (!planPath.isEmpty())
                QFile::remove(planPath);
            QString movedTo;
            QString note;
            QString error;
            if (ok) {
                const QString what = QStringLiteral("converted to %1").arg(output);
                if (!converted.add(job, &error))
                    CliSupport::report(QStringLiteral("%1: %2, but it is not recorded as converted: %3")
                                           .arg(job, what, error));
                else if (!watch.moveDone)
                    CliSupport::report(QStringLiteral("%1: %2").arg(job, what));
                if (watch.moveDone)
                    moveDone(job, what);
                return;
            }
            if (!JobArchive::moveInto(
                    job, outDir.filePath(QStringLiteral("failed")), &movedTo, &note, &error)) {
                CliSupport::report(QStringLiteral("%1: not converted (%2), and %3").arg(job, message, error));
                return;
            }
            moveJobInfo(job, movedTo);
            QString logError;
            const bool logged = JobArchive::writeText(
                movedTo + QStringLiteral(".log"), logText(job, output, watch.options, message), &logError);
            CliSupport::report(
                QStringLiteral("%1: not converted (%2); the job is now %3%4%5")
                    .arg(job, message, movedTo, note.isEmpty() ? QString() : QStringLiteral("; ") + note,
                        logged ? QString() : QStringLiteral("; no log: ") + logError));
        });

    PrintFileWatcher watcher;
    watcher.setReportExisting(true);
    QObject::connect(&watcher, &PrintFileWatcher::fileReady, [&](const QString &job) {
        const QString name = outputName(job, watch.extension);
        if (converted.contains(job, watch.extension)) {
            if (watch.moveDone)
                moveDone(job, QStringLiteral("converted before"));
            return;
        }
        const QString output = JobArchive::freePath(outDir.absolutePath(), name, converting);
        converting.insert(output);
        QStringList own;
        if (!rulesPath.isEmpty()) {
            const QString note = rules.refresh();
            if (!note.isEmpty())
                CliSupport::report(note);
            const QString planPath = plans.filePath(QStringLiteral("plan-%1.json").arg(++planned));
            planOf.insert(output, planPath);
            own << QStringLiteral("--rules") << rules.copyPath() << QStringLiteral("--rules-origin") << rulesPath
                << QStringLiteral("--rules-plan") << planPath;
        }
        jobs.add(job, output, own);
    });
    QString error;
    if (!watcher.start(watch.watchFolder, &error))
        return CliSupport::fail(error);
    return QCoreApplication::exec() == 0 ? int(Status::Done) : int(Status::Failed);
}

} // namespace CommandLine
