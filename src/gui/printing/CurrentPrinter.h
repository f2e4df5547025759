#pragma once

#include <QString>

// The windows' current printer: the system default printer until a print
// from a report view makes another one current. Shared by the windows of the
// process, on its one GUI thread; the engine's routines are given a
// printer's name instead.
namespace CurrentPrinter {

// The name set by setName(), or the system default printer's name when none
// has been set. Empty when no printer is installed.
QString name();

// The name set by setName(), empty when none is: asks the spooler nothing.
QString chosen();

// Makes the named printer current; an empty name returns to the default.
void setName(const QString &printerName);

// True when a printer of that exact name is installed.
bool isInstalled(const QString &printerName);

} // namespace CurrentPrinter
