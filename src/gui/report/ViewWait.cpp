#include "gui/report/ViewWait.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QThreadPool>

#include <chrono>
#include <future>

namespace {

// A wait shorter than this shows nothing.
constexpr qint64 QuietMs = 250;
constexpr int Steps = 1000;

} // namespace

ViewWait::ViewWait(QWidget *window, const QString &text, const QString &cancel, bool showWindow)
    : m_window(window)
    , m_text(text)
    , m_cancel(cancel)
    , m_showWindow(showWindow)
{
    m_started.start();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

ViewWait::~ViewWait()
{
    QGuiApplication::restoreOverrideCursor();
    if (m_progress)
        m_progress->reset();
}

bool ViewWait::tell(qint64 done, qint64 total)
{
    if (!m_progress) {
        if (m_started.elapsed() < QuietMs || !m_window)
            return true;
        if (m_showWindow && !m_window->isVisible())
            m_window->show();
        // Without a caption for it, the progress has no Cancel.
        m_progress = std::make_unique<QProgressDialog>(m_text, m_cancel, 0, Steps, m_window);
        m_progress->setObjectName(QStringLiteral("ViewWaitProgress"));
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setMinimumDuration(0);
        m_progress->setAutoReset(false);
        m_progress->setAutoClose(false);
        m_progress->show();
    }
    if (total > 0) {
        m_progress->setRange(0, Steps);
        m_progress->setValue(int(done * Steps / total));
    } else {
        m_progress->setRange(0, 0); // busy
    }
    QCoreApplication::processEvents();
    return m_cancel.isEmpty() || !m_progress->wasCanceled();
}

bool ViewWait::runAside(std::function<void()> work)
{
    auto finished = std::make_shared<std::promise<void>>();
    std::future<void> done = finished->get_future();
    QThreadPool::globalInstance()->start([work = std::move(work), finished] {
        work();
        finished->set_value();
    });
    while (done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
        if (!tell(0, 0))
            return false;
    }
    return true;
}
