#pragma once

#include <QString>

#include <functional>

class QWidget;

// Work that talks to the print server, done on a thread of its own while the
// window goes on answering: a print server that takes the connection and
// never answers must not freeze a window. The wait shows a busy cursor at
// once and, when it lasts, a progress dialog with Cancel.
namespace SpoolerWait {

// How long the wait goes before its progress dialog shows. Until then the
// user's clicks and keys wait for the answer (the timers and painting go on).
constexpr int QuietMs = 400;

// Runs `work` on a new thread and returns when it has finished (true) or the
// user cancelled the wait (false). A cancelled work runs on to its end
// alone: it must hold what it uses (shared pointers), never the caller's
// locals.
bool run(QWidget *parent, const QString &label, std::function<void()> work);

// How long the program, leaving, waits for the work of cancelled waits.
constexpr int LeaveWaitMs = 6000;

// Waits up to `ms` for the work that cancelled waits left running; true when
// none runs any more. A work still running when the program leaves would meet
// the toolkit torn down under it (a crash at exit): when this is false the
// program must end without tearing down (std::_Exit).
bool finishAll(int ms);

} // namespace SpoolerWait
