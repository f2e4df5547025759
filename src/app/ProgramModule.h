#pragma once

// The program is a launcher in plain C++ and three modules, each loaded only
// for a command line that needs it: the core's (Qt Core alone: --help,
// --version, a sticker sheet, capture queues; it decides and loads one of
// the other two for the rest), the commands' (the engine on Qt Gui:
// convert, print, the rules, the watch's conversions) and the whole
// program's (the windows, with Qt Widgets, which a command never loads).
// Installed in the program's private library folder (<libdir>/sticker2/), in
// the build folder beside the program.
namespace ProgramModule {

struct Module
{
    const char *fileName;
    // The module's entry: a main, given the process's arguments as they are.
    const char *entryName;
};
constexpr Module Core {"sticker2-core.so", "sticker2_core_main"};
constexpr Module Commands {"sticker2-commands.so", "sticker2_commands_main"};
constexpr Module Windows {"sticker2-full.so", "sticker2_full_main"};
// What a module is handed besides the arguments: the way to wait for the
// font configuration that another thread of the process is reading. A
// module's first text waits for it rather than read the configuration a
// second time beside it (fontconfig does not wait for a reading under way:
// a second caller reads it all again and throws one of the two away).
struct Handover
{
    void (*waitForFonts)(void *state) = nullptr;
    void *state = nullptr;

    // Returns at once when nothing is being read.
    void fontsRead() const
    {
        if (waitForFonts)
            waitForFonts(state);
    }
};
using Entry = int (*)(int argc, char **argv, const Handover *handover);

// Loads the module and runs its entry, giving its status; status 1 with one
// line on standard error naming the module and the cause when it cannot be
// loaded.
int run(const Module &module, int argc, char **argv, const Handover &handover = Handover());

} // namespace ProgramModule
