#include "cli/CommandLine.h"

#include "cli/CliSupport.h"

#include "Version.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <cstdio>

namespace CommandLine {

namespace {

const char *const OverviewHead = R"(Usage: sticker2 [COMMAND] [OPTIONS] [FILE...]
Sticker sheets and a report view for the print files of text-mode programs.

)";

const char *const OverviewTail = R"(
  -h, --help                  This help; COMMAND --help shows a command's own.
  -v, --version               The version.

Exit status: 0 done, 1 the work failed (one line on standard error naming the file
and the cause; no output file is left), 2 the command line was wrong.
)";

// Whether the stickers command draws: only its Windows-mode sheet does.
bool stickersDrawText(const QStringList &arguments)
{
    return arguments.contains(QLatin1String("--pdf"))
        || !arguments.filter(QRegularExpression(QStringLiteral("^--pdf="))).isEmpty();
}

bool neverDrawsText(const QStringList &)
{
    return false;
}

} // namespace

const QList<Command> &commands()
{
    static const QList<Command> table = {
    { CommandId::View, QLatin1String("view"), QLatin1String("sticker2 [view] [--codepage NAME] FILE..."),
        R"(  sticker2                    Opens the sticker form.
  sticker2 FILE...            Opens a report view on each print file (at most six).
  sticker2 view FILE...       The same.
      --codepage NAME           the code page of the files (default: the stored one):
                                latin1, cp1252, cp437, cp850, cp852, kamenicky, cp866,
                                or auto (guessed from each file's bytes)
)",
        nullptr, nullptr },
    { CommandId::Convert, QLatin1String("convert"),
        QLatin1String("sticker2 convert [--to html|txt|rtf|xlsx|pdf|png] [--pages all|N|A-B] [--marks C1,C2,...] "
                      "[--look printed|emphasis] [--paper a4|letter] [--landscape] [--dpi N] [--form-length INCHES] "
                      "[--carriage wide|narrow] [--printer auto|9-pin|24-pin|escp2] [--form FIRST[,NEXT]] [--form-offset X,Y] "
                      "[--pdf-title TEXT] [--pdf-subject TEXT] [--pdf-keywords TEXT] [--codepage NAME] [--rules FILE] "
                      "IN OUT|- | --to FORMAT --out-dir DIR [-j N] FILE..."),
        R"(  sticker2 convert IN OUT     Converts a print file without a window:
      --to html|txt|rtf|xlsx|pdf|png
                                the format (default: from OUT's name, as the export dialog)
      --pages all|N|A-B         the pages of plain text, rich text and PDF; the sheets of
                                the printed look (default all)
      --marks C1,C2,...         the workbook's column marks (required for xlsx)
      --look printed|emphasis   the PDF's look: the sheets as the printer prints them
                                (default) or the view's emphasis colours
      --paper a4|letter         the PDF's paper (default: $PAPERSIZE, LC_PAPER, /etc/papersize)
      --landscape               the PDF's pages landscape
      --dpi N                   the pictures' resolution (png: one file per sheet,
                                OUT-001.png ...; default 150)
      --form-length INCHES      the printed look's form length for files that set none
                                (default: the setting, 11)
      --carriage wide|narrow    the printed look's carriage, 13.6 or 8 in (default wide)
      --printer auto|9-pin|24-pin|escp2
                                the printer the file was written for (default: the
                                setting, auto: the file's commands tell)
      --form FIRST[,NEXT]       forms under the printed look: FIRST under the first sheet,
                                NEXT under the later ones (FIRST alone: under every sheet;
                                either may be empty, "," for none); a PDF (FILE#page=N for
                                another page than the first) or a PNG or JPEG image
                                (default: the view's setting)
      --form-offset X,Y         moves the forms X mm right and Y mm down
      --pdf-title, --pdf-subject, --pdf-keywords TEXT
                                the PDF's document information (title default: IN's name)
      --codepage NAME           the code page the file is read in, as for view
      --rules FILE              a PDF named, filed, mailed and printed by the first rule of
                                FILE that matches the job (OUT: where it goes otherwise)
      OUT "-" writes a web page or plain text to standard output.
)",
        runConvert, nullptr },
    { CommandId::Print, QLatin1String("print"),
        QLatin1String("sticker2 print [-d QUEUE] [--pages all|N|A-B] [--draft|--no-draft] [--cpi 10|12|17] "
                      "[--paper-height N] [--copies N] [--extra-line] [--printer-model auto|9-pin|24-pin|escp2] "
                      "[--codepage NAME] IN"),
        R"(  sticker2 print IN           Prints a print file as raw bytes through CUPS:
      -d, --printer QUEUE       the queue (default: the default destination)
      --pages all|N|A-B         the sheets of the printed look, as convert and the view
                                count them (default: the whole file)
      --draft, --no-draft       draft quality (default --draft)
      --cpi 10|12|17            characters per inch (default 10)
      --paper-height N          page length in inches, 0 to 255 (default 0)
      --copies N                copies (default 1)
      --extra-line              one more line end after the first line
      --printer-model auto|9-pin|24-pin|escp2
                                the printer the sheets are counted for (default: the setting)
      --codepage NAME           taken and checked (auto too); the bytes go out unchanged
)",
        runPrint, neverDrawsText },
    { CommandId::Stickers, QLatin1String("stickers"),
        QLatin1String("sticker2 stickers --slot N (-o FILE|- | --pdf OUT.pdf) [--pages N] [--digits D] "
                      "[--data FILE.csv] [--delimiter comma|semicolon|tab] [--data-encoding NAME] [--start K] "
                      "[--barcode code128|code39|ean13|qr|none] [--codepage NAME]"),
        R"(  sticker2 stickers --slot N -o FILE|-
                              Writes the character-mode sticker sheet of format slot N (0-7):
      --pages N                 pages of stickers (default: the slot's own)
      --digits D                running numbers padded with zeros to D digits
      --data FILE.csv           one sticker per row; {Column} in a line takes its value
      --delimiter comma|semicolon|tab
                                the data's delimiter (default: the one its header line uses)
      --data-encoding NAME      the data's encoding, such as Windows-1250 (default: UTF-8,
                                else Windows-1252; a byte-order mark decides)
      --pdf OUT.pdf             the Windows-mode sheet drawn into a PDF instead of -o:
      --start K                   the first free sticker of a part-used sheet
      --barcode KIND              code128, code39, ean13, qr or none for the numbered line
)",
        runStickers, stickersDrawText },
    // Its converting form runs convert's batch form, shown first.
    { CommandId::Watch, QLatin1String("watch"),
        QLatin1String("sticker2 watch FOLDER [--convert FORMAT --out DIR [--keep|--move] [-j N] "
                      "[--rules FILE] [convert's OPTIONS]]"),
        R"(  sticker2 convert --to FORMAT --out-dir DIR FILE...
                              Converts many files into DIR, each under its own name:
      -j, --jobs N              how many at once (default: the processors)
  sticker2 watch FOLDER       Opens a report view on each new print file written into FOLDER,
                              once it is complete; beyond six open views the files wait.
      --convert FORMAT          instead, with no window: converts each complete job (and each
                                one there already without a newer output) as convert does
      --out DIR                 into DIR; a job that fails moves to DIR/failed, a log beside it
      --rules FILE              each job's PDF by the rules of FILE; a failed action moves the
                                job to DIR/failed with a log; FILE is read again when it changes
      --keep, --move            a converted job stays (default) or moves to DIR/done
                                (convert's options and -j are taken too)
)",
        nullptr, nullptr },
    { CommandId::Capture, QLatin1String("capture"),
        QLatin1String("sticker2 capture add [--name QUEUE] [--folder DIR] [--shared] | capture remove QUEUE"),
        R"(  sticker2 capture add        Makes a raw CUPS queue that keeps every job as a file (as root):
      --name QUEUE              the queue (default TextCapture)
      --folder DIR              where the jobs go (default /var/spool/sticker2)
      --shared                  offered to other computers too
  sticker2 capture remove QUEUE
                              Deletes a capture queue.
)",
        runCapture, nullptr },
    { CommandId::Rules, QLatin1String("rules"),
        QLatin1String("sticker2 rules check FILE | rules test --rules FILE [--codepage NAME] JOB"),
        R"(  sticker2 rules check FILE   Checks a rules file: each fault as FILE:LINE: cause.
  sticker2 rules test --rules FILE JOB
                              Shows the rule that matches a print job, the fields it found and
                              every action it would take; does nothing.
      --codepage NAME           the code page of rules that name none (default: the stored one)
)",
        runRules, neverDrawsText },
    };
    return table;
}

