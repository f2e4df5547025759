#include "cli/ConvertBatch.h"

#include "cli/CliSupport.h"
#include "cli/ConvertJobs.h"
#include "platform/FileChecks.h"

#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QSet>
#include <QThread>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

int ConvertBatch::read(const QCommandLineParser &parser, const QString &synopsis)
{
    const QString outDirOption = QStringLiteral("out-dir");
    const QString to = QStringLiteral("to");
    const bool watching = parser.isSet(QStringLiteral("watch"));
    const bool keep = parser.isSet(QStringLiteral("keep"));
    const bool move = parser.isSet(QStringLiteral("move"));
    if (!parser.isSet(outDirOption)) {
        if (watching)
            return CliSupport::usage(synopsis, QStringLiteral("watch --convert needs --out DIR"));
        for (const QString &name : { QStringLiteral("jobs"), QStringLiteral("keep"), QStringLiteral("move") }) {
            if (parser.isSet(name))
                return CliSupport::usage(synopsis, QStringLiteral("--%1 needs --out-dir").arg(name));
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
    if (keep && move)
        return CliSupport::usage(synopsis, QStringLiteral("--keep and --move are each other's opposite"));
    if ((keep || move) && !watching)
        return CliSupport::usage(synopsis, QStringLiteral("--keep and --move are for watch"));
    // (-j's value is checked by its option's row.)
    const QString jobs = QStringLiteral("jobs");
    parallel = parser.isSet(jobs) ? parser.value(jobs).trimmed().toInt() : QThread::idealThreadCount();
    outDir = parser.value(outDirOption);
    extension = parser.value(to).toLower();
    moveDone = move;
    // The options each conversion is given: those given here, less the batch's own.
    options = CliSupport::givenOptions(parser,
        { outDirOption, QStringLiteral("j"), jobs, QStringLiteral("watch"), QStringLiteral("keep"), QStringLiteral("move") });
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
    QString folderError;
    if (!FileChecks::makeFolder(batch.outDir, &folderError))
        return CliSupport::fail(folderError);
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
        [&](const QString &, const QString &, bool ok, const QString &message, const QStringList &notes) {
            for (const QString &note : notes) {
                if (progress)
                    std::fputs("\r\033[K", stderr);
                CliSupport::report(note);
            }
            if (!ok)
                fileFailed(message);
            ++finished;
            if (progress)
                showProgress(finished, total);
        });
    // An output that is one of the files given (a.prn and a.txt to text)
    // would replace it before its own turn came: refused, as convert
    // refuses OUT that is IN.
    QSet<QPair<dev_t, ino_t>> inputFiles;
    for (const QString &in : batch.inputs) {
        struct stat st;
        if (::stat(QFile::encodeName(in).constData(), &st) == 0)
            inputFiles.insert({st.st_dev, st.st_ino});
    }
    const auto givenFile = [&inputFiles](const QString &path) {
        struct stat st;
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 && inputFiles.contains({st.st_dev, st.st_ino});
    };
    QSet<QString> outputs;
    for (const QString &in : batch.inputs) {
        QString error;
        const QString out
            = QDir(batch.outDir)
                  .filePath(QFileInfo(in).completeBaseName() + QLatin1Char('.') + batch.extension);
        if (!CliSupport::checkInput(in, &error)) {
            fileFailed(error);
            ++finished;
        } else if (givenFile(out)) {
            fileFailed(QStringLiteral("%1: its output %2 is a file given to convert; not converted").arg(in, out));
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
