// The whole program: the windows (and every command line, though the
// launcher, main.cpp, hands the commands to the commands' module, which
// loads no Qt Widgets), loaded when the command line opens a window.
#include "app/HeadlessProgram.h"
#include "app/ProgramModule.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "gui/platform/AppIdentity.h"
#include "gui/platform/StylePictures.h"
#include "gui/report/OpenReportView.h"
#include "gui/printing/SpoolerWait.h"
#include "gui/startup/FormStartup.h"
#include "gui/watch/FrmWatch.h"
#include "platform/AppPaths.h"
#include "platform/Translations.h"
#include "watch/PrintFileWatcher.h"

#include <QApplication>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace {

// With STICKER2_QUIT_WHEN_SHOWN set, the program leaves as soon as its first
// window is on screen and drawn: the start-up benchmarks time a start to its
// first window. It leaves at once, whatever work is still going on (a view
// reading its file in the printed look is on screen before the event loop
// runs, and goes on reading).
class QuitWhenShown : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose) {
            auto *window = qobject_cast<QWindow *>(watched);
            if (window && window->isExposed()) {
                static_cast<QObject *>(window)->event(event); // drawn
                std::fflush(nullptr);
                std::_Exit(0);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// The windows' event loop, then the way out. A print-server question whose
// wait the user cancelled may still run on its thread: the program waits a
// little for it, and when it still runs ends at once rather than tear the
// toolkit down under it (a crash at exit).
int runWindows(QApplication &app)
{
    const int status = app.exec();
    if (!SpoolerWait::finishAll(SpoolerWait::LeaveWaitMs)) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}

// The arguments are checked before any window system is touched: a usage
// error needs no display. -1 when the windows may open, else the status to
// exit with.
int checkWindowArguments(const QStringList &arguments)
{
    const QStringList own = CommandLine::withoutToolkitOptions(arguments);
    QString folder;
    QStringList files;
    if (!CommandLine::watchFolder(own, &folder) || (folder.isEmpty() && !CommandLine::viewFiles(own, &files)))
        return int(CommandLine::Status::Usage);
    if (!folder.isEmpty() && !PrintFileWatcher::folderProblem(folder).isEmpty())
        return CliSupport::fail(PrintFileWatcher::folderProblem(folder));
    const QString noDisplay = CommandLine::displayProblem(arguments);
    if (!noDisplay.isEmpty())
        return CliSupport::fail(noDisplay);
    return -1;
}

// The first windows, from the arguments Qt left (its own options taken
// out): the watch of a folder, a report view of each file named, or the
// sticker form; then the event loop.
int openWindows(QApplication &app)
{
    QString folder;
    if (!CommandLine::watchFolder(QCoreApplication::arguments(), &folder))
        return int(CommandLine::Status::Usage);
    QApplication::setApplicationName(QStringLiteral("Sticker2"));
    AppIdentity::apply();
    if (!folder.isEmpty()) {
        AppPaths::ensureProgramFolder();
        auto *watch = new FrmWatch;
        QString error;
        if (!watch->start(folder, &error)) {
            delete watch;
            return CliSupport::fail(error);
        }
        watch->show();
        return runWindows(app);
    }
    QStringList files;
    std::optional<CodePage::Choice> codePage;
    if (!CommandLine::viewFiles(QCoreApplication::arguments(), &files, &codePage))
        return int(CommandLine::Status::Usage);
    AppPaths::ensureProgramFolder();
    if (files.isEmpty()) {
        // The sticker form's panels are group boxes (a report view's come
        // with its print panel, after its first picture).
        StylePictures::preloadGroupBoxFrame(QApplication::style());
        Main();
        return runWindows(app);
    }
    if (openReportViews(files, codePage) == 0)
        return int(CommandLine::Status::Failed);
    return runWindows(app);
}

} // namespace

// The launcher has set the process up (signals, heap) already.
extern "C" Q_DECL_EXPORT int sticker2_full_main(int argc, char *argv[], const ProgramModule::Handover *handover)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    if (CommandLine::modeOf(arguments) == CommandLine::Mode::Headless)
        return runHeadlessProgram(argc, argv, arguments, *handover);
    const int status = checkWindowArguments(arguments);
    if (status >= 0)
        return status;
    // A display that is named but cannot be reached ends the start with one
    // line and status 1, not an abort. Once they are open, the windows print
    // nothing: the toolkit's own warnings (a platform that cannot pass size
    // limits on to its windows, say) go unprinted, as in the commands.
    qInstallMessageHandler(CliSupport::startFailure);
    QApplication app(argc, argv);
    CliSupport::quietToolkitMessages();
    Translations::install(&app);
    QuitWhenShown quitWhenShown;
    if (qEnvironmentVariableIsSet("STICKER2_QUIT_WHEN_SHOWN"))
        app.installEventFilter(&quitWhenShown);
    handover->fontsRead(); // the first window's first text follows
    return openWindows(app);
}
