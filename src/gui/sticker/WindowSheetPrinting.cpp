#include "gui/sticker/WindowSheetPrinting.h"

#include "gui/platform/MessageBox.h"
#include "gui/printing/DesktopPrinting.h"
#include "gui/sticker/PrinterStickerSurface.h"
#include "gui/printing/CurrentPrinter.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPrinter>

namespace {

// The context of this file's texts.
class WindowSheetPrinting
{
    Q_DECLARE_TR_FUNCTIONS(WindowSheetPrinting)
};

// Read when a message is shown, so it comes in the language loaded at start-up.
QString informationTitle()
{
    return WindowSheetPrinting::tr("Information Window");
}

// A long drawing keeps the window from answering; show that it is busy.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// Takes the texts and drops them: a dry run of the sheet, for its checks.
class NoSurface : public StickerSurface
{
protected:
    bool drawText(const StickerText &) override { return true; }
};

} // namespace

bool printWindowSheet(StickerInput &input, QWidget *parent)
{
    const QString name = CurrentPrinter::name();
    if (name.isEmpty() || !CurrentPrinter::isInstalled(name)) {
        MessageBox::show(parent,
            name.isEmpty() ? WindowSheetPrinting::tr("No Printers Installed to do the Print job")
                           : WindowSheetPrinting::tr("The printer \"%1\" is not installed.").arg(name),
            informationTitle(), QMessageBox::Information);
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
        MessageBox::show(parent, failure.message, informationTitle(), QMessageBox::Information);
    else if (failure.kind == WindowSheetFailure::Drawing)
        MessageBox::show(
            parent, failure.message, WindowSheetPrinting::tr("Printing Error"), QMessageBox::Critical);
    return done;
}

void previewWindowSheet(StickerInput &input, StickerSurface &pic)
{
    BusyCursor busy;
    drawWindowSheetPreview(input, pic);
}

void previewWindowSheetPrintout(const StickerInput &input, QWidget *parent)
{
    StickerInput dry = input;
    NoSurface none;
    WindowSheetFailure failure;
    if (!drawWindowSheetOnPrinter(dry, none, &failure)) {
        MessageBox::show(parent, failure.message, informationTitle(), QMessageBox::Information);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    const QString name = CurrentPrinter::name();
    if (CurrentPrinter::isInstalled(name))
        printer.setPrinterName(name);
    printer.setDocName(WindowSheetPrinting::tr("Stickers"));
    DesktopPrinting::preview(
        &printer,
        [&](QPrinter *target) {
            StickerInput sheet = input;
            PrinterStickerSurface surface(*target);
            drawWindowSheetOnPrinter(sheet, surface, nullptr);
        },
        parent);
}
