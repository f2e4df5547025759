#pragma once

// The rest of the program (the windows, the drawing, PDF, printing and
// every command the core does not run) is a module the launcher loads only
// for a command line that needs it, so that `sticker2 stickers ...`,
// `--help` and the like start with Qt Core alone. Installed in the
// program's private library folder (<libdir>/sticker2/), in the build folder
// beside the program.
namespace ProgramModule {

constexpr const char *FileName = "sticker2-full.so";
// The module's entry: the whole program's main, given the process's
// arguments as they are.
constexpr const char *EntryName = "sticker2_full_main";
using Entry = int (*)(int argc, char **argv);

// Loads the module and runs its entry, giving its status; status 1 with one
// line on standard error naming the module and the cause when it cannot be
// loaded.
int run(int argc, char **argv);

} // namespace ProgramModule
