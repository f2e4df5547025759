#include "gui/controls/JeweledButton.h"
#include "export/PageChoice.h"
#include "export/RichTextExport.h"
#include "gui/platform/MessageBox.h"
#include "platform/NumericText.h"
#include "printing/CurrentPrinter.h"
#include "render/PageRenderer.h"
#include "gui/printing/DesktopPrinting.h"
#include "gui/printing/PrintPanel.h"
#include "gui/report/FrmReport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextEdit>

#include <cmath>

namespace {

// The copies box's leading number; nothing below one copy.
long long copiesOf(const QString &text)
{
    const double value = NumericText::leadingNumber(text);
    return value >= 1 ? static_cast<long long>(std::floor(value)) : 0;
}

// A typed page number as a whole number: rounded to the nearest, halves to
// even, and held within what a page number can be, so a number too large
// for one (a range typed "1 to 99999") reads as a very large page rather
// than wrapping round to a negative one.
int pageNumberOf(const QLineEdit *box)
{
    return int(qBound(-32768LL, NumericText::roundedValue(box->text()), 32767LL));
}

} // namespace

namespace {

PageSelection selectionOf(const PrintPanel *panel)
{
    PageSelection choice;
    switch (panel->pageOption()) {
    case 2: // "Page Range": the typed numbers as they stand, 1-based
        choice.kind = PageSelection::Range;
        choice.first = pageNumberOf(panel->Tst);
        choice.last = pageNumberOf(panel->Tend);
        break;
    case 1:
        choice.kind = PageSelection::Current;
        break;
    default:
        break;
    }
    return choice;
}

} // namespace

QVector<int> FrmReport::chosenPages() const
{
    return m_doc.chosenPages(selectionOf(Frame1));
}

QVector<int> FrmReport::chosenShown() const
{
    return m_doc.chosenShown(selectionOf(Frame1));
}

PageRenderOptions FrmReport::renderOptions() const
{
    PageRenderOptions options;
    options.markup = markupContext();
    options.largestPoints = Rt1->font().pointSizeF(); // the view's size, zoomed or not
    return options;
}

void FrmReport::PrintExport()
{
    if (Frame1->CmdOk->tag() != QLatin1String("1")) {
        assembleForExport(RT3->document(), m_doc.pages(), chosenPages(), markupContext());
        return;
    }
    const QVector<int> pages = printedLook() ? QVector<int>() : chosenPages();

    // Print mode: page by page, each page as many times as copies, on the
    // current printer. The job opens with the first page that prints; an
    // empty page prints nothing.
    const long long copies = copiesOf(Frame1->Text3->text());
    if (copies < 1) {
        MessageBox::show(this, QStringLiteral("Nothing was printed: the number of copies is %1.").arg(Frame1->Text3->text()),
            QStringLiteral("Printer Error Information"), QMessageBox::Information);
        return;
    }
    DesktopPrintSetup setup = Frame1->desktopSetup();
    setup.printerName = CurrentPrinter::name();
    if (setup.printerName.isEmpty()) // no spooler answered: name the printer the user chose
        setup.printerName = Frame1->CboPrinters->currentText();

    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::unique_ptr<DocumentPrinter> printer;
    QString error;
    bool ok = true;
    // The printed look prints its sheets, as the view shows them.
    for (int i : printedLook() ? chosenShown() : QVector<int>()) {
        const Printed::Sheet shown = sheet(i);
        for (long long copy = 0; ok && copy < copies; ++copy) {
            if (!printer && !(printer = DesktopPrinting::open(setup, &error))) {
                ok = false;
                break;
            }
            if (!printer->printSheet(shown)) {
                error = printer->errorString();
                ok = false;
            }
        }
        if (!ok)
            break;
    }
    for (int i : pages) {
        const QByteArray page = m_doc.pages().pageBytes(i);
        for (long long copy = 0; ok && copy < copies && !page.isEmpty(); ++copy) {
            if (!printer) {
                printer = DesktopPrinting::open(setup, &error);
                if (!printer) {
                    ok = false;
                    break;
                }
            }
            if (!printer->printPage(page)) {
                error = printer->errorString();
                ok = false;
            }
        }
        if (!ok)
            break;
    }
    if (ok && printer && !printer->finish()) {
        error = printer->errorString();
        ok = false;
    }
    printer.reset();
    QApplication::restoreOverrideCursor();
    if (!ok)
        MessageBox::show(this, error, QStringLiteral("Printer Error Information"), QMessageBox::Information);
}
