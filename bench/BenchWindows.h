#pragma once

// What the window benchmarks share: a report view opened as the user opens
// one, keys typed into it, the longest time the window goes without
// handling its events, and the run of the benchmarks in an application
// whose message boxes answer by themselves.
#include "BenchSupport.h"
#include "gui/platform/MessageBox.h"
#include "gui/report/FrmReport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>

namespace BenchWindows {

// A report view of `path`, shown with its first screen; null when the file
// cannot be read.
inline FrmReport *openView(const QString &path)
{
    auto *view = new FrmReport;
    if (!view->LoadReport(path)) {
        delete view;
        return nullptr;
    }
    view->show();
    QCoreApplication::processEvents();
    return view;
}

// A key pressed in `to` (Return with its text, as the keyboard sends it).
inline void pressKey(QWidget *to, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Return ? QStringLiteral("\r") : QString());
    QCoreApplication::sendEvent(to, &press);
}

// The longest time between two turns of the event loop while a step runs:
// start() before the step, stop() after it.
class LongestStall
{
public:
    LongestStall()
    {
        QObject::connect(&m_tick, &QTimer::timeout, [this] { m_longest = qMax(m_longest, m_since.restart()); });
    }
    void start()
    {
        m_since.start();
        m_tick.start(0);
    }
    void stop()
    {
        m_longest = qMax(m_longest, m_since.elapsed());
        m_tick.stop();
    }
    qint64 milliseconds() const { return m_longest; }

private:
    QElapsedTimer m_since;
    QTimer m_tick;
    qint64 m_longest = 0;
};

// Runs the registered benchmarks in an application on the offscreen
// platform (unless one is chosen), after `prepare` made their files; 1 when
// it could not.
template <typename Prepare> int runWindowBenchmarks(int argc, char **argv, Prepare prepare)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MessageBox::setTestMode(true);
    if (!prepare())
        return 1;
    return BenchSupport::runBenchmarks(argc, argv);
}

} // namespace BenchWindows
