#pragma once

#include "printing/PrinterList.h"

#include <QString>

#include <memory>

class QPrinter;
class QWidget;
struct DesktopPrintSetup;

// What the desktop-printing routes ask the print server, asked on a thread of
// its own (SpoolerWait), never on a window's: the printer list, and the
// QPrinter itself, since Qt asks the server for the default printer and the
// printer's details while it makes one.
namespace PrinterOpening {

// The printers the server knows; false when the user cancelled the wait.
// A server that does not answer gives an empty list with `timedOut` set.
bool listPrinters(QWidget *parent, PrinterList *list);

struct Opened
{
    bool cancelled = false; // the user cancelled the wait: tell nothing
    PrinterList list;       // what the server answered
    QString name;           // the printer asked for, or the current one
    bool installed = false; // `name` is one of the list's printers
    std::unique_ptr<QPrinter> printer;

    // Why there is no printer, in words for the user: the server does not
    // answer, none is installed, or `name` is not. Empty when cancelled.
    QString failure() const;
};

// A high-resolution QPrinter with the setup's name, orientation and document
// name, made on the thread. An empty name is the current printer
// (CurrentPrinter), else the server's default. With `mustBeInstalled` there
// is a printer only when that printer is installed; without it an unknown
// printer gives the default one, and none at all (no print server either) a
// printer that writes PDF: enough for a preview, or for the print dialog to
// choose from. No printer either way when the server does not answer.
Opened open(QWidget *parent, const DesktopPrintSetup &setup, bool mustBeInstalled);

} // namespace PrinterOpening
