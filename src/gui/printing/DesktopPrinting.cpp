#include "gui/printing/DesktopPrinting.h"

#include "gui/platform/Dialogs.h"
#include "gui/platform/MessageBox.h"
#include "printing/CurrentPrinter.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include <utility>

namespace {

const QString ErrorTitle = QStringLiteral("Printer Error Information");

DesktopPrinting::Factory s_factory;

// The look the markup passes give a control sequence they hide.
bool isHiddenSequence(const QTextCharFormat &format)
{
    return format.fontPointSize() == 1.0 && format.foreground().style() != Qt::NoBrush
        && format.foreground().color() == QColor(Qt::white);
}

bool isControlCharacter(QChar c)
{
    // Tabs still space the text; paragraph breaks are not characters here.
    return c.unicode() < 0x20 && c != QLatin1Char('\t');
}

std::unique_ptr<DocumentPrinter> openDefault(const DesktopPrintSetup &setup, QString *error)
{
    if (!CurrentPrinter::isInstalled(setup.printerName)) {
        if (error)
            *error = QStringLiteral("The Printer Name (%1) wasn't recognized.").arg(setup.printerName);
        return nullptr;
    }
    return std::make_unique<QPrinterDocumentPrinter>(DesktopPrinting::makePrinter(setup));
}

} // namespace

QPrinterDocumentPrinter::QPrinterDocumentPrinter(QPrinter *printer)
    : m_printer(printer)
{ }

QPrinterDocumentPrinter::QPrinterDocumentPrinter(std::unique_ptr<QPrinter> printer)
    : m_owned(std::move(printer))
    , m_printer(m_owned.get())
{ }

QPrinterDocumentPrinter::~QPrinterDocumentPrinter()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

bool QPrinterDocumentPrinter::fail(const QString &error)
{
    m_failed = true;
    m_error = error;
    return false;
}

bool QPrinterDocumentPrinter::printDocument(const QTextDocument &document)
{
    if (m_failed)
        return false;
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>();
        if (!m_painter->begin(m_printer)) {
            return fail(QStringLiteral("The printer %1 cannot start the job.")
                            .arg(m_printer->outputFileName().isEmpty() ? m_printer->printerName()
                                                                       : m_printer->outputFileName()));
        }
    } else if (!m_printer->newPage()) {
        return fail(QStringLiteral("The printer %1 refused a new page.").arg(m_printer->printerName()));
    }
    if (!DesktopPrinting::drawDocument(*m_painter, *m_printer, document))
        return fail(QStringLiteral("The printer %1 refused a new page.").arg(m_printer->printerName()));
    return true;
}

bool QPrinterDocumentPrinter::finish()
{
    if (m_painter && m_painter->isActive() && !m_painter->end() && !m_failed)
        return fail(QStringLiteral("The printer %1 could not finish the job.").arg(m_printer->printerName()));
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

std::unique_ptr<QTextDocument> printableCopy(const QTextDocument &document)
{
    std::unique_ptr<QTextDocument> copy(document.clone());
    // The runs to leave out, collected first and removed from the end so the
    // positions still to remove stay valid.
    QVector<QPair<int, int>> drop;
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            if (isHiddenSequence(fragment.charFormat())) {
                drop.append({fragment.position(), fragment.length()});
                continue;
            }
            const QString text = fragment.text();
            for (int i = 0; i < text.size(); ++i) {
                if (isControlCharacter(text.at(i)))
                    drop.append({fragment.position() + i, 1});
            }
        }
    }
    QTextCursor cursor(copy.get());
    for (auto it = drop.crbegin(); it != drop.crend(); ++it) {
        cursor.setPosition(it->first);
        cursor.setPosition(it->first + it->second, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    return copy;
}

bool drawDocument(QPainter &painter, QPrinter &printer, const QTextDocument &document)
{
    std::unique_ptr<QTextDocument> page = printableCopy(document);
    // Laid out for the printer itself, on its page, with no margin of the
    // document's own: fonts keep their point sizes at the printer's resolution.
    page->documentLayout()->setPaintDevice(&printer);
    page->setDocumentMargin(0);
    const QSizeF sheet = printer.pageRect(QPrinter::DevicePixel).size();
    page->setPageSize(sheet);
    const int sheets = page->pageCount();
    for (int i = 0; i < sheets; ++i) {
        if (i > 0 && !printer.newPage())
            return false;
        const QRectF area(0, i * sheet.height(), sheet.width(), sheet.height());
        painter.save();
        painter.translate(0, -area.top());
        painter.setClipRect(area);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = area;
        context.palette.setColor(QPalette::Text, Qt::black);
        page->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return true;
}

bool printWithDialog(QTextEdit *page, QWidget *parent)
{
    if (!page)
        return false;
    QPrinter printer(QPrinter::HighResolution);
    const QString current = CurrentPrinter::name();
    if (CurrentPrinter::isInstalled(current))
        printer.setPrinterName(current);
    // The first character alone is what the markup passes leave selected
    // after a page is shown, not a choice of the user: the whole page prints.
    QTextCursor selection = page->textCursor();
    if (selection.selectionStart() == 0 && selection.selectionEnd() == 1)
        selection.clearSelection();
    if (!Dialogs::print(parent, &printer, selection.hasSelection()))
        return false;

    std::unique_ptr<QTextDocument> document;
    if (selection.hasSelection() && printer.printRange() == QPrinter::Selection) {
        document = std::make_unique<QTextDocument>();
        document->setDefaultFont(page->document()->defaultFont());
        QTextCursor(document.get()).insertFragment(selection.selection());
    } else {
        document.reset(page->document()->clone());
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    QPrinterDocumentPrinter out(&printer);
    const bool ok = out.printDocument(*document) && out.finish();
    QApplication::restoreOverrideCursor();
    if (!ok)
        MessageBox::show(parent, out.errorString(), ErrorTitle, QMessageBox::Information);
    return ok;
}

} // namespace DesktopPrinting
