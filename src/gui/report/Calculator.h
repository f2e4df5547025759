#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>

// The desktop calculator the view's calculator picture starts.
namespace Calculator {

// The programs tried, in order.
QStringList candidates();
// The first candidate installed on this machine, or empty.
QString find();
// Starts it detached. False with a message text when none can be started.
bool start(QString *error);
// The picture the view shows for it, `size` pixels square.
QPixmap picture(int size);

} // namespace Calculator