const Command &command(CommandId id)
{
    for (const Command &row : commands()) {
        if (row.id == id)
            return row;
    }
    return commands().first();
}

namespace {

// The command an argument names, if any.
const Command *commandNamed(const QString &name)
{
    for (const Command &row : commands()) {
        if (name == row.name)
            return &row;
    }
    return nullptr;
}

bool isCommand(const QString &argument, CommandId id)
{
    const Command *named = commandNamed(argument);
    return named && named->id == id;
}

// A command that runs without a window, named by the first argument.
const Command *headlessCommand(const QStringList &arguments)
{
    const Command *named = commandNamed(arguments.value(1));
    return named && named->run ? named : nullptr;
}

void printOverview()
{
    std::fputs(OverviewHead, stdout);
    for (const Command &row : commands())
        std::fputs(row.overview, stdout);
    std::fputs(OverviewTail, stdout);
}

bool isHelpOrVersion(const QString &argument)
{
    return argument == QLatin1String("-h") || argument == QLatin1String("--help")
        || argument == QLatin1String("-v") || argument == QLatin1String("--version")
        || argument == QLatin1String("--help-all");
}

// The window system's options, with whether each takes a value.
const QList<QPair<QLatin1String, bool>> ToolkitOptions = {
    { QLatin1String("platform"), true }, { QLatin1String("platformpluginpath"), true },
    { QLatin1String("platformtheme"), true }, { QLatin1String("plugin"), true },
    { QLatin1String("qwindowgeometry"), true }, { QLatin1String("qwindowicon"), true },
    { QLatin1String("qwindowtitle"), true }, { QLatin1String("session"), true }, { QLatin1String("display"), true },
    { QLatin1String("geometry"), true }, { QLatin1String("style"), true }, { QLatin1String("stylesheet"), true },
    { QLatin1String("title"), true }, { QLatin1String("name"), true }, { QLatin1String("reverse"), false },
    { QLatin1String("widgetcount"), false }, { QLatin1String("nograb"), false }, { QLatin1String("dograb"), false },
    { QLatin1String("qmljsdebugger"), false },
};

} // namespace

