#include "TestSupport.h"

#include "platform/AppPaths.h"
#include "platform/HeapTuning.h"
#include "platform/ProcessSignals.h"
#include "platform/Translations.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>

namespace TestSupport {

void init()
{
    ignoreFileSizeSignal();
    keepLargeBuffersOnHeap();
    // The user's language, as the program loads it at start-up (the tests
    // run in English unless one asks for another through LANGUAGE).
    if (QCoreApplication::instance())
        Translations::install(QCoreApplication::instance());
    AppPaths::ensureProgramFolder();
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void replaceFile(const QString &path, const QByteArray &bytes)
{
    const QString written = writeFile(path + QStringLiteral(".new"), bytes);
    if (::rename(QFile::encodeName(written).constData(), QFile::encodeName(path).constData()) != 0)
        qFatal("cannot replace %s", qPrintable(path));
}

void setModified(const QString &path, qint64 seconds)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)
        || !file.setFileTime(QDateTime::currentDateTime().addSecs(seconds), QFileDevice::FileModificationTime))
        qFatal("cannot set the time of %s", qPrintable(path));
}

QString runTool(const QString &tool, const QStringList &arguments)
{
    QProcess p;
    p.start(tool, arguments);
    // Generous: a package build runs the suite at the lowest priority on a
    // busy machine, where a reader of a large picture can take half a minute.
    if (!p.waitForFinished(180000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed>").arg(tool);
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool filterThrough(const QString &tool, const QStringList &arguments, const QByteArray &input, QByteArray *output,
    QString *error)
{
    QProcess p;
    p.start(tool, arguments);
    if (!p.waitForStarted()) {
        *error = tool + QStringLiteral(": ") + p.errorString();
        return false;
    }
    p.write(input);
    p.closeWriteChannel();
    const bool finished = p.waitForFinished(180000);
    *output = p.readAllStandardOutput();
    *error = QString::fromUtf8(p.readAllStandardError());
    return finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 && !output->isEmpty();
}

QString pdfText(const QString &pdf, bool layout)
{
    return runTool("pdftotext", (layout ? QStringList {"-layout"} : QStringList()) + QStringList {pdf, "-"});
}

std::unique_ptr<QTemporaryDir> socketFolder()
{
    auto folder = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/s2-XXXXXX"));
    if (!folder->isValid())
        qFatal("cannot make a socket folder under /tmp: %s", qPrintable(folder->errorString()));
    return folder;
}

namespace {

// The environment of a terminal without a display.
QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    return environment;
}

} // namespace

void startProgram(QProcess &process, const QStringList &arguments, const QMap<QString, QString> &environment)
{
    QProcessEnvironment env = withoutDisplay();
    for (auto it = environment.cbegin(); it != environment.cend(); ++it)
        env.insert(it.key(), it.value());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(STICKER2_PROGRAM), arguments);
}

ProgramRun runProgram(const QStringList &arguments, const QString &program)
{
    QProcess process;
    process.setProcessEnvironment(withoutDisplay());
    process.start(program.isEmpty() ? QStringLiteral(STICKER2_PROGRAM) : program, arguments);
    process.closeWriteChannel();
    ProgramRun run;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

bool pdfIsValid(const QString &pdf)
{
    return runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf})
        .contains(QStringLiteral("No syntax or stream encoding errors"));
}

bool cupsdRunning()
{
    return !qEnvironmentVariable("STICKER2_CUPS_DIR").isEmpty()
        && QFileInfo::exists(qEnvironmentVariable("CUPS_SERVER"));
}

} // namespace TestSupport
