// The core module, loaded by the launcher (main.cpp) for every command line
// it does not run itself: the ones that need no window system (--help,
// --version, a character-mode sticker sheet, capture queues) run here on Qt
// Core alone; every other one is handed to the rest of the program, loaded
// then (ProgramModule), with the process's arguments as they are.
#include "app/FontWarmUp.h"
#include "app/ProgramModule.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "platform/AppPaths.h"
#include "platform/Translations.h"

#include <QCoreApplication>

// The launcher has set the process up (signals, heap) already.
extern "C" Q_DECL_EXPORT int sticker2_core_main(int argc, char *argv[], const ProgramModule::Handover *)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // A window says what it cannot open in its own message; a command line
    // that names what Qt cannot read back is refused before anything runs.
    const bool windows = CommandLine::modeOf(arguments) == CommandLine::Mode::Windows;
    if (!windows) {
        const int refused = CliSupport::refuseNonUtf8(argc, argv);
        if (refused >= 0)
            return refused;
    }
    if (!CommandLine::runsInCore(arguments)) {
        FontWarmUp fonts(windows || CommandLine::drawsText(arguments));
        ProgramModule::Handover handover;
        handover.waitForFonts = [](void *state) { static_cast<FontWarmUp *>(state)->wait(); };
        handover.state = &fonts;
        return ProgramModule::run(windows ? ProgramModule::Windows : ProgramModule::Commands, argc, argv, handover);
    }

    // Bytes in, bytes out: no window system, no fonts.
    CliSupport::quietToolkitMessages();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Sticker2"));
    Translations::install(&app);
    AppPaths::ensureProgramFolder();
    return CommandLine::runHeadless(arguments, CommandLine::runCoreCommand);
}
