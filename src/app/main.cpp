#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "gui/report/OpenReportView.h"
#include "gui/startup/FormStartup.h"
#include "gui/watch/FrmWatch.h"
#include "platform/AppPaths.h"
#include "platform/ProcessSignals.h"
#include "startup/MainModule.h"

#include <QApplication>
#include <QGuiApplication>

int main(int argc, char *argv[])
{
    ignoreFileSizeSignal();

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    if (CommandLine::modeOf(arguments) == CommandLine::Mode::Headless) {
        // No window ever opens: never depend on a display.
        CliSupport::quietToolkitMessages();
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QGuiApplication::setApplicationName(QStringLiteral("Sticker2"));
        AppPaths::ensureProgramFolder();
        startGlobals();
        return CommandLine::runHeadless(arguments);
    }

    QApplication app(argc, argv);
    QString folder;
    if (!CommandLine::watchFolder(QCoreApplication::arguments(), &folder))
        return int(CommandLine::Status::Usage);
    QApplication::setApplicationName(QStringLiteral("Sticker2"));
    if (!folder.isEmpty()) {
        AppPaths::ensureProgramFolder();
        startGlobals();
        auto *watch = new FrmWatch;
        QString error;
        if (!watch->start(folder, &error)) {
            delete watch;
            return CliSupport::fail(error);
        }
        watch->show();
        return app.exec();
    }
    QStringList files; // the arguments Qt left, its own options taken out
    std::optional<CodePage::Choice> codePage;
    if (!CommandLine::viewFiles(QCoreApplication::arguments(), &files, &codePage))
        return int(CommandLine::Status::Usage);
    AppPaths::ensureProgramFolder();
    if (files.isEmpty()) {
        Main();
        return app.exec();
    }
    startGlobals();
    if (openReportViews(files, codePage) == 0)
        return int(CommandLine::Status::Failed);
    return app.exec();
}
