#include "cli/CommandLine.h"

#include "cli/CliSupport.h"
#include "cli/CommandUsage.h"
#include "cli/OptionDocs.h"

#include "Version.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>
#include <new>

namespace CommandLine {

namespace {

const char *const OverviewHead = R"(Usage: sticker2 [COMMAND] [OPTIONS] [FILE...]
Sticker sheets and a report view for the print files of text-mode programs.

  sticker2                    Opens the sticker form.
)";

const char *const OverviewTail = R"(
  -h, --help                  This help; COMMAND --help shows a command's own.
  -v, --version               The version.

Exit status: 0 done, 1 the work failed (one line on standard error naming the file
and the cause; no output file is left), 2 the command line was wrong.
)";

} // namespace

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
    return named && named->headless ? named : nullptr;
}

void printOverview()
{
    std::fputs(OverviewHead, stdout);
    for (const Command &row : commands())
        std::fputs(overviewOf(row).toUtf8().constData(), stdout);
    std::fputs(OverviewTail, stdout);
}

// `view ... --help` and `watch ... --help`: a window command asking for its
// own help (before any "--").
bool asksOwnHelp(const QStringList &arguments)
{
    if (!isCommand(arguments.value(1), CommandId::View) && !isCommand(arguments.value(1), CommandId::Watch))
        return false;
    for (const QString &argument : arguments.mid(2)) {
        if (argument == QLatin1String("--"))
            return false;
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help"))
            return true;
    }
    return false;
}

// The watch's parser takes its own options and convert's (its conversions
// take them), convert's hidden from its help.
CommandOptions watchParserOptions()
{
    CommandOptions options = command(CommandId::Watch).options;
    for (const CommandOption &option : watchTakesOfConvert()) {
        if (!optionNamed(options, option.names.constLast()))
            options.append(option.hiddenOne());
    }
    return options;
}

// The window commands' own --help, and their options checked as the
// headless commands check theirs.
int parseWindowCommand(const QStringList &arguments)
{
    const Command &own = command(isCommand(arguments.value(1), CommandId::Watch) ? CommandId::Watch : CommandId::View);
    QCommandLineParser parser;
    parser.addPositionalArgument(own.id == CommandId::Watch ? QStringLiteral("FOLDER") : QStringLiteral("FILE..."),
        own.id == CommandId::Watch ? QStringLiteral("The folder to watch.") : QStringLiteral("The print files."));
    return CliSupport::parse(parser, arguments, own.usage(),
        own.id == CommandId::Watch ? watchParserOptions() : own.options, -1, QString::fromUtf8(own.description));
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
    if (isHelpOrVersion(first) || first == QLatin1String("--dump-options"))
        return Mode::Headless;
    if (asksOwnHelp(arguments))
        return Mode::Headless;
    // A watch without exactly one folder is a usage error: no window for it.
    if (isCommand(first, CommandId::Watch) && arguments.size() != 3)
        return Mode::Headless;
    if ((isCommand(first, CommandId::View) || isCommand(first, CommandId::Watch))
        && isHelpOrVersion(arguments.value(2)))
        return Mode::Headless;
    return Mode::Windows;
}

bool runsInCore(const QStringList &arguments)
{
    if (modeOf(arguments) != Mode::Headless || !watchConvertArguments(arguments).isEmpty())
        return false;
    const Command *named = headlessCommand(arguments);
    if (!named)
        return true; // --help, --version, a window command's help or usage error
    return named->id == CommandId::Capture || (named->id == CommandId::Stickers && !drawsText(arguments));
}

bool drawsText(const QStringList &arguments)
{
    if (arguments.value(1) == QLatin1String("--dump-options"))
        return false; // the build runs it: text in, text out
    const Command *named = commandNamed(arguments.value(1));
    return !named || !named->drawsText || named->drawsText(arguments);
}

