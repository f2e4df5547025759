// The table of commands: each command's name, usage line, help and options,
// and the routine that runs it.

#include "cli/CommandLine.h"
#include "cli/CommandUsage.h"
#include "cli/OptionTables.h"
#include "export/ExportFormat.h"

#include <QCommandLineParser>

namespace CommandLine {

namespace {

// Whether the stickers command draws: only its Windows-mode sheet does.
bool stickersDrawText(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--pdf") || argument.startsWith(QLatin1String("--pdf=")))
            return true;
    }
    return false;
}

bool neverDrawsText(const QStringList &)
{
    return false;
}

// Whether convert draws: plain text or the web page of one file (with at
// most its pages and code page chosen) is bytes in, bytes out, and needs no
// fonts (a stored system colour of the web page is read without a desktop's
// palette, as on the offscreen platform); anything else may draw, and a
// command line that does not parse is left to convert.
bool convertDrawsText(const QStringList &arguments)
{
    QCommandLineParser parser;
    const CommandOptions options = OptionTables::convert();
    for (const CommandOption &option : options)
        parser.addOption(option.parserOption());
    if (!parser.parse(arguments) || parser.positionalArguments().size() != 3)
        return true;
    const QStringList textOptions {QStringLiteral("to"), QStringLiteral("pages"), QStringLiteral("codepage")};
    for (const QString &name : parser.optionNames()) {
        if (!textOptions.contains(name))
            return true;
    }
    const QString out = parser.positionalArguments().at(2);
    const std::optional<ExportFormat> named = parser.isSet(QStringLiteral("to"))
        ? exportFormatNamed(parser.value(QStringLiteral("to")))
        : std::optional<ExportFormat>(exportFormatForOutput(out));
    return named != ExportFormat::PlainText && named != ExportFormat::WebPage;
}

} // namespace

const QList<Command> &commands()
{
    static const QList<Command> table = {
    { CommandId::View, QLatin1String("view"),
        { { "[view] [OPTIONS] FILE...",
            "Opens a report view on each print file (at most six); the word view may be left out." } },
        "Opens a report view on each print file (at most six); a file that cannot be read gives its message "
        "and the others still open. The word view may be left out.",
        OptionTables::view(), false, nullptr },
    { CommandId::Convert, QLatin1String("convert"),
        { { "convert [--to] [OPTIONS] IN OUT|-",
              "Converts a print file without a window; OUT \"-\" writes a web page or plain text to standard "
              "output." },
            { "convert --to --out-dir [-j] [OPTION...] FILE...",
                "Converts many files into DIR, each under its own name:" } },
        "Converts the print file IN as the export dialog does: a web page, plain text, rich text, a "
        "workbook, a PDF or pictures, chosen from OUT's name (\".html\", \".txt\", \".xls\"/\".xlsx\", "
        "\".pdf\", \".png\", \".rtf\") or by --to (any other ending needs it). OUT \"-\" writes a web page or plain "
        "text to standard output. A PDF and pictures show the sheets as the printer prints them; pictures are "
        "one file per sheet, OUT-001.png, OUT-002.png ...",
        OptionTables::convert(), true, convertDrawsText },
    { CommandId::Print, QLatin1String("print"),
        { { "print [-d] [--pages] [--draft|--no-draft] [OPTIONS] IN",
            "Prints a print file as raw bytes through CUPS:" } },
        "Sends the print file IN to a printer as raw bytes, as the report view's print panel does in "
        "character mode: the setup sequences once, then the file's lines with CR LF once per copy, each copy "
        "going on where the one before left the paper (the file's own form feeds end its pages).",
        OptionTables::print(), true, neverDrawsText },
    { CommandId::Stickers, QLatin1String("stickers"),
        { { "stickers --slot (-o|--pdf) [OPTIONS]",
            "Writes the character-mode sticker sheet of format slot N (0-7), or with --pdf draws its "
            "Windows-mode sheet; the options stand in for the slot's stored values for this run only:" } },
        "Writes the character-mode sticker sheet of a stored format slot, loaded as the sticker form "
        "loads it, as a print file, or with --pdf draws its Windows-mode sheet into a PDF. The options stand in "
        "for the slot's stored values for this run only.",
        OptionTables::stickers(), true, stickersDrawText },
    // Its converting form runs convert's batch form.
    { CommandId::Watch, QLatin1String("watch"),
        { { "watch FOLDER",
              "Opens a report view on each new print file written into FOLDER, once it is complete; beyond six "
              "open views the files wait." },
            { "watch FOLDER --convert --out [--keep|--move] [-j] [--rules] [CONVERT-OPTION...]",
                "Converts each complete job into DIR with no window, as convert does, with any of convert's "
                "options:" } },
        "Opens a report view on each new print file written into FOLDER, once it is complete; beyond six "
        "open views the files wait. With --convert and --out no window opens: each complete job is converted "
        "as convert does, with any of convert's options.",
        OptionTables::watch(), false, nullptr },
    { CommandId::Capture, QLatin1String("capture"),
        { { "capture add [OPTIONS]", "Makes a raw CUPS queue that keeps every job as a file (as root)." },
            { "capture remove QUEUE", "Deletes a capture queue." } },
        "add creates a raw CUPS queue (or changes one made before) that keeps each job, byte for byte, as a "
        "new file in a folder; remove deletes one. Both need the spooler's administrator (root).",
        OptionTables::capture(), true, nullptr },
    { CommandId::Rules, QLatin1String("rules"),
        { { "rules check FILE", "Checks a rules file: each fault as FILE:LINE: cause." },
            { "rules test --rules [OPTIONS] JOB",
                "Shows the rule that matches a print job, the fields it found and every action it would take; "
                "does nothing." } },
        "rules check FILE checks a rules file; rules test --rules FILE JOB shows what the rules would do with "
        "a print job, and does nothing.",
        OptionTables::rules(), true, neverDrawsText },
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

QString Command::usage() const
{
    return CommandUsage::text(*this);
}

} // namespace CommandLine
