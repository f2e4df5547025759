#pragma once

#include <QPageLayout>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class QTextDocument;
class QTextEdit;
class QWidget;

// Printing formatted report pages through the desktop printer driver.

// Where a page-by-page print goes. Each printDocument() prints one copy of
// one formatted page starting on a fresh sheet; a page longer than a sheet
// runs on over the next sheets. finish() ends the job.
class DocumentPrinter
{
public:
    virtual ~DocumentPrinter() = default;
    virtual bool printDocument(const QTextDocument &document) = 0;
    virtual bool finish() = 0;
    virtual QString errorString() const = 0;
};

// The printer a run goes to.
struct DesktopPrintSetup
{
    QString printerName; // must be an installed printer
    QString documentName;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// Draws on a QPrinter (a printer, or a PDF file): one job for the whole run.
class QPrinterDocumentPrinter : public DocumentPrinter
{
public:
    explicit QPrinterDocumentPrinter(QPrinter *printer); // not owned
    explicit QPrinterDocumentPrinter(std::unique_ptr<QPrinter> printer);
    ~QPrinterDocumentPrinter() override;

    bool printDocument(const QTextDocument &document) override;
    bool finish() override;
    QString errorString() const override { return m_error; }

private:
    bool fail(const QString &error);

    std::unique_ptr<QPrinter> m_owned;
    QPrinter *m_printer = nullptr;
    std::unique_ptr<QPainter> m_painter;
    bool m_failed = false;
    QString m_error;
};

namespace DesktopPrinting {

// A high-resolution QPrinter on the named printer, with the orientation.
std::unique_ptr<QPrinter> makePrinter(const DesktopPrintSetup &setup);

// Opens the printer of a page-by-page print; null with an error text when it
// cannot (no such printer). Tests may put their own factory in; an empty one
// restores the default.
using Factory = std::function<std::unique_ptr<DocumentPrinter>(const DesktopPrintSetup &, QString *error)>;
std::unique_ptr<DocumentPrinter> open(const DesktopPrintSetup &setup, QString *error);
void setFactory(Factory factory);

// A copy of a page for the printer: the control sequences that the markup
// passes hid (1-point white) and any other control character are left out,
// since a printer control code never prints as a character.
std::unique_ptr<QTextDocument> printableCopy(const QTextDocument &document);

// Draws the document on the painter's printer, laid out to the printer's
// page with no margin of its own, one sheet after another; the first sheet
// is the current one.
bool drawDocument(QPainter &painter, QPrinter &printer, const QTextDocument &document);

// The print-dialog route: asks for a printer with the print dialog (the
// selection offered when the page has one) and prints the page's selection,
// or the whole page, with its formatting. A cancelled dialog prints nothing
// and tells nothing; a failure is told to the user. True when printed.
bool printWithDialog(QTextEdit *page, QWidget *parent);

} // namespace DesktopPrinting
