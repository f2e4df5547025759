// The print panel's print button: page files and the two print modes.
#include "gui/controls/JeweledButton.h"
#include "platform/AppPaths.h"
#include "platform/ByteText.h"
#include "gui/platform/MessageBox.h"
#include "printing/CurrentPrinter.h"
#include "gui/printing/DesktopPrinting.h"
#include "gui/printing/PrintPanel.h"
#include "gui/printing/RawPrintMessages.h"
#include "gui/report/FrmReport.h"
#include "printing/RawPrinting.h"
#include "render/PageRenderer.h"
#include "report/PageDocument.h"
#include "gui/report/ReportColorPanel.h"
#include "startup/MainModule.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QTextEdit>

namespace {

const QString PrintingTitle = QStringLiteral("Printing.... ");
const QString PrinterErrorTitle = QStringLiteral("Printer Error Information");

} // namespace

bool PrintPanel::askToPrint()
{
    return MessageBox::show(this,
               QStringLiteral("Are You Sure You Want To Print & Printer is Ready and Online ..."),
               PrintingTitle, QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

void PrintPanel::CmdOk_Click()
{
    if (!m_view)
        return;
    waitForPrinters();
    if (windowsMode())
        printWindowsMode();
    else
        printCharMode();
}

bool PrintPanel::writePageFile(const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(AppPaths::programFolder()).filePath(name);
    QString error;
    if (!ByteText::writeFile(path, bytes, &error)) {
        MessageBox::show(this,
            QStringLiteral("The page file %1 cannot be written.\n%2")
                .arg(QDir::toNativeSeparators(path), error),
            PrinterErrorTitle, QMessageBox::Critical);
        return false;
    }
    const QString shortPath = ShortPathOf(path);
    m_view->setTagText(shortPath.isEmpty() ? path : shortPath);
    return true;
}

void PrintPanel::printCharMode()
{
    m_view->setTagText(QString());
    const int option = pageOption();
    if (option == 2 && !checkRange())
        return;
    if (!askToPrint())
        return;
    if (option == 1) {
        // The file's own bytes for the page, so that a DOS code page's
        // letters and box drawing reach the printer as they are.
        QByteArray page;
        QString error;
        if (!m_view->shownPageBytes(false, &page, &error)) {
            MessageBox::show(this, error, PrinterErrorTitle, QMessageBox::Information);
            return;
        }
        if (!writePageFile(QStringLiteral("Currnt.prn"), page))
            return;
    } else if (option == 2) {
        // Each page of the range followed by its form feed; pages the range
        // names beyond the report are left out.
        QByteArray bytes;
        for (int i : m_view->chosenPages())
            bytes += m_view->pages().pageBytes(i) + '\f';
        if (!writePageFile(QStringLiteral("RANGE.prn"), bytes))
            return;
    }
    hide();
    PrintCharMode(charModeOptions(), m_view);
}

CharModeOptions PrintPanel::charModeOptions() const
{
    CharModeOptions o;
    o.printerName = CboPrinters->currentText();
    if (m_view)
        o.file = m_view->tagText().isEmpty() ? m_view->reportFile() : m_view->tagText();
    o.draft = ChDraft->isChecked();
    o.ch10 = Ch10->isChecked();
    o.paperHeight = ComPaperHeight->currentText();
    o.panel.ch12 = Ch12->isChecked();
    o.panel.ch17 = Ch17->isChecked();
    o.panel.copies = Text3->text();
    o.panel.extraLine = m_view && m_view->colorPanel()->ChL->isChecked();
    return o;
}

void PrintPanel::printWindowsMode()
{
    if (Chwinprint->isChecked()) {
        // The page on screen through the print dialog; the panel stays open.
        if (m_view->printedLook()) {
            DesktopPrinting::printSheetWithDialog(m_view->sheet(m_view->currentPage()), m_view);
        } else {
            const FrmReport *view = m_view;
            DesktopPrinting::printWithDialog(
                [view](bool selectionOnly, QByteArray *bytes, QString *error) {
                    return view->shownPageBytes(selectionOnly, bytes, error);
                },
                m_view->hasUserSelection(), m_view->renderOptions(), m_view);
        }
        return;
    }
    if (!askToPrint())
        return;
    CmdOk->setTag(QStringLiteral("1"));
    const QString chosen = CboPrinters->currentText();
    if (CurrentPrinter::isInstalled(chosen))
        CurrentPrinter::setName(chosen);
    m_view->PrintExport();
    hide();
    CmdOk->setTag(QStringLiteral("0"));
}

DesktopPrintSetup PrintPanel::desktopSetup() const
{
    DesktopPrintSetup setup;
    setup.printerName = CboPrinters->currentText();
    setup.orientation = OpPL[1]->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    if (m_view) {
        setup.documentName = ParseFileName11(m_view->reportFile());
        setup.render = m_view->renderOptions();
    }
    return setup;
}

void PrintPanel::CmdPreview_Click()
{
    if (!m_view || !windowsMode())
        return;
    waitForPrinters();
    const bool shown = Chwinprint->isChecked();
    if (!shown && pageOption() == 2 && !checkRange())
        return;
    DesktopPrintSetup setup = desktopSetup();
    if (!CurrentPrinter::isInstalled(setup.printerName))
        setup.printerName
            = CurrentPrinter::isInstalled(CurrentPrinter::name()) ? CurrentPrinter::name() : QString();
    // The printed look previews its sheets, as the view shows them.
    QVector<Printed::Sheet> sheets;
    if (m_view->printedLook()) {
        for (int i : shown ? QVector<int> { m_view->currentPage() } : m_view->chosenShown())
            sheets.append(m_view->sheet(i));
    }
    QVector<QByteArray> pages;
    if (!sheets.isEmpty()) {
    } else if (shown) {
        QByteArray page;
        QString error;
        if (!m_view->shownPageBytes(false, &page, &error)) {
            MessageBox::show(this, error, PrinterErrorTitle, QMessageBox::Information);
            return;
        }
        pages.append(page);
    } else {
        for (int i : m_view->chosenPages())
            pages.append(m_view->pages().pageBytes(i));
    }
    const std::unique_ptr<QPrinter> printer = DesktopPrinting::makePrinter(setup);
    // The same drawing as the print button's, onto the preview or onto the
    // printer chosen in it.
    DesktopPrinting::preview(
        printer.get(),
        [&](QPrinter *target) {
            QPrinterDocumentPrinter out(target, setup.render);
            for (const Printed::Sheet &sheet : sheets) {
                if (!out.printSheet(sheet))
                    break;
            }
            for (const QByteArray &page : pages) {
                if (!page.isEmpty() && !out.printPage(page))
                    break;
            }
            out.finish();
        },
        m_view);
}