namespace {

int runHeadlessCommand(const QStringList &arguments, CommandRunner runCommand)
{
    const QString first = arguments.value(1);
    if (const Command *named = headlessCommand(arguments))
        return runCommand(named->id, arguments);
    if (asksOwnHelp(arguments))
        return parseWindowCommand(arguments);
    const QStringList converting = watchConvertArguments(arguments);
    if (!converting.isEmpty()) {
        // The watch's own options checked under their own names first.
        const int parsed = parseWindowCommand(arguments);
        return parsed >= 0 ? parsed : runCommand(CommandId::Convert, converting);
    }
    if (isCommand(first, CommandId::Watch) && !isHelpOrVersion(arguments.value(2))) {
        QString folder;
        return watchFolder(arguments, &folder) ? int(Status::Done) : int(Status::Usage);
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        std::printf("sticker2 %s\n", STICKER2_VERSION);
        return int(Status::Done);
    }
    if (first == QLatin1String("--dump-options"))
        return OptionDocs::dump(arguments.value(2));
    printOverview();
    return int(Status::Done);
}

} // namespace

int runHeadless(const QStringList &arguments, CommandRunner runCommand)
{
    int status = int(Status::Failed);
    try {
        status = runHeadlessCommand(arguments, runCommand);
    } catch (const std::bad_alloc &) {
        // Under a memory limit (ulimit -v, a service's MemoryMax) a large job
        // had ended in an abort; the outputs under way are gone with the
        // unwinding, and the run fails as any other.
        QString named = arguments.value(1); // the file the command reads, where one is given
        for (qsizetype i = 2; i < arguments.size(); ++i) {
            if (!arguments.at(i).startsWith(QLatin1Char('-')) && QFileInfo(arguments.at(i)).isFile()) {
                named = arguments.at(i);
                break;
            }
        }
        return CliSupport::fail(
            QStringLiteral("%1: ran out of memory (the job needs more than this process may take)").arg(named));
    }
    // What went to standard output through the C library (help, the
    // version, listings) is checked once it is all out: a full disk or a
    // closed output is a failure, not a run that says nothing.
    return CliSupport::finishStandardOutput(status);
}

QString overviewOf(const Command &command)
{
    QString text;
    for (const CommandForm &form : command.forms)
        text += OptionDocs::overviewForm(CommandUsage::brief(command, form), QString::fromUtf8(form.summary));
    return text + OptionDocs::overviewLines(command.options);
}

CommandOptions watchTakesOfConvert()
{
    CommandOptions taken;
    for (const CommandOption &option : command(CommandId::Convert).options) {
        if (!option.names.contains(QLatin1String("to")) && !option.names.contains(QLatin1String("out-dir")))
            taken.append(option);
    }
    return taken;
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
        // An unknown option or a bad value is told as every command tells it.
        if (!rest.isEmpty() && parseWindowCommand(arguments) >= 0)
            return false;
        CliSupport::usage(command(CommandId::Watch).usage(),
            rest.isEmpty() ? QStringLiteral("watch needs a FOLDER")
                           : QStringLiteral("watch takes one FOLDER, and options only with --convert"));
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
                CliSupport::usage(command(CommandId::View).usage(), QStringLiteral("--codepage needs a NAME"));
                return false;
            }
            const QString name = joined ? argument.section(QLatin1Char('='), 1) : rest.at(++i);
            const QString problem
                = optionNamed(command(CommandId::View).options, QStringLiteral("codepage"))->problem(name);
            if (!problem.isEmpty()) {
                CliSupport::usage(command(CommandId::View).usage(), problem);
                return false;
            }
            if (codePage)
                *codePage = CodePage::choiceFromName(name);
            continue;
        }
        if (!optionsEnd && argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            CliSupport::usage(command(CommandId::View).usage(), QStringLiteral("unknown option \"%1\"").arg(argument));
            return false;
        }
        files->append(argument);
    }
    if (named && files->isEmpty()) {
        CliSupport::usage(command(CommandId::View).usage(), QStringLiteral("view needs at least one FILE"));
        return false;
    }
    return true;
}

} // namespace CommandLine
