#include "cli/ConvertBatch.h"

#include "cli/CliSupport.h"
#include "cli/ConvertJobs.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QSet>

#include <cstdio>
#include <unistd.h>

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
