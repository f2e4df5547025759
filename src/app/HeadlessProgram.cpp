#include "app/HeadlessProgram.h"

#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "platform/AppPaths.h"
#include "platform/Translations.h"

#include <QCoreApplication>
#include <QGuiApplication>

int runHeadlessProgram(int argc, char *argv[], const QStringList &arguments,
    const ProgramModule::Handover &handover)
{
    CliSupport::quietToolkitMessages();
    const auto run = [&] {
        QCoreApplication::setApplicationName(QStringLiteral("Sticker2"));
        Translations::install(QCoreApplication::instance());
        AppPaths::ensureProgramFolder();
        return CommandLine::runHeadless(arguments, CommandLine::runCommand);
    };
    if (!CommandLine::drawsText(arguments)) {
        // Bytes in, bytes out: no platform plugin and no fonts to load.
        QCoreApplication app(argc, argv);
        return run();
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    handover.fontsRead();
    return run();
}
