#include "cli/ConvertBatch.h"

#include "cli/CliSupport.h"
#include "cli/ConvertJobs.h"
#include "cli/StopSignals.h"
#include "watch/ConvertedJobs.h"
#include "watch/JobArchive.h"
#include "watch/PrintFileWatcher.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace CommandLine {

namespace {

QString logText(const QString &job, const QString &output, const QStringList &options, const QString &message)
{
    return QStringLiteral("time: %1\njob: %2\noutput: %3\nconvert options: %4\n\n%5\n")
        .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODate), job, output,
            options.join(QLatin1Char(' ')), message);
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
        if (JobArchive::moveInto(job, outDir.filePath(QStringLiteral("done")), &movedTo, &note, &error))
            CliSupport::report(QStringLiteral("%1: %2; the job is now %3%4")
                                   .arg(job, what, movedTo, note.isEmpty() ? QString() : QStringLiteral("; ") + note));
        else
            CliSupport::report(QStringLiteral("%1: %2, but %3").arg(job, what, error));
    };

    StopSignals stopSignals; // first: the threads started later hold the signals back too
    ConvertJobs jobs(watch.options, watch.parallel);
    QObject::connect(&stopSignals, &StopSignals::stopped, [&] {
        jobs.stopAll();
        QCoreApplication::exit(0);
    });
    QSet<QString> converting; // the outputs of the conversions running
    QObject::connect(&jobs, &ConvertJobs::finished,
        [&](const QString &job, const QString &output, bool ok, const QString &message) {
            converting.remove(output);
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
        const QString name = QFileInfo(job).completeBaseName() + QLatin1Char('.') + watch.extension;
        if (converted.contains(job, watch.extension)) {
            if (watch.moveDone)
                moveDone(job, QStringLiteral("converted before"));
            return;
        }
        const QString output = JobArchive::freePath(outDir.absolutePath(), name, converting);
        converting.insert(output);
        jobs.add(job, output);
    });
    QString error;
    if (!watcher.start(watch.watchFolder, &error))
        return CliSupport::fail(error);
    return QCoreApplication::exec() == 0 ? int(Status::Done) : int(Status::Failed);
}

} // namespace CommandLine
