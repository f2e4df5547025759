#include "gui/printing/PrinterOpening.h"

#include "gui/printing/CurrentPrinter.h"
#include "gui/printing/DesktopPrinting.h"
#include "gui/printing/SpoolerWait.h"

#include <QCoreApplication>
#include <QPrinter>

namespace PrinterOpening {
namespace {

QString askingText()
{
    return QCoreApplication::translate("Printing", "Asking the print server for the printer...");
}

} // namespace

bool listPrinters(QWidget *parent, PrinterList *list)
{
    auto answer = std::make_shared<PrinterList>();
    if (!SpoolerWait::run(parent, askingText(), [answer] { *answer = PrinterList::fetch(); }))
        return false;
    *list = *answer;
    return true;
}

QString Opened::failure() const
{
    if (cancelled)
        return QString();
    if (list.timedOut)
        return list.error;
    if (name.isEmpty())
        return QCoreApplication::translate("Printing", "No Printers Installed to do the Print job");
    if (!installed)
        return QCoreApplication::translate("Printing", "The printer \"%1\" is not installed.").arg(name);
    return QString();
}

Opened open(QWidget *parent, const DesktopPrintSetup &setup, bool mustBeInstalled)
{
    struct Shared
    {
        Opened opened;
        DesktopPrintSetup setup;
    };
    auto shared = std::make_shared<Shared>();
    shared->setup = setup;
    shared->opened.name = setup.printerName.isEmpty() ? CurrentPrinter::chosen() : setup.printerName;
    const bool finished = SpoolerWait::run(parent, askingText(), [shared, mustBeInstalled] {
        Opened &opened = shared->opened;
        opened.list = PrinterList::fetch();
        if (opened.list.timedOut)
            return; // nothing more is asked of a server that does not answer
        if (opened.name.isEmpty())
            opened.name = opened.list.defaultName;
        opened.installed = !opened.name.isEmpty() && opened.list.names.contains(opened.name);
        if (mustBeInstalled && !opened.installed)
            return;
        DesktopPrintSetup made = shared->setup;
        made.printerName = opened.installed ? opened.name : QString();
        opened.printer = DesktopPrinting::makePrinter(made);
    });
    if (!finished) {
        Opened cancelled;
        cancelled.cancelled = true;
        return cancelled;
    }
    return std::move(shared->opened);
}

} // namespace PrinterOpening
