#include "gui/sticker/WindowSheetPrinting.h"

#include "gui/platform/MessageBox.h"
#include "gui/printing/DesktopPrinting.h"
#include "gui/sticker/PrinterStickerSurface.h"
#include "gui/printing/PrinterOpening.h"

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

// Takes the texts and drops them: a dry run of the sheet, for its checks and
// the pages a printer would be given (a document ends its page, and each
// row printing ends a document).
class NoSurface : public StickerSurface
{
public:
    long long pages = 0;
    bool EndDoc() override
    {
        if (m_open)
            ++pages;
        m_open = false;
        return true;
    }

protected:
    bool drawText(const StickerText &) override
    {
        m_open = true;
        return true;
    }

private:
    bool m_open = false;
};

} // namespace

bool printWindowSheet(StickerInput &input, QWidget *parent)
{
    DesktopPrintSetup setup;
    setup.documentName = WindowSheetPrinting::tr("Stickers");
    PrinterOpening::Opened opened = PrinterOpening::open(parent, setup, true);
    if (!opened.printer) {
        if (!opened.cancelled)
            MessageBox::show(parent, opened.failure(), informationTitle(), QMessageBox::Information);
        return false;
    }
    PrinterStickerSurface surface(std::move(opened.printer));
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

QString previewWindowSheet(StickerInput &input, StickerSurface &pic)
{
    BusyCursor busy;
    return drawWindowSheetPreview(input, pic);
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
    none.EndDoc(); // the document a sheet leaves open
    const QString tooMany = DesktopPrinting::previewRefusal(none.pages);
    if (!tooMany.isEmpty()) {
        MessageBox::show(parent, tooMany, informationTitle(), QMessageBox::Information);
        return;
    }
    // The current printer's paper, the printer made on a thread of its own:
    // Qt asks the print server while it makes one.
    DesktopPrintSetup setup;
    setup.documentName = WindowSheetPrinting::tr("Stickers");
    PrinterOpening::Opened opened = PrinterOpening::open(parent, setup, false);
    if (!opened.printer) {
        if (!opened.cancelled)
            MessageBox::show(parent, opened.failure(), informationTitle(), QMessageBox::Information);
        return;
    }
    DesktopPrinting::preview(
        opened.printer.get(),
        [&](QPrinter *target) {
            {
                StickerInput sheet = input;
                PrinterStickerSurface surface(*target);
                drawWindowSheetOnPrinter(sheet, surface, nullptr);
            } // the job ends with the surface
            // Printed from the preview: a job the server refused is told.
            const QString refused = DesktopPrinting::jobRefusal(*target);
            if (!refused.isEmpty())
                MessageBox::show(
                    parent, refused, WindowSheetPrinting::tr("Printing Error"), QMessageBox::Critical);
        },
        parent);
}
