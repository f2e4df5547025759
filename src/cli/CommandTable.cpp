// The table of commands: each command's name, usage line, help and options,
// and the routine that runs it.

#include "cli/CommandLine.h"
#include "cli/OptionTables.h"


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

} // namespace

const QList<Command> &commands()
{
    static const QList<Command> table = {
    { CommandId::View, QLatin1String("view"), QLatin1String("sticker2 [view] [--codepage NAME] FILE..."),
        R"(  sticker2                    Opens the sticker form.
  sticker2 FILE...            Opens a report view on each print file (at most six).
  sticker2 view FILE...       The same.
)",
        "Opens a report view on each print file (at most six); a file that cannot be read gives its message "
        "and the others still open. The word view may be left out.",
        OptionTables::view(), false, nullptr, nullptr },
    { CommandId::Convert, QLatin1String("convert"),
        QLatin1String("sticker2 convert [--to html|txt|rtf|xlsx|pdf|png] [--pages all|N|A-B] [--marks C1,C2,...] "
                      "[--look printed|emphasis] [--paper a4|letter] [--landscape] [--dpi N] [--form-length INCHES] "
                      "[--carriage wide|narrow] [--printer auto|9-pin|24-pin|escp2] [--form FIRST[,NEXT]] [--form-offset X,Y] "
                      "[--pdf-title TEXT] [--pdf-subject TEXT] [--pdf-keywords TEXT] [--codepage NAME] [--rules FILE] "
                      "IN OUT|- | --to FORMAT --out-dir DIR [-j N] FILE..."),
        R"(  sticker2 convert IN OUT     Converts a print file without a window; OUT "-" writes a web page
                              or plain text to standard output.
  sticker2 convert --to FORMAT --out-dir DIR FILE...
                              Converts many files into DIR, each under its own name:
)",
        "Converts the print file IN as the export dialog does: a web page, plain text, rich text, a "
        "workbook, a PDF or pictures, chosen from OUT's name (\".html\", \".txt\", \".xls\"/\".xlsx\", "
        "\".pdf\", \".png\", \".rtf\") or by --to (any other ending needs it). OUT \"-\" writes a web page or plain "
        "text to standard output. A PDF and pictures show the sheets as the printer prints them; pictures are "
        "one file per sheet, OUT-001.png, OUT-002.png ...",
        OptionTables::convert(), true, nullptr, nullptr },
    { CommandId::Print, QLatin1String("print"),
        QLatin1String("sticker2 print [-d QUEUE] [--pages all|N|A-B] [--draft|--no-draft] [--cpi 10|12|17] "
                      "[--paper-height N] [--copies N] [--extra-line] [--printer-model auto|9-pin|24-pin|escp2] "
                      "[--codepage NAME] IN"),
        R"(  sticker2 print IN           Prints a print file as raw bytes through CUPS:
)",
        "Sends the print file IN to a printer as raw bytes, as the report view's print panel does in "
        "character mode: the setup sequences, then the file's lines with CR LF, once per copy.",
        OptionTables::print(), true, neverDrawsText, nullptr },
    { CommandId::Stickers, QLatin1String("stickers"),
        QLatin1String("sticker2 stickers --slot N (-o FILE|- | --pdf OUT.pdf) [--pages N] [--digits D] "
                      "[--data FILE.csv] [--delimiter comma|semicolon|tab] [--data-encoding NAME] [--start K] "
                      "[--barcode code128|code39|ean13|qr|none] [--codepage NAME]"),
        R"(  sticker2 stickers --slot N -o FILE|-
                              Writes the character-mode sticker sheet of format slot N (0-7), or
                              with --pdf draws its Windows-mode sheet; the options stand in for
                              the slot's stored values for this run only:
)",
        "Writes the character-mode sticker sheet of a stored format slot, loaded as the sticker form "
        "loads it, as a print file, or with --pdf draws its Windows-mode sheet into a PDF. The options stand in "
        "for the slot's stored values for this run only.",
        OptionTables::stickers(), true, stickersDrawText, nullptr },
    // Its converting form runs convert's batch form.
    { CommandId::Watch, QLatin1String("watch"),
        QLatin1String("sticker2 watch FOLDER [--convert FORMAT --out DIR [--keep|--move] [-j N] "
                      "[--rules FILE] [convert's OPTIONS]]"),
        R"(  sticker2 watch FOLDER       Opens a report view on each new print file written into FOLDER,
                              once it is complete; beyond six open views the files wait.
)",
        "Opens a report view on each new print file written into FOLDER, once it is complete; beyond six "
        "open views the files wait. With --convert and --out no window opens: each complete job is converted "
        "as convert does, with any of convert's options.",
        OptionTables::watch(), false, nullptr, nullptr },
    { CommandId::Capture, QLatin1String("capture"),
        QLatin1String("sticker2 capture add [--name QUEUE] [--folder DIR] [--shared] | capture remove QUEUE"),
        R"(  sticker2 capture add        Makes a raw CUPS queue that keeps every job as a file (as root).
  sticker2 capture remove QUEUE
                              Deletes a capture queue.
)",
        "add creates a raw CUPS queue (or changes one made before) that keeps each job, byte for byte, as a "
        "new file in a folder; remove deletes one. Both need the spooler's administrator (root).",
        OptionTables::capture(), true, nullptr, "add remove" },
    { CommandId::Rules, QLatin1String("rules"),
        QLatin1String("sticker2 rules check FILE | rules test --rules FILE [--codepage NAME] JOB"),
        R"(  sticker2 rules check FILE   Checks a rules file: each fault as FILE:LINE: cause.
  sticker2 rules test --rules FILE JOB
                              Shows the rule that matches a print job, the fields it found and
                              every action it would take; does nothing.
)",
        "rules check FILE checks a rules file; rules test --rules FILE JOB shows what the rules would do with "
        "a print job, and does nothing.",
        OptionTables::rules(), true, neverDrawsText, "check test" },
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

} // namespace CommandLine
