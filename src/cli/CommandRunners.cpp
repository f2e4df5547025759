// Every headless command's routine, for the whole program: the windows'
// main runs a command line through these.

#include "cli/CommandLine.h"
#include "sticker/WindowSheetPdf.h"

namespace CommandLine {

int runCommand(CommandId id, const QStringList &arguments)
{
    switch (id) {
    case CommandId::Convert: return runConvert(arguments);
    case CommandId::Print: return runPrint(arguments);
    case CommandId::Stickers: return runStickers(arguments, writeWindowSheetPdf);
    case CommandId::Capture: return runCapture(arguments);
    case CommandId::Rules: return runRules(arguments);
    case CommandId::View:
    case CommandId::Watch: break; // windows: main opens them
    }
    return int(Status::Usage);
}

} // namespace CommandLine
