#include "gui/printing/SpoolerWait.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

namespace SpoolerWait {

bool run(QWidget *parent, const QString &label, std::function<void()> work)
{
    // Set by the thread as its last step: the thread object itself is gone
    // (deleteLater) by the time a wait might look at it.
    auto done = std::make_shared<std::atomic_bool>(false);
    QThread *thread = QThread::create([work = std::move(work), done] {
        work();
        done->store(true);
    });
    // The thread outlives a cancelled wait and removes itself when done.
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);

    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    {
        QEventLoop quiet;
        QObject::connect(thread, &QThread::finished, &quiet, &QEventLoop::quit);
        QTimer::singleShot(QuietMs, &quiet, &QEventLoop::quit);
        thread->start();
        quiet.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!done->load()) {
        QProgressDialog progress(label, QStringLiteral("Cancel"), 0, 0, parent);
        progress.setObjectName(QStringLiteral("SpoolerWait"));
        progress.setWindowTitle(QStringLiteral("Printer"));
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
