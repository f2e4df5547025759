#pragma once

#include "cli/CommandLine.h"
#include "codepage/CodePageGuess.h"
#include "escp/PrinterModel.h"

#include <QCommandLineOption>
#include <QString>

#include <optional>

class QCommandLineParser;
class QFile;

// What every subcommand shares: its messages on standard error and the
// checks on the files it is given.
namespace CliSupport {

// "sticker2: <text>" on standard error as one line.
void report(const QString &text);
// The same; returns status 1.
int fail(const QString &text);
// The usage error with the usage line; returns status 2.
int usage(const QString &synopsis, const QString &text);
// At the end of a run: what is still buffered for standard output written
// out; when it or an earlier write there failed, the cause is told and a
// run that had succeeded ends with status 1. Returns the status to end with.
int finishStandardOutput(int status);

// Qt reads a command line as UTF-8: an argument that is not (a file name in
// Latin-1 from an older system, say) would reach a command with its letters
// replaced, naming no file or another one. Returns -1 when every argument is
// UTF-8, else status 2, the first other one named on standard error as given.
int refuseNonUtf8(int argc, char *argv[]);

// Parses a subcommand's arguments with the options of its table and handles
// --help (the synopsis, the description, then the options), then checks each
// value given against its option's kind. Returns -1 when the subcommand
// should go on, or the status to exit with (a usage error printed).
int parse(QCommandLineParser &parser, const QStringList &arguments, const QString &synopsis,
    const CommandOptions &options, int positionalCount, const QString &description);
// The same with the command's own synopsis, options and description.
int parse(QCommandLineParser &parser, const QStringList &arguments, const CommandLine::Command &command,
    int positionalCount);

// The options given, less those named, as a command line takes them again
// ("--pages", "2", "--landscape"), each name once with all its values.
QStringList givenOptions(const QCommandLineParser &parser, const QStringList &leftOut);

// Checks that the subcommand (first) is followed by `count` positional
// arguments: -1 when it is, else the usage error's status.
int checkPositionals(const QCommandLineParser &parser, const QString &synopsis, int count);

// A sentence of a message ("The print server X does not answer.") as the
// part of a line after "FILE: ": lower case first, no full stop.
QString asClause(const QString &sentence);

// A print file to read: it must exist, be a regular file
// (FileChecks::inputProblem) and be readable.
bool checkInput(const QString &path, QString *error);
// A file to write, before any work: FileChecks::outputRefusal, the words
// every writer uses. When it exists it must be a regular file (a link to
// one is fine, a planted link is not); folders, devices and FIFOs are
// refused, and so is a file that is one of the inputs (the same file, also
// through a link or another name).
bool checkOutput(const QString &path, QString *error, const QStringList &inputs = {});
// Standard output, when it is a file, must not be one of the inputs either
// (`convert a.prn - >> a.prn` would read what it writes, without end).
bool checkStandardOutput(QString *error, const QStringList &inputs);

// Headless commands speak only through their own lines on standard error:
// the toolkit's notes (a missing runtime folder, font fallbacks) stay out,
// and only a fatal one is told, as one line, before the program aborts.
void quietToolkitMessages();
// The message handler while the window system starts: a fatal message (no
// display to be reached) ends the program with its first line and status 1,
// not an abort; the notes before it are left out.
void startFailure(QtMsgType type, const QMessageLogContext &context, const QString &message);

} // namespace CliSupport
