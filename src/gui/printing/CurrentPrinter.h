#pragma once

#include <QString>

struct PrinterList;

// The windows' current printer: the system default printer until a print
// from a report view makes another one current. Shared by the windows of the
// process, on its one GUI thread; the engine's routines are given a
// printer's name instead. Nothing here asks the print server: the windows
// ask it on a thread of their own (PrinterOpening) and pass its answer.
namespace CurrentPrinter {

// The name set by setName(), or the list's default printer when none has
// been set. Empty when no printer is installed.
QString name(const PrinterList &list);

// The name set by setName(), empty when none is.
QString chosen();

// Makes the named printer current; an empty name returns to the default.
void setName(const QString &printerName);

// True when a printer of that exact name is in the list.
bool isInstalled(const PrinterList &list, const QString &printerName);

} // namespace CurrentPrinter
