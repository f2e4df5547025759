#pragma once

#include <QString>

// The program's current printer: the system default printer until a print
// from a report view makes another one current. Process-wide, one thread.
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
