// The commands the program runs with Qt Core alone, before and without
// loading the rest of it (see runsInCore()).

#include "cli/CommandLine.h"

namespace CommandLine {

int runCoreCommand(CommandId id, const QStringList &arguments)
{
    switch (id) {
    case CommandId::Stickers: return runStickers(arguments, nullptr); // never --pdf here
    case CommandId::Capture: return runCapture(arguments);
    default: break;
    }
    return int(Status::Usage); // runsInCore() lets no other through
}

} // namespace CommandLine
