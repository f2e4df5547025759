#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QProcess;

// Shared set-up for the tests: call TestSupport::init() in initTestCase().
namespace TestSupport {

// Sets the process up as the program does and makes sure the program's
// folder exists. The tests of the windows call initWindows() instead
// (WindowSupport.h).
void init();

// Writes bytes to a file, creating folders; fails the test on error.
QString writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);
// Puts a new file with `bytes` in the place of `path` (written beside it and
// renamed over it, as an editor saves), so that `path` names another file
// than one held open; fails the test on error.
void replaceFile(const QString &path, const QByteArray &bytes);
// Sets a file's time of last change `seconds` from now; fails the test on error.
void setModified(const QString &path, qint64 seconds);

// A tool's standard output, or "<tool failed>"; the text of a PDF as
// pdftotext reads it (with -layout when asked).
QString runTool(const QString &tool, const QStringList &arguments);
// The bytes a tool writes when `input` is its standard input (a
// ghostscript device, a netpbm converter); false with what it said on
// standard error when it fails or writes nothing.
bool filterThrough(const QString &tool, const QStringList &arguments, const QByteArray &input, QByteArray *output,
    QString *error);
QString pdfText(const QString &pdf, bool layout = true);

// A private folder for Unix sockets: a socket's path has at most 107 bytes,
// which a temporary folder inside a build tree (or a package build's
// deep checkout) easily passes, so it lies directly under /tmp. The folder
// goes when the returned object does.
std::unique_ptr<QTemporaryDir> socketFolder();

// What a run of a program gave: its exit status (-1 when it crashed or did
// not end within two minutes), standard output and standard error.
struct ProgramRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The built program (or `program`) run as a user runs it from a terminal
// without a display: the headless commands pick their platform themselves.
// Its standard input is closed.
ProgramRun runProgram(const QStringList &arguments, const QString &program = QString());

// The built program started in `process` the same way, for a run the test
// watches and stops itself (a watch, a service).
void startProgram(QProcess &process, const QStringList &arguments, const QMap<QString, QString> &environment = {});

// qpdf finds no fault in the file.
bool pdfIsValid(const QString &pdf);

// The private print server of the tst_cups* tests is up (the ctest fixture
// printing/cupsd_start runs it).
bool cupsdRunning();

} // namespace TestSupport
