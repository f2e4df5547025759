// The program's start: the command lines that need no window system (--help,
// --version, a character-mode sticker sheet, capture queues) run here on Qt
// Core alone; every other one is handed to the rest of the program, loaded
// then (ProgramModule), with the process's arguments as they are.
#include "app/FontWarmUp.h"
#include "app/ProgramModule.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "platform/AppPaths.h"
#include "platform/HeapTuning.h"
#include "platform/ProcessSignals.h"
#include "platform/Translations.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    ignoreFileSizeSignal();
    keepLargeBuffersOnHeap();

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (!CommandLine::runsInCore(arguments)) {
        const bool windows = CommandLine::modeOf(arguments) == CommandLine::Mode::Windows;
        const FontWarmUp fonts(windows || CommandLine::drawsText(arguments));
        return ProgramModule::run(windows ? ProgramModule::Windows : ProgramModule::Commands, argc, argv);
    }

    // Bytes in, bytes out: no window system, no fonts.
    CliSupport::quietToolkitMessages();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Sticker2"));
    Translations::install(&app);
    AppPaths::ensureProgramFolder();
    return CommandLine::runHeadless(arguments, CommandLine::runCoreCommand);
}
