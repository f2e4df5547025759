#include "cli/ConvertBatch.h"

#include "cli/CliSupport.h"
#include "cli/ConvertJobs.h"

#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QSet>
#include <QThread>

#include <cstdio>
#include <unistd.h>

namespace {

QCommandLineOption hidden(const QString &name, const QString &description)
{
    QCommandLineOption option(name, description);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

// The options each conversion is given: those given here, less the batch's own.
QStringList passedOn(const QCommandLineParser &parser, const ConvertBatch::Options &own)
{
    QStringList options;
    QStringList seen;
    for (const QString &name : parser.optionNames()) {
        bool batchOwn = false;
        for (const QCommandLineOption *option : { &own.outDir, &own.jobs, &own.watch, &own.keep, &own.move })
            batchOwn = batchOwn || option->names().contains(name);
        if (batchOwn || seen.contains(name))
            continue;
        seen.append(name);
        const QString flag = (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        const QStringList values = parser.values(name);
        if (values.isEmpty())
            options.append(flag);
        for (const QString &value : values)
            options << flag << value;
    }
    return options;
}

} // namespace

ConvertBatch::Options::Options()
    : outDir(QStringLiteral("out-dir"),
          QStringLiteral("Converts every FILE given into this folder, under its own name with the format's "
                         "ending (--to is needed)."),
          QStringLiteral("dir"))
    , jobs(QStringList { QStringLiteral("j"), QStringLiteral("jobs") },
          QStringLiteral("With --out-dir, how many files are converted at once (default: the processors)."),
          QStringLiteral("n"))
    , watch(hidden(QStringLiteral("watch"), QStringLiteral("The one FILE is a folder to watch.")))
    , keep(hidden(QStringLiteral("keep"), QStringLiteral("A converted job stays where it is.")))
    , move(hidden(QStringLiteral("move"), QStringLiteral("A converted job moves to DIR/done.")))
{
}

void ConvertBatch::Options::addTo(QCommandLineParser &parser) const
{
    parser.addOptions({ outDir, jobs, watch, keep, move });
}

int ConvertBatch::read(const QCommandLineParser &parser, const Options &own, const QCommandLineOption &to,
    const QString &synopsis)
{
    const bool watching = parser.isSet(own.watch);
    if (!parser.isSet(own.outDir)) {
        if (watching)
            return CliSupport::usage(synopsis, QStringLiteral("watch --convert needs --out DIR"));
        for (const QCommandLineOption *option : { &own.jobs, &own.keep, &own.move }) {
            if (parser.isSet(*option))
                return CliSupport::usage(
                    synopsis, QStringLiteral("--%1 needs --out-dir").arg(option->names().constLast()));
        }
        return -1;
    }
    if (!parser.isSet(to))
        return CliSupport::usage(synopsis,
            watching ? QStringLiteral("watch needs --convert FORMAT with --out DIR")
                     : QStringLiteral("--out-dir needs --to"));
    if (watching) {
        const int count = CliSupport::checkPositionals(parser, synopsis, 1);
        if (count >= 0)
            return count;
        watchFolder = parser.positionalArguments().at(1);
    } else {
        inputs = parser.positionalArguments().mid(1);
        if (inputs.isEmpty())
            return CliSupport::usage(synopsis, QStringLiteral("--out-dir needs at least one FILE"));
    }
    if (parser.isSet(own.keep) && parser.isSet(own.move))
        return CliSupport::usage(synopsis, QStringLiteral("--keep and --move are each other's opposite"));
    if ((parser.isSet(own.keep) || parser.isSet(own.move)) && !watching)
        return CliSupport::usage(synopsis, QStringLiteral("--keep and --move are for watch"));
    bool ok = true;
    parallel = parser.isSet(own.jobs) ? parser.value(own.jobs).toInt(&ok) : QThread::idealThreadCount();
    if (!ok || parallel < 1 || parallel > 256)
        return CliSupport::usage(synopsis,
            QStringLiteral("-j takes a number from 1 to 256, not \"%1\"").arg(parser.value(own.jobs)));
    outDir = parser.value(own.outDir);
    extension = parser.value(to).toLower();
    moveDone = parser.isSet(own.move);
    options = passedOn(parser, own);
    active = true;
    return -1;
}

namespace CommandLine {

namespace {

void showProgress(int finished, int total)
{
    std::fprintf(stderr, "\r\033[Ksticker2: %d of %d converted", finished, total);
    if (finished == total)
        std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
}

} // namespace

int runConvertBatch(const ConvertBatch &batch)
{
    if (!QDir().mkpath(batch.outDir) || !QFileInfo(batch.outDir).isDir())
        return CliSupport::fail(QStringLiteral("%1: cannot make the folder").arg(batch.outDir));
    const bool progress = ::isatty(STDERR_FILENO) == 1;
    const int total = int(batch.inputs.size());
    int finished = 0;
    int failed = 0;
    auto fileFailed = [&](const QString &text) {
        ++failed;
        if (progress)
            std::fputs("\r\033[K", stderr);
        CliSupport::report(text);
    };

    ConvertJobs jobs(batch.options, batch.parallel);
    QObject::connect(&jobs, &ConvertJobs::finished,
        [&](const QString &, const QString &, bool ok, const QString &message) {
            if (!ok)
                fileFailed(message);
            ++finished;
            if (progress)
                showProgress(finished, total);
        });
    QSet<QString> outputs;
    for (const QString &in : batch.inputs) {
        QString error;
        const QString out
            = QDir(batch.outDir)
                  .filePath(QFileInfo(in).completeBaseName() + QLatin1Char('.') + batch.extension);
        if (!CliSupport::checkInput(in, &error)) {
            fileFailed(error);
            ++finished;
        } else if (outputs.contains(out)) {
            fileFailed(QStringLiteral("%1: another file given is written as %2 already").arg(in, out));
            ++finished;
        } else {
            outputs.insert(out);
            jobs.add(in, out);
        }
    }
    if (!jobs.isIdle()) {
        QEventLoop loop;
        QObject::connect(&jobs, &ConvertJobs::idle, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (progress && finished == total)
        showProgress(finished, total);
    return failed == 0 ? int(Status::Done) : int(Status::Failed);
}

} // namespace CommandLine