QStringList withoutToolkitOptions(const QStringList &arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--")) {
            kept += arguments.mid(i);
            break;
        }
        bool toolkit = false;
        if (i > 0 && argument.startsWith(QLatin1Char('-'))) {
            const QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1).section(QLatin1Char('='), 0, 0);
            for (const auto &option : ToolkitOptions) {
                if (name == option.first) {
                    toolkit = true;
                    if (option.second && !argument.contains(QLatin1Char('=')))
                        ++i; // its value
                    break;
                }
            }
        }
        if (!toolkit)
            kept.append(argument);
    }
    return kept;
}

QString displayProblem(const QStringList &arguments)
{
    if (withoutToolkitOptions(arguments).size() != arguments.size() // a platform may be named
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return QString();
    return QStringLiteral("cannot open a window: no display (DISPLAY and WAYLAND_DISPLAY are not set)");
}

Mode modeOf(const QStringList &arguments)
{
    const QString first = arguments.value(1);
    if (headlessCommand(arguments))
        return Mode::Headless;
    if (!watchConvertArguments(arguments).isEmpty())
        return Mode::Headless;
    if (isHelpOrVersion(first))
        return Mode::Headless;
    // A watch without exactly one folder is a usage error: no window for it.
    if (isCommand(first, CommandId::Watch) && arguments.size() != 3)
        return Mode::Headless;
    if ((isCommand(first, CommandId::View) || isCommand(first, CommandId::Watch))
        && isHelpOrVersion(arguments.value(2)))
        return Mode::Headless;
    return Mode::Windows;
}

bool drawsText(const QStringList &arguments)
{
    const Command *named = commandNamed(arguments.value(1));
    return !named || !named->drawsText || named->drawsText(arguments);
}

int runHeadless(const QStringList &arguments)
{
    const QString first = arguments.value(1);
    if (const Command *named = headlessCommand(arguments))
        return named->run(arguments);
    const QStringList converting = watchConvertArguments(arguments);
    if (!converting.isEmpty())
        return runConvert(converting);
    if (isCommand(first, CommandId::Watch) && !isHelpOrVersion(arguments.value(2))) {
        QString folder;
        return watchFolder(arguments, &folder) ? int(Status::Done) : int(Status::Usage);
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        std::printf("sticker2 %s\n", STICKER2_VERSION);
        return int(Status::Done);
    }
    printOverview();
    return int(Status::Done);
}

QStringList watchConvertArguments(const QStringList &arguments)
{
    if (!isCommand(arguments.value(1), CommandId::Watch))
        return {};
    QStringList converted
        = { arguments.value(0), QString(command(CommandId::Convert).name), QStringLiteral("--watch") };
    bool converting = false;
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--")) {
            converted.append(arguments.mid(i));
            break;
        }
        QString renamed = argument;
        if (argument == QLatin1String("--convert") || argument.startsWith(QLatin1String("--convert="))) {
            renamed.replace(0, 9, QStringLiteral("--to"));
            converting = true;
        } else if (argument == QLatin1String("--out") || argument.startsWith(QLatin1String("--out="))) {
            renamed.replace(0, 5, QStringLiteral("--out-dir"));
        }
        converted.append(renamed);
    }
    return converting ? converted : QStringList();
}

