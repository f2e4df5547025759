// Where a job goes after the watch: done/ when converted (with --move),
// failed/ with a log beside it when not.
#include "cli/ConvertWatch.h"

#include "cli/CliSupport.h"
#include "watch/JobArchive.h"
#include "watch/JobInfo.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <climits>

namespace CommandLine {

namespace {

QString logText(const QString &job, const QString &output, const QStringList &options, const QString &message)
{
    return QStringLiteral("time: %1\njob: %2\noutput: %3\nconvert options: %4\n\n%5\n")
        .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODate), job,
            output.isEmpty() ? QStringLiteral("none") : output,
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
    // The side file first: mv moves in the order given, and a watch takes a
    // job the moment it is there, without details that come after it.
    return QStringLiteral("\nto convert it again, put it back with its details: mv %1 %2 %3/\n")
        .arg(quoted(side), quoted(movedTo), quoted(QFileInfo(spool).absoluteFilePath()));
}

// JOB.log beside the job; a job whose name leaves no room for ".log" (a
// file name has at most 255 bytes) gets its name cut to make room, at a
// character's start, so that its log is still written.
QString logPath(const QString &movedTo)
{
    const QFileInfo job(movedTo);
    QString name = job.fileName();
    while (!name.isEmpty() && QFile::encodeName(name + QStringLiteral(".log")).size() > NAME_MAX) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    return job.absolutePath() + QLatin1Char('/') + name + QStringLiteral(".log");
}

} // namespace

// A job moved out of the watched folder is a new one when it comes back,
// even at once, before the folder was listed again: the same file by inode,
// size and time, it had been taken for the job reported before and never
// converted. Not when the move left it where it was (a copy was made).
void ConvertWatch::forgetMoved(const QString &job, const QString &movedTo)
{
    if (!(QFileInfo::exists(job) && QFileInfo::exists(movedTo)))
        m_watcher.forget(job);
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
        // Left as it is, and marked so: not converted (and filed and
        // mailed) again at every start.
        if (QFileInfo::exists(job) && !m_converted.mark(job, ConvertedJobs::State::Failed, &markError))
            error += QStringLiteral("; ") + markError;
        else if (QFileInfo::exists(job))
            error += QStringLiteral("; it is left as it is (write it anew to convert it again)");
        CliSupport::report(QStringLiteral("%1: %2 (%3), and %4").arg(job, what, message, error));
        return;
    }
    forgetMoved(job, movedTo); // put back at once (the log's last line says how), it is a new job
    if (QFileInfo::exists(job) && !m_converted.mark(job, ConvertedJobs::State::Failed, &markError))
        note += (note.isEmpty() ? QString() : QStringLiteral("; ")) + markError;
    QString logError;
    const bool logged = JobArchive::writeText(
        logPath(movedTo),
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
    if (JobArchive::moveInto(job, m_outDir.filePath(QStringLiteral("done")), &movedTo, &note, &error)) {
        forgetMoved(job, movedTo);
        CliSupport::report(QStringLiteral("%1: %2; the job is now %3%4")
                               .arg(job, what, movedTo, note.isEmpty() ? QString() : QStringLiteral("; ") + note));
    } else
        CliSupport::report(QStringLiteral("%1: %2, but %3").arg(job, what, error));
}

} // namespace CommandLine
