#include "controls/JeweledButton.h"
#include "export/PageChoice.h"
#include "export/RichTextExport.h"
#include "gui/platform/MessageBox.h"
#include "platform/NumericText.h"
#include "printing/CurrentPrinter.h"
#include "gui/printing/DesktopPrinting.h"
#include "gui/printing/PrintPanel.h"
#include "gui/printing/RawPrintMessages.h"
#include "gui/report/FrmReport.h"
#include "gui/report/EditMarkup.h"
#include "report/PageDocument.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextEdit>

#include <cmath>

namespace {

// The copies box's leading number; nothing below one copy.
long long copiesOf(const QString &text)
{
    const double value = NumericText::leadingNumber(text);
    return value >= 1 ? static_cast<long long>(std::floor(value)) : 0;
}

// The assembly buffer's text cut at its form feeds, line ends as "\n". The
// text after the last form feed is left out: it is always empty, since every
// page is followed by its form feed.
QStringList piecesOf(const QTextDocument *assembly)
{
    QString text = PageDocument::text(assembly);
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    QStringList pieces = text.split(QLatin1Char('\f'));
    if (pieces.size() > 1 && pieces.last().isEmpty())
        pieces.removeLast();
    return pieces;
}

// A typed page number as a whole number: rounded to the nearest, halves to
// even, and held within what a page number can be, so a number too large
// for one (a range typed "1 to 99999") reads as a very large page rather
// than wrapping round to a negative one.
int pageNumberOf(const QLineEdit *box)
{
    return int(qBound(-32768LL, NumericText::roundedValue(box->text()), 32767LL));
}

void selectFirstCharacter(QTextEdit *edit)
{
    QTextCursor cursor(edit->document());
    if (edit->document()->characterCount() > 1)
        cursor.setPosition(1, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

} // namespace

QVector<int> FrmReport::chosenPages() const
{
    int first = 0;
    int last = PageCount() - 1;
    switch (Frame1->pageOption()) {
    case 2: // "Page Range": the typed numbers as they stand, 1-based
        first = pageNumberOf(Frame1->Tst) - 1;
        last = pageNumberOf(Frame1->Tend) - 1;
        break;
    case 1: // "Current Page"
        first = last = CurrentPage;
        break;
    default:
        break;
    }
    return pageIndexes(first, last, PageCount());
}

void FrmReport::PrintExport()
{
    const QVector<int> pages = chosenPages();
    if (Frame1->CmdOk->tag() != QLatin1String("1")) {
        assembleForExport(RT3->document(), Pages, pages, markupContext());
        return;
    }

    // Print mode: page by page, each page as many times as copies, on the
    // current printer. The job opens with the first page that prints.
    assemblePages(RT3->document(), Pages, pages, codePage());
    const long long copies = copiesOf(Frame1->Text3->text());
    if (copies < 1) {
        MessageBox::show(this, QStringLiteral("Nothing was printed: the number of copies is %1.").arg(Frame1->Text3->text()),
            QStringLiteral("Printer Error Information"), QMessageBox::Information);
        return;
    }
    DesktopPrintSetup setup;
    setup.printerName = CurrentPrinter::name();
    if (setup.printerName.isEmpty()) // no spooler answered: name the printer the user chose
        setup.printerName = Frame1->CboPrinters->currentText();
    setup.documentName = ParseFileName11(ReportFile);
    setup.orientation = Frame1->OpPL[1]->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::unique_ptr<DocumentPrinter> printer;
    QString error;
    bool ok = true;
    for (const QString &piece : piecesOf(RT3->document())) {
        setPageText(RTBox, piece);
        applyMarkupPasses(RTBox, markupContext(), MarkupOrder::Print);
        RTBox->selectAll();
        for (long long copy = 0; ok && copy < copies && !RTBox->document()->isEmpty(); ++copy) {
            if (!printer) {
                printer = DesktopPrinting::open(setup, &error);
                if (!printer) {
                    ok = false;
                    break;
                }
            }
            if (!printer->printDocument(*RTBox->document())) {
                error = printer->errorString();
                ok = false;
            }
        }
        selectFirstCharacter(RTBox);
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
