// Printing a report document's chosen pages through the desktop driver.
#include "gui/printing/DesktopPrinting.h"

#include "report/ReportDocument.h"

namespace DesktopPrinting {

bool printDocument(const ReportDocument &document, const PageSelection &pages, long long copies,
    const DesktopPrintSetup &setup, QString *error)
{
    if (!document.asLoaded(error) || !document.hasChosen(pages, error))
        return false;
    std::unique_ptr<DocumentPrinter> printer;
    // The job opens with the first page that prints; an empty page prints
    // nothing. Each page (each sheet in the printed look, as the view shows
    // them) as many times as copies.
    const PageSource source = document.pageSource();
    const auto print = [&](int i) {
        for (long long copy = 0; copy < copies; ++copy) {
            if (!printer && !(printer = open(setup, error)))
                return false;
            if (!printer->print(source, i)) {
                *error = printer->errorString();
                return false;
            }
        }
        return true;
    };
    bool ok = true;
    for (int i : document.chosenShown(pages)) {
        if (!source.blank(i) && !(ok = print(i)))
            break;
    }
    if (ok && printer && !printer->finish()) {
        *error = printer->errorString();
        ok = false;
    }
    return ok;
}

} // namespace DesktopPrinting
