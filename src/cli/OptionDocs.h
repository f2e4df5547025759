#pragma once

#include "cli/CommandOption.h"

#include <QString>

// What is written about the options from the commands' tables: the
// overview's option lines, the manual page's OPTIONS section and the bash
// completion. `sticker2 --dump-options man|bash` prints the last two; the
// copies kept in data/ are checked against it by ctest (cli/docs_follow_options).
namespace OptionDocs {

// The options as the overview of --help lists them: each option's names and
// value from the seventh column, its help from the thirty-third, wrapped.
QString overviewLines(const CommandOptions &options);

// The manual page's OPTIONS section (roff), a subsection per command.
QString manualOptions();

// The bash completion: commands, each command's options and their values.
QString bashCompletion();

// `sticker2 --dump-options man|bash`: prints one of them; status 2 for
// anything else.
int dump(const QString &what);

} // namespace OptionDocs
