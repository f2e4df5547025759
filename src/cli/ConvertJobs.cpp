#include "cli/ConvertJobs.h"

#include "cli/StopSignals.h"
#include "export/PngExport.h"
#include "platform/SaveGroup.h"
#include "delivery/Capabilities.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <csignal>

ConvertJobs::ConvertJobs(const QStringList &options, int parallel, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_parallel(qMax(1, parallel))
{ }

ConvertJobs::~ConvertJobs()
{
    for (Job &job : m_running) {
        job.process->disconnect(this);
        job.process->kill();
        job.process->waitForFinished(3000);
    }
}

void ConvertJobs::stopAll(int msec)
{
    m_waiting.clear();
    for (Job &job : m_running) {
        job.process->disconnect(this);
        job.process->terminate();
    }
    for (Job &job : m_running) {
        if (!job.process->waitForFinished(msec)) {
            job.process->kill();
            job.process->waitForFinished(3000);
        }
        job.process->deleteLater();
        removeLeftPictures(job.out);
    }
    m_running.clear();
}

// A file a converter was saving vanishes with it; pictures are saved
// together through hidden parts, which a converter stopped or crashed had
// no time to take away.
void ConvertJobs::removeLeftPictures(const QString &output)
{
    const QFileInfo out(output);
    if (PngExport::isPngName(out.fileName()))
        SaveGroup::removeLeftParts(out.absolutePath(),
            QRegularExpression::escape(out.completeBaseName()) + QStringLiteral("-\\d+\\.png"));
}

void ConvertJobs::add(const QString &in, const QString &out, const QStringList &ownOptions)
{
    Job job;
    job.in = in;
    job.out = out;
    job.ownOptions = ownOptions;
    m_waiting.append(job);
    startWaiting();
}

void ConvertJobs::startWaiting()
{
    while (m_running.size() < m_parallel) {
        const auto ready = std::find_if(m_waiting.begin(), m_waiting.end(),
            [](const Job &waiting) { return waiting.startAfter.hasExpired(); });
        if (ready == m_waiting.end())
            return;
        Job job = *ready;
        m_waiting.erase(ready);
        job.process = new QProcess(this);
        job.process->setProcessChannelMode(QProcess::SeparateChannels);
        job.process->setStandardInputFile(QProcess::nullDevice());
        job.process->setStandardOutputFile(QProcess::nullDevice());
        const long parent = long(QCoreApplication::applicationPid());
        // The converter parses what anyone printed: it never keeps the
        // capabilities the PDF service holds for delivery.
        job.process->setChildProcessModifier([parent] {
            StopSignals::prepareChild(parent);
            Capabilities::clearAmbient();
        });
        QProcess *process = job.process;
        connect(process, &QProcess::finished, this, [this, process] { onFinished(process); });
        // A process that cannot start reports only errorOccurred.
        connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                onFinished(process);
        });
        auto *limit = new QTimer(process);
        limit->setSingleShot(true);
        connect(limit, &QTimer::timeout, this, [this, process] {
            for (Job &running : m_running) {
                if (running.process == process)
                    running.timedOut = true;
            }
            process->kill();
        });
        limit->start(m_timeLimit);
        m_running.append(job);
        process->start(QCoreApplication::applicationFilePath(),
            QStringList {QStringLiteral("convert")} + m_options + job.ownOptions
                + QStringList {QStringLiteral("--"), job.in, job.out});
    }
}

void ConvertJobs::onFinished(QProcess *process)
{
    qsizetype index = -1;
    for (qsizetype i = 0; i < m_running.size(); ++i) {
        if (m_running.at(i).process == process)
            index = i;
    }
    if (index < 0)
        return;
    Job job = m_running.takeAt(index);
    if (process->error() == QProcess::FailedToStart && ++job.startAttempts < MaxStartAttempts) {
        // Too many processes or open files is mostly a passing state of the
        // machine: the job waits for it to pass rather than fail for good.
        process->deleteLater();
        job.process = nullptr;
        const int delay = 1000 << (job.startAttempts - 1);
        job.startAfter = QDeadlineTimer(delay);
        m_waiting.prepend(job);
        QTimer::singleShot(delay, Qt::PreciseTimer, this, &ConvertJobs::startWaiting);
        return;
    }
    QString message = QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
    message.replace(QLatin1String("sticker2: "), QString());
    // Its notes (a job in another printer language) apart from its errors:
    // they are said for a job that converted too.
    QStringList notes;
    QStringList errors;
    for (const QString &line : message.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        (line.contains(QLatin1String(": note: ")) ? notes : errors).append(line);
    message = errors.join(QLatin1Char('\n'));
    bool ok = false;
    if (job.timedOut)
        message = QStringLiteral("%1: the conversion took longer than %2 minutes and was stopped")
                      .arg(job.in, QString::number(m_timeLimit / 60000.0));
    else if (process->error() == QProcess::FailedToStart)
        message = QStringLiteral("cannot start the converter: %1 (tried %2 times)")
                      .arg(process->errorString(), QString::number(job.startAttempts));
    else if (process->exitStatus() == QProcess::CrashExit && process->exitCode() == SIGKILL)
        // Nothing of its own kills a converter so: the kernel's OOM killer or an administrator.
        message = QStringLiteral("%1: the conversion was killed (SIGKILL: by an administrator, or by the kernel when "
                                 "memory ran out)")
                      .arg(job.in);
    else if (process->exitStatus() == QProcess::CrashExit)
        message = QStringLiteral("%1: the conversion crashed (signal %2)%3")
                      .arg(job.in, QString::number(process->exitCode()),
                          message.isEmpty() ? QString() : QStringLiteral(" (") + message + QLatin1Char(')'));
    else
        ok = process->exitCode() == 0;
    if (!ok && message.isEmpty())
        message
            = QStringLiteral("%1: the conversion failed (status %2)").arg(job.in, QString::number(process->exitCode()));
    if (process->exitStatus() == QProcess::CrashExit)
        removeLeftPictures(job.out);
    process->deleteLater();
    emit finished(job.in, job.out, ok, ok ? QString() : message, notes);
    startWaiting();
    if (isIdle())
        emit idle();
}
