#pragma once

#include "cli/CommandOption.h"

#include <QString>

// What is written about the commands from their tables: the overview's
// lines, the manual page's SYNOPSIS and OPTIONS sections and the bash
// completion.
namespace OptionDocs {

// A form of a command as the overview lists it: the form from the third
// column, what it does from the thirty-first, wrapped.
QString overviewForm(const QString &form, const QString &summary);

// The options as the overview of --help lists them: each option's names and
// value from the seventh column, its help from the thirty-third, wrapped.
QString overviewLines(const CommandOptions &options);

// The manual page's SYNOPSIS section (roff), every form of every command.
QString manualSynopsis();

// The manual page's OPTIONS section (roff), a subsection per command.
QString manualOptions();

// The bash completion: commands, each command's options and their values.
QString bashCompletion();

// `sticker2 --dump-options synopsis|man|bash`: prints one of them; status 2
// for anything else. The build writes the manual page and the completion
// file with it (cmake/CliDocs.cmake).
int dump(const QString &what);

} // namespace OptionDocs
