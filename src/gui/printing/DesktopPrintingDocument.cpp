// Printing a report document's chosen pages through the desktop driver.
#include "gui/printing/DesktopPrinting.h"

#include "report/ReportDocument.h"

namespace DesktopPrinting {

bool printDocument(const ReportDocument &document, const PageSelection &pages, long long copies,
    const DesktopPrintSetup &setup, QString *error)
{
    std::unique_ptr<DocumentPrinter> printer;
    // The job opens with the first page that prints; an empty page prints
    // nothing. Each page (each sheet in the printed look, as the view shows
    // them) as many times as copies.
    const auto print = [&](const std::function<bool(DocumentPrinter &)> &one) {
        for (long long copy = 0; copy < copies; ++copy) {
            if (!printer && !(printer = open(setup, error)))
                return false;
            if (!one(*printer)) {
                *error = printer->errorString();
                return false;
            }
        }
        return true;
    };
    bool ok = true;
    if (document.showsSheets()) {
        for (int i : document.chosenShown(pages)) {
            const Printed::Sheet sheet = document.sheet(i);
            if (!(ok = print([&sheet](DocumentPrinter &out) { return out.printSheet(sheet); })))
                break;
        }
    } else {
        for (int i : document.chosenPages(pages)) {
            const QByteArray page = document.pages().pageBytes(i);
            if (page.isEmpty())
                continue;
            if (!(ok = print([&page](DocumentPrinter &out) { return out.printPage(page); })))
                break;
        }
    }
    if (ok && printer && !printer->finish()) {
        *error = printer->errorString();
        ok = false;
    }
    return ok;
}

} // namespace DesktopPrinting
