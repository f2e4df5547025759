#include "cli/ConvertBatch.h"

#include "cli/CliSupport.h"
#include "cli/ConvertRules.h"
#include "cli/ConvertWatch.h"
#include "platform/FileChecks.h"
#include "watch/ConvertedJobs.h"
#include "watch/FolderLock.h"
#include "watch/PrintFileWatcher.h"
#include "watch/RulesKeeper.h"
#include "watch/WatchTemporary.h"

#include <QDir>
#include <QFileInfo>

namespace CommandLine {

int runConvertWatch(const ConvertBatch &watch)
{
    const QDir outDir(QFileInfo(watch.outDir).absoluteFilePath());
    // A faulty rules file is refused before anything is made or taken.
    QStringList options = watch.options;
    const QString rulesPath = ConvertWatch::takeRules(&options);
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
    // Nor through a record it cannot write (one left by root, who ran the
    // service's command by hand): every job would be converted, filed and
    // mailed again at every start. Nor into done/ or failed/ it cannot use.
    const QFileInfo record(outDir.absoluteFilePath(QString::fromLatin1(ConvertedJobs::FileName)));
    if (record.exists() || record.isSymLink()) {
        QString problem = FileChecks::outputProblem(record.absoluteFilePath());
        if (problem.isEmpty() && record.isSymLink() && !record.exists())
            problem = QStringLiteral("it is a link to %1, which is missing.").arg(record.symLinkTarget());
        if (!problem.isEmpty() || !record.isWritable())
            return CliSupport::fail(QStringLiteral("%1: the watch's user may not write it (%2), and its jobs would be "
                                                   "converted again at every start")
                                        .arg(record.absoluteFilePath(),
                                            problem.isEmpty() ? QStringLiteral("no right to write") : problem.chopped(1)));
    }
    for (const QString &name : {QStringLiteral("done"), QStringLiteral("failed")}) {
        if (name == QLatin1String("done") && !watch.moveDone)
            continue;
        const QFileInfo folder(outDir.absoluteFilePath(name));
        if ((folder.exists() || folder.isSymLink()) && (!folder.isDir() || !folder.isWritable()))
            return CliSupport::fail(QStringLiteral("%1: the watch's user may not move jobs into it").arg(folder.absoluteFilePath()));
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