bool watchFolder(const QStringList &arguments, QString *folder)
{
    if (!isCommand(arguments.value(1), CommandId::Watch))
        return true;
    const QStringList rest = arguments.mid(2);
    if (rest.size() != 1 || (rest.first().startsWith(QLatin1Char('-')) && rest.first().size() > 1)) {
        CliSupport::usage(command(CommandId::Watch).synopsis,
            rest.isEmpty() ? QStringLiteral("watch needs a FOLDER")
                           : QStringLiteral("watch takes one FOLDER and no options"));
        return false;
    }
    *folder = rest.first();
    return true;
}

bool viewFiles(const QStringList &arguments, QStringList *files, std::optional<CodePage::Choice> *codePage)
{
    QStringList rest = arguments.mid(1);
    const bool named = !rest.isEmpty() && isCommand(rest.first(), CommandId::View);
    if (named)
        rest.removeFirst();
    bool optionsEnd = false;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const QString &argument = rest.at(i);
        if (!optionsEnd && argument == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        if (!optionsEnd
            && (argument == QLatin1String("--codepage")
                || argument.startsWith(QLatin1String("--codepage=")))) {
            const bool joined = argument.contains(QLatin1Char('='));
            if (!joined && i + 1 >= rest.size()) {
                CliSupport::usage(command(CommandId::View).synopsis, QStringLiteral("--codepage needs a NAME"));
                return false;
            }
            const QString name = joined ? argument.section(QLatin1Char('='), 1) : rest.at(++i);
            QString error;
            const std::optional<CodePage::Choice> id = CliSupport::codePageNamed(name, &error);
            if (!id) {
                CliSupport::usage(command(CommandId::View).synopsis, error);
                return false;
            }
            if (codePage)
                *codePage = id;
            continue;
        }
        if (!optionsEnd && argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            CliSupport::usage(command(CommandId::View).synopsis, QStringLiteral("unknown option \"%1\"").arg(argument));
            return false;
        }
        files->append(argument);
    }
    if (named && files->isEmpty()) {
        CliSupport::usage(command(CommandId::View).synopsis, QStringLiteral("view needs at least one FILE"));
        return false;
    }
    return true;
}

} // namespace CommandLine
