#pragma once

#include <functional>

class QObject;
class QWidget;

// Work a window does not need for its first picture (asking the print
// server, loading the libraries that takes) waits until that picture is on
// screen: the first window appears sooner, and the work follows at once.
namespace FirstPaint {

// Runs `work` on the next turn of the event loop after `widget`'s window is
// first drawn (at once when it is on screen already). Nothing runs once
// `context` is gone; a window never shown never runs it, so a caller that
// needs the work's result first does it itself.
void then(QWidget *widget, QObject *context, std::function<void()> work);

// Whether `widget`'s window is on screen and drawn.
bool drawn(const QWidget *widget);

} // namespace FirstPaint
