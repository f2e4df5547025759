#pragma once

#include "cli/CommandLine.h"

#include <QString>
#include <QStringList>

// A command's usage, made from its forms and its option table. A form is
// written in the table's own words:
//   --to, -j        the option, shown with its value as its row shows it
//                   ("--to html|txt|rtf|xlsx|pdf|png", "-j N")
//   [ ... ]         optional
//   a|b, ( ... )    one of them ("[--keep|--move]", "(-o|--pdf)"); a bar with
//                   spaces around it parts whole sequences ("(a b | c)")
//   [OPTIONS]       every option of the command that none of its forms names,
//                   each optional, in the table's order
//   UPPER           an argument ("IN", "FILE..."), shown as it is
//   lower           a word typed as it is: the command's name, a verb
// The usage line of --help and of every usage error, the overview's forms,
// the manual's SYNOPSIS and the completion's verbs all come from here.
namespace CommandUsage {

// Each form as a usage line: "sticker2 convert [--to html|...] ... IN OUT|-".
QStringList lines(const CommandLine::Command &command);

// The usage as --help and a usage error show it after "Usage: ": the lines,
// each after the first on a line of its own starting "  or:  ".
QString text(const CommandLine::Command &command);

// A form without its optional options, as the overview shows it:
// "sticker2 convert IN OUT|-", "sticker2 [view] FILE...".
QString brief(const CommandLine::Command &command, const CommandLine::CommandForm &form);

// The manual's SYNOPSIS entries of the command (roff .SY ... .YS).
QString manual(const CommandLine::Command &command);

// The words the command's first argument takes ("add", "remove"), from
// its forms; none when it takes arguments of the user's.
QStringList verbs(const CommandLine::Command &command);

// The options the forms name that the command's table lacks, and the
// forms that do not parse: faults of the table, for its test.
QStringList faults(const CommandLine::Command &command);

} // namespace CommandUsage
