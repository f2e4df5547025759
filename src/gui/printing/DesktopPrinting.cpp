#include "gui/printing/DesktopPrinting.h"

#include "gui/platform/Dialogs.h"
#include "gui/platform/MessageBox.h"
#include "platform/ByteText.h"
#include "gui/printing/PrinterOpening.h"
#include "printing/CupsLibrary.h"

#include <QApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QCoreApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <utility>

namespace {

QString errorTitle()
{
    return QCoreApplication::translate("Printing", "Printer Error Information");
}

DesktopPrinting::Factory s_factory;

std::unique_ptr<DocumentPrinter> openDefault(const DesktopPrintSetup &setup, QString *error)
{
    PrinterOpening::Opened opened = PrinterOpening::open(setup.window, setup, true);
    if (!opened.printer) {
        if (error && !opened.cancelled)
            *error = opened.list.timedOut
                ? opened.failure()
                : QCoreApplication::translate("Printing", "The Printer Name (%1) wasn't recognized.")
                      .arg(setup.printerName);
        return nullptr;
    }
    return std::make_unique<QPrinterDocumentPrinter>(std::move(opened.printer), setup.render);
}

// The printer of the print dialog: the current one, asked for on a thread of
// its own; null after telling why (or after a cancelled wait).
std::unique_ptr<QPrinter> dialogPrinter(const PageRenderOptions &render, QWidget *parent)
{
    DesktopPrintSetup setup;
    setup.render = render;
    PrinterOpening::Opened opened = PrinterOpening::open(parent, setup, false);
    if (!opened.printer && !opened.cancelled)
        MessageBox::show(parent, opened.failure(), errorTitle(), QMessageBox::Information);
    return std::move(opened.printer);
}

} // namespace

QPrinterDocumentPrinter::QPrinterDocumentPrinter(QPrinter *printer, const PageRenderOptions &render)
    : m_printer(printer)
    , m_render(render)
{ }

QPrinterDocumentPrinter::QPrinterDocumentPrinter(
    std::unique_ptr<QPrinter> printer, const PageRenderOptions &render)
    : m_owned(std::move(printer))
    , m_printer(m_owned.get())
    , m_render(render)
{ }

QPrinterDocumentPrinter::~QPrinterDocumentPrinter()
{
    m_renderer.reset();
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

bool QPrinterDocumentPrinter::fail(const QString &error)
{
    m_failed = true;
    m_error = error;
    return false;
}

bool QPrinterDocumentPrinter::start()
{
    if (m_painter)
        return true;
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer)) {
        return fail(QCoreApplication::translate("Printing", "The printer %1 cannot start the job.")
                        .arg(m_printer->outputFileName().isEmpty() ? m_printer->printerName()
                                                                   : m_printer->outputFileName()));
    }
    // The first page goes on the job's first sheet, every later one on
    // a sheet of its own.
    m_renderer = std::make_unique<EmphasisRenderer>(*m_painter, *m_printer, m_render);
    return true;
}

bool DocumentPrinter::printSheet(const Printed::Sheet &)
{
    return false;
}

bool DocumentPrinter::print(const PageSource &source, int i)
{
    return source.drawsSheets() ? printSheet(source.sheet(i)) : printPage(source.bytes(i));
}

bool QPrinterDocumentPrinter::printSheet(const Printed::Sheet &sheet)
{
    if (m_failed || !start())
        return false;
    if (sheet.textOverBudget) // its text is not all there: nothing is printed without it
        return fail(QCoreApplication::translate("Printing",
            "The sheet from byte %1 of the file holds more than the %2 runs of text a sheet may take.")
                        .arg(sheet.firstByte)
                        .arg(Printed::MostRuns));
    if (sheet.overBudget) // its pictures are not all there: nothing is printed without them
        return fail(QCoreApplication::translate("Printing",
            "The sheet from byte %1 of the file holds more pictures than the %2 MB a sheet may take.")
                        .arg(sheet.firstByte)
                        .arg(Printed::SheetBudget >> 20));
    if (m_sheetCount > 0 && !m_printer->newPage())
        return fail(QCoreApplication::translate("Printing", "The printer %1 refused a new page.")
                        .arg(m_printer->printerName()));
    ++m_sheetCount;
    if (!m_sheets) {
        m_sheets = std::make_unique<PrintedRenderer>();
        m_sheets->setForms(m_render.forms);
    }
    // The painter's origin is the top left of the printable area.
    const double unit = double(m_printer->resolution()) / Printed::UnitsPerInch;
    const QSizeF area(m_printer->width(), m_printer->height());
    const double scale = PrintedRenderer::fitScale(sheet, unit, area);
    m_sheets->draw(*m_painter, sheet, QPointF(0, 0), unit * scale);
    return true;
}

