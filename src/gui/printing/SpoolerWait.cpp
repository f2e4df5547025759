#include "gui/printing/SpoolerWait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>
#include <vector>

namespace SpoolerWait {
namespace {

// The threads of the waits, kept until seen finished: a cancelled wait's
// thread runs on alone, and the program must not leave under it. Touched on
// the windows' thread only.
std::vector<QThread *> &threads()
{
    static std::vector<QThread *> all;
    return all;
}

// Deletes the threads that have ended, waiting for them until `deadline`.
bool reap(QDeadlineTimer deadline)
{
    auto &all = threads();
    for (auto it = all.begin(); it != all.end();) {
        if ((*it)->wait(deadline)) {
            delete *it;
            it = all.erase(it);
        } else {
            ++it;
        }
    }
    return all.empty();
}

} // namespace

bool finishAll(int ms)
{
    return reap(QDeadlineTimer(qMax(0, ms)));
}

bool run(QWidget *parent, const QString &label, std::function<void()> work)
{
    // Set by the thread as its last step of work.
    auto done = std::make_shared<std::atomic_bool>(false);
    QThread *thread = QThread::create([work = std::move(work), done] {
        work();
        done->store(true);
    });
    reap(QDeadlineTimer(0));
    threads().push_back(thread);

    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    {
        QEventLoop quiet;
        QObject::connect(thread, &QThread::finished, &quiet, &QEventLoop::quit);
        QTimer::singleShot(QuietMs, &quiet, &QEventLoop::quit);
        thread->start();
        quiet.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!done->load()) {
        QProgressDialog progress(label, QCoreApplication::translate("Printing", "Cancel"), 0, 0, parent);
        progress.setObjectName(QStringLiteral("SpoolerWait"));
        progress.setWindowTitle(QCoreApplication::translate("Printing", "Printer"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(0);
        progress.setAutoReset(false);
        progress.setAutoClose(false);
        QEventLoop waiting;
        // Connected before `done` is read: a thread that ends after the read
        // still ends the wait.
        QObject::connect(thread, &QThread::finished, &waiting, &QEventLoop::quit);
        QObject::connect(&progress, &QProgressDialog::canceled, &waiting, &QEventLoop::quit);
        progress.show();
        if (!done->load())
            waiting.exec();
    }
    QGuiApplication::restoreOverrideCursor();
    return done->load();
}

} // namespace SpoolerWait
