#pragma once

#include "cli/CommandOption.h"

// Each command's options, in the order its help lists them. The command
// table (CommandLine::commands()) holds them; everything else reads them
// from there.
namespace OptionTables {

CommandOptions view();
CommandOptions convert();
CommandOptions print();
CommandOptions stickers();
CommandOptions watch();
CommandOptions capture();
CommandOptions rules();

} // namespace OptionTables
