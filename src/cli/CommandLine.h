#pragma once

#include "cli/CommandOption.h"
#include "codepage/CodePageGuess.h"

#include <QLatin1String>
#include <QList>
#include <QStringList>

#include <optional>

struct StickerInput;

// The command line. `sticker2` alone opens the sticker form; `sticker2 FILE...`
// or `sticker2 view FILE...` opens a report view per file; `convert`, `print`
// and `stickers` do their work without a window. Exit status: 0 done, 1 the
// work failed (one line on standard error naming the file and the cause), 2 a
// usage error (with the usage line).
namespace CommandLine {

enum class Status { Done = 0, Failed = 1, Usage = 2 };

// The commands: the dispatcher runs them, a usage error shows their usage
// line, their parsers take their options, and --help, COMMAND --help, the
// manual's option list and the bash completion list them, from this one table.
enum class CommandId { View, Convert, Print, Stickers, Watch, Capture, Rules };
// One way to call a command, written in the words of its option table
// (cli/CommandUsage.h: "convert [--to] [OPTIONS] IN OUT|-"), and what it does
// in the overview of --help.
struct CommandForm
{
    const char *pattern;
    const char *summary;
};
struct Command
{
    CommandId id;
    QLatin1String name;                       // as the first argument names it
    QList<CommandForm> forms;                 // its usage line, a line for each
    const char *description;                  // COMMAND --help's text before the options
    CommandOptions options;                   // every option it takes (OptionTables)
    bool headless;                            // runs without a window (main decides the others)
    bool (*drawsText)(const QStringList &arguments); // empty: it always may

    // The usage of its --help and its usage errors, made from its forms.
    QString usage() const;
};
// Every command, in the order --help lists them.
const QList<Command> &commands();
const Command &command(CommandId id);

// What the arguments ask for, decided before any application object exists.
enum class Mode {
    Windows,  // the sticker form, or report views on files
    Headless, // a subcommand, --help or --version: no window ever opens
};
Mode modeOf(const QStringList &arguments);
// Whether a headless command line draws text (a PDF, rich text, a web page's
// colours): only then does it need the toolkit's fonts and platform. A
// character-mode sheet and raw printing are bytes in, bytes out.
bool drawsText(const QStringList &arguments);

// A command's lines in the overview of --help: its forms, then each option
// with its help.
QString overviewOf(const Command &command);

// Runs one headless command, given its own arguments (its name first).
using CommandRunner = int (*)(CommandId id, const QStringList &arguments);
// Runs a headless command line (arguments include the program name): --help,
// --version and the window commands' help here, a command through
// `runCommand`.
int runHeadless(const QStringList &arguments, CommandRunner runCommand);

// Whether the command line needs Qt Core alone (the core library's commands:
// --help, --version, a command's help or usage error, a character-mode
// sticker sheet, capture queues), so that the program runs it without
// loading the windows, the drawing and the PDF libraries.
bool runsInCore(const QStringList &arguments);
// The core's commands, as runsInCore() lets them through (CoreCommands.cpp).
int runCoreCommand(CommandId id, const QStringList &arguments);
// Every headless command (CommandRunners.cpp, in the engine).
int runCommand(CommandId id, const QStringList &arguments);

// The files a windows command line asks to open (none for the sticker
// form), and the code page `--codepage NAME` chose for them (nothing when
// not given: the views use the stored one). False after printing the usage
// error when the arguments are wrong.
bool viewFiles(
    const QStringList &arguments, QStringList *files, std::optional<CodePage::Choice> *codePage = nullptr);

// The folder `sticker2 watch FOLDER` asks to watch (left empty for any other
// command line). False after printing the usage error when it is wrong.
bool watchFolder(const QStringList &arguments, QString *folder);

// The arguments without the window system's own options (-platform NAME,
// -style NAME, -reverse ...), so that a windows command line can be checked
// before any window system is touched.
QStringList withoutToolkitOptions(const QStringList &arguments);

// Why no window can open here, or nothing when one can: no platform named
// and no display to reach.
QString displayProblem(const QStringList &arguments);

// Subcommands, each given its own arguments (its name first).
int runConvert(const QStringList &arguments);
int runPrint(const QStringList &arguments);
// The stickers command; --pdf draws the Windows-mode sheet through
// `drawSheet` (none in the core, which never gets --pdf).
// `refused`: the input was at fault, not the writing.
using WindowSheetDrawer = bool (*)(const StickerInput &input, const QString &pdfFile, QString *error, bool *refused);
int runStickers(const QStringList &arguments, WindowSheetDrawer drawSheet);
int runCapture(const QStringList &arguments);
int runRules(const QStringList &arguments);

// convert's options that a converting watch takes as they are (its own
// --convert and --out stand for --to and --out-dir).
CommandOptions watchTakesOfConvert();

// `sticker2 watch FOLDER --convert FORMAT ...` as the convert command line it
// runs (`convert --watch ...`); empty for a watch that opens views.
QStringList watchConvertArguments(const QStringList &arguments);

} // namespace CommandLine