bool QPrinterDocumentPrinter::printPage(const QByteArray &page)
{
    if (m_failed || !start())
        return false;
    if (!m_renderer->drawPage(page))
        return fail(QCoreApplication::translate("Printing", "The printer %1 refused a new page.")
                        .arg(m_printer->printerName()));
    return true;
}

bool QPrinterDocumentPrinter::finish()
{
    m_renderer.reset();
    if (!m_painter || !m_painter->isActive())
        return !m_failed;
    if (!m_painter->end() && !m_failed)
        return fail(QCoreApplication::translate("Printing", "The printer %1 could not finish the job.")
                        .arg(m_printer->printerName()));
    // A printer of our own is a print run's; one given us may be a preview's.
    if (m_owned && !m_failed) {
        const QString refused = DesktopPrinting::jobRefusal(*m_printer);
        if (!refused.isEmpty())
            return fail(refused);
    }
    return !m_failed;
}

namespace DesktopPrinting {

std::unique_ptr<QPrinter> makePrinter(const DesktopPrintSetup &setup)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!setup.printerName.isEmpty())
        printer->setPrinterName(setup.printerName);
    printer->setDocName(setup.documentName);
    printer->setPageOrientation(setup.orientation);
    return printer;
}

std::unique_ptr<DocumentPrinter> open(const DesktopPrintSetup &setup, QString *error)
{
    return s_factory ? s_factory(setup, error) : openDefault(setup, error);
}

void setFactory(Factory factory)
{
    s_factory = std::move(factory);
}

bool printWithDialog(const ShownPage &page, bool selectionOffered, const PageRenderOptions &render,
    const QString &documentName, QWidget *parent)
{
    const std::unique_ptr<QPrinter> printer = dialogPrinter(render, parent);
    if (!printer)
        return false;
    printer->setDocName(documentName);
    if (!Dialogs::print(parent, printer.get(), selectionOffered))
        return false;

    PageSource shown;
    QString error;
    if (!page(printer->printRange() == QPrinter::Selection, &shown, &error)) {
        MessageBox::show(parent, error, errorTitle(), QMessageBox::Information);
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QPrinterDocumentPrinter out(printer.get(), render);
    bool ok = true;
    for (int i = 0; ok && i < shown.count(); ++i)
        ok = out.print(shown, i);
    ok = ok && out.finish();
    if (ok) {
        const QString refused = DesktopPrinting::jobRefusal(*printer);
        if (!refused.isEmpty()) {
            QApplication::restoreOverrideCursor();
            MessageBox::show(parent, refused, errorTitle(), QMessageBox::Information);
            return false;
        }
    }
    QApplication::restoreOverrideCursor();
    if (!ok)
        MessageBox::show(parent, out.errorString(), errorTitle(), QMessageBox::Information);
    return ok;
}

QString jobRefusal(const QPrinter &printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.outputFileName().isEmpty())
        return QString();
    // A print preview draws pictures of the pages: nothing went to the server.
    const QPaintEngine *engine = printer.paintEngine();
    if (engine && engine->type() == QPaintEngine::Picture)
        return QString();
    QString error;
    const CupsLibrary *cups = CupsLibrary::get(&error);
    if (!cups || cups->cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return QString();
    return QCoreApplication::translate("Printing", "The printer %1 did not take the job: %2")
        .arg(printer.printerName(), QString::fromUtf8(cups->cupsLastErrorString()));
}

QString previewRefusal(long long pages)
{
    if (pages <= PreviewPageLimit)
        return QString();
    return QCoreApplication::translate("DesktopPrinting",
        "The preview shows at most %1 pages, and this print has %2. Choose fewer pages to see them, or print them.")
        .arg(PreviewPageLimit)
        .arg(pages);
}

void preview(QPrinter *printer, const std::function<void(QPrinter *)> &paint, QWidget *parent)
{
    QPrintPreviewDialog dialog(printer, parent);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
    dialog.exec();
}

} // namespace DesktopPrinting
