#include "gui/sticker/WindowSheetPrinting.h"

#include "gui/platform/MessageBox.h"
#include "gui/sticker/PrinterStickerSurface.h"
#include "printing/CurrentPrinter.h"

#include <QGuiApplication>

namespace {

const QString InformationTitle = QStringLiteral("Information Window");

// A long drawing keeps the window from answering; show that it is busy.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

bool printWindowSheet(StickerInput &input, QWidget *parent)
{
    const QString name = CurrentPrinter::name();
    if (name.isEmpty() || !CurrentPrinter::isInstalled(name)) {
        MessageBox::show(parent,
            name.isEmpty() ? QStringLiteral("No Printers Installed to do the Print job")
                           : QStringLiteral("The printer \"%1\" is not installed.").arg(name),
            InformationTitle, QMessageBox::Information);
        return false;
    }
    PrinterStickerSurface surface(name);
    return printWindowSheet(input, surface, parent);
}

bool printWindowSheet(StickerInput &input, StickerSurface &printer, QWidget *parent)
{
    WindowSheetFailure failure;
    bool done;
    {
        BusyCursor busy;
        done = drawWindowSheetOnPrinter(input, printer, &failure);
    }
    if (failure.kind == WindowSheetFailure::RowsPerSheet)
        MessageBox::show(parent, failure.message, InformationTitle, QMessageBox::Information);
    else if (failure.kind == WindowSheetFailure::Drawing)
        MessageBox::show(parent, failure.message, QStringLiteral("Printing Error"), QMessageBox::Critical);
    return done;
}

void previewWindowSheet(StickerInput &input, StickerSurface &pic)
{
    BusyCursor busy;
    drawWindowSheetPreview(input, pic);
}
