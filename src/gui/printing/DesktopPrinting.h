#pragma once

#include "render/EmphasisRenderer.h"
#include "render/PrintedRenderer.h"
#include "report/PageSource.h"

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class ReportDocument;
struct PageSelection;
class QPrinter;
class QWidget;

// Printing print-file pages through the desktop printer driver, laid out by
// the page renderer: every character of every line reaches the paper.

// Where a page-by-page print goes. Each printPage() prints one copy of one
// print-file page starting on a fresh sheet; a page longer than a sheet
// runs on over the next sheets. finish() ends the job.
class DocumentPrinter
{
public:
    virtual ~DocumentPrinter() = default;
    virtual bool printPage(const QByteArray &page) = 0;
    // One sheet of the printed look on a sheet of paper of its own, at its
    // true size where it fits the printable area, else scaled down whole.
    virtual bool printSheet(const Printed::Sheet &sheet);
    virtual bool finish() = 0;
    virtual QString errorString() const = 0;
    // Page i of the source, whichever look it is in: a sheet as printed or
    // a page with its emphasis.
    bool print(const PageSource &source, int i);
};

// The printer a run goes to, and how its pages are drawn.
struct DesktopPrintSetup
{
    QString printerName; // must be an installed printer
    QString documentName;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    PageRenderOptions render; // the view's emphasis, colours and size
    QWidget *window = nullptr; // goes on answering while the print server is asked
};

// Draws on a QPrinter (a printer, a PDF file or a print preview): one job
// for the whole run.
class QPrinterDocumentPrinter : public DocumentPrinter
{
public:
    explicit QPrinterDocumentPrinter(QPrinter *printer, const PageRenderOptions &render = {}); // not owned
    explicit QPrinterDocumentPrinter(std::unique_ptr<QPrinter> printer, const PageRenderOptions &render = {});
    ~QPrinterDocumentPrinter() override;

    bool printPage(const QByteArray &page) override;
    bool printSheet(const Printed::Sheet &sheet) override;
    bool finish() override;
    QString errorString() const override { return m_error; }

private:
    bool fail(const QString &error);
    bool start();

    std::unique_ptr<QPrinter> m_owned;
    QPrinter *m_printer = nullptr;
    PageRenderOptions m_render;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<EmphasisRenderer> m_renderer;
    std::unique_ptr<PrintedRenderer> m_sheets;
    int m_sheetCount = 0;
    bool m_failed = false;
    QString m_error;
};

namespace DesktopPrinting {

// A high-resolution QPrinter on the named printer, with the orientation.
std::unique_ptr<QPrinter> makePrinter(const DesktopPrintSetup &setup);

// Opens the printer of a page-by-page print, asking the print server on a
// thread of its own (PrinterOpening); null with an error text when it cannot
// (the server does not answer, no such printer), or with none when the user
// cancelled the wait. Tests may put their own factory in; an empty one
// restores the default.
using Factory = std::function<std::unique_ptr<DocumentPrinter>(const DesktopPrintSetup &, QString *error)>;
std::unique_ptr<DocumentPrinter> open(const DesktopPrintSetup &setup, QString *error);
void setFactory(Factory factory);

// The page on screen as a source of one page, or its selection alone when
// asked (see ReportDocument::shownSource); false with the reason when it
// has none.
using ShownPage = std::function<bool(bool selectionOnly, PageSource *source, QString *error)>;

// The print-dialog route: asks for a printer with the print dialog (the
// selection offered when `selectionOffered`) and prints the page's selection,
// or the whole page, in the look it is shown in (a sheet on its form). A
// cancelled dialog prints nothing and tells nothing; a failure (a print
// server that does not answer included) is told to the user. The job is
// named `documentName`, as the panel's other routes name theirs. True when
// printed.
bool printWithDialog(const ShownPage &page, bool selectionOffered, const PageRenderOptions &render,
    const QString &documentName, QWidget *parent);

// Prints the chosen pages of the document, page by page, each as many times
// as `copies`, on the setup's printer; the printed look prints its sheets as
// the view shows them. The job opens with the first page that prints; an
// empty page prints nothing. False with the reason when it did not print whole.
bool printDocument(const ReportDocument &document, const PageSelection &pages, long long copies,
    const DesktopPrintSetup &setup, QString *error);

// What the print server answered when `printer` handed it the job its
// painter just ended, if it refused the job (a queue that takes no jobs, a
// user it turns away): Qt's print engine drops the answer, and the job would
// be lost without a word. Empty when the job was taken, and for a printer
// that writes a file. Asked on the thread that ended the painter, right
// after it; empty for a print preview's pictures, so that the drawing a
// preview and its print share may ask it either way.
QString jobRefusal(const QPrinter &printer);

// The print preview of what `paint` draws on a printer, starting on
// `printer`; printing from the preview has `paint` draw on the printer the
// user picks there, so it prints what the preview shows.
void preview(QPrinter *printer, const std::function<void(QPrinter *)> &paint, QWidget *parent);

// A preview holds every page it shows as a picture in memory, all drawn
// before the first is shown: a preview of more pages than this is refused
// (a long report's took gigabytes and minutes, the window frozen).
constexpr long long PreviewPageLimit = 1000;
// The message refusing a preview of `pages` pages; empty when it may be shown.
QString previewRefusal(long long pages);

} // namespace DesktopPrinting
