// The print panel's print button: page files and the two print modes.
#include "gui/controls/JeweledButton.h"
#include "platform/AppPaths.h"
#include "platform/ByteText.h"
#include "gui/platform/MessageBox.h"
#include "gui/printing/CurrentPrinter.h"
#include "gui/printing/DesktopPrinting.h"
#include "gui/printing/PrintPanel.h"
#include "gui/printing/PrinterOpening.h"
#include "gui/printing/RawPrintMessages.h"
#include "printing/RawPrinting.h"
#include "render/EmphasisRenderer.h"
#include "report/PageText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QTextEdit>

namespace {

QString printingTitle()
{
    return QCoreApplication::translate("Printing", "Printing.... ");
}

QString printerErrorTitle()
{
    return QCoreApplication::translate("Printing", "Printer Error Information");
}

} // namespace

bool PrintPanel::askToPrint()
{
    return MessageBox::show(this, tr("Are You Sure You Want To Print & Printer is Ready and Online ..."),
               printingTitle(), QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

// A range whose start the check leaves past the last page would print
// nothing: said, and nothing sent.
bool PrintPanel::rangeExists()
{
    QString past;
    if (m_doc && !m_doc->hasChosen(pageSelection(), &past)) {
        MessageBox::show(this, past, printerErrorTitle(), QMessageBox::Information);
        return false;
    }
    return true;
}

void PrintPanel::CmdOk_Click()
{
    if (!m_doc)
        return;
    waitForPrinters();
    if (!printServerAnswered())
        return;
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
            tr("The page file %1 cannot be written.\n%2").arg(QDir::toNativeSeparators(path), error),
            printerErrorTitle(), QMessageBox::Critical);
        return false;
    }
    const QString shortPath = ShortPathOf(path);
    m_pageFile = shortPath.isEmpty() ? path : shortPath;
    return true;
}

void PrintPanel::printCharMode()
{
    m_pageFile.clear();
    if (pageSelection().kind == PageSelection::Range && (!checkRange() || !rangeExists()))
        return;
    if (!askToPrint())
        return;
    // All pages send the file itself: written again since it was loaded, it
    // is no longer what the view shows (the other choices refuse it too).
    const PageSelection pages = pageSelection(); // the range as the check left it
    QString changed;
    if (m_doc && !m_doc->asLoaded(&changed)) {
        MessageBox::show(this, changed, printerErrorTitle(), QMessageBox::Information);
        return;
    }
    if (pages.kind != PageSelection::All) {
        // The file's own bytes for the page, so that a DOS code page's
        // letters and box drawing reach the printer as they are; each page
        // of a range followed by its form feed.
        QByteArray bytes;
        QString error;
        if (!m_doc->chosenBytes(pages, shownText(), &bytes, &error)) {
            MessageBox::show(this, error, printerErrorTitle(), QMessageBox::Information);
            return;
        }
        const bool current = pages.kind == PageSelection::Current;
        if (!writePageFile(current ? QStringLiteral("Currnt.prn") : QStringLiteral("RANGE.prn"), bytes))
            return;
    }
    hide();
    PrintCharMode(charModeOptions(), window());
}

CharModeOptions PrintPanel::charModeOptions() const
{
    CharModeOptions o;
    o.printerName = CboPrinters->currentText();
    if (m_doc)
        o.file = m_pageFile.isEmpty() ? m_doc->fileName() : m_pageFile;
    o.draft = ChDraft->isChecked();
    o.ch10 = Ch10->isChecked();
    o.paperHeight = ComPaperHeight->currentText();
    o.panel.ch12 = Ch12->isChecked();
    o.panel.ch17 = Ch17->isChecked();
    o.panel.copies = Text3->text();
    o.panel.extraLine = m_doc && m_doc->extraLine(); // "-1 Line" of the colour settings
    return o;
}

void PrintPanel::printWindowsMode()
{
    const PrintChoice chosen = choice();
    const ReportDocument *doc = m_doc;
    if (chosen.pageOnScreen) {
        // The page on screen through the print dialog; the panel stays open.
        const ShownText shown = shownText();
        DesktopPrinting::printWithDialog(
            [doc, &shown](bool selectionOnly, PageSource *source, QString *error) {
                return doc->shownSource(shown, selectionOnly, source, error);
            },
            doc->hasSelection(shown), doc->renderOptions(), desktopSetup().documentName, window());
        return;
    }
    if (!rangeExists() || !askToPrint())
        return;
    if (CurrentPrinter::isInstalled(m_printers, chosen.printerName))
        CurrentPrinter::setName(chosen.printerName);
    printDesktop(chosen);
    hide();
}

void PrintPanel::printDesktop(const PrintChoice &chosen)
{
    // Page by page, each page as many times as copies, on the current printer.
    if (chosen.copies < 1) {
        MessageBox::show(window(),
            tr("Nothing was printed: the number of copies is %1.").arg(chosen.copiesText),
            printerErrorTitle(), QMessageBox::Information);
        return;
    }
    DesktopPrintSetup setup = desktopSetup();
    setup.printerName = CurrentPrinter::name(m_printers);
    if (setup.printerName.isEmpty()) // no spooler answered: name the printer the user chose
        setup.printerName = chosen.printerName;
    setup.window = window();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool printed = DesktopPrinting::printDocument(*m_doc, chosen.pages, chosen.copies, setup, &error);
    QApplication::restoreOverrideCursor();
    if (!printed && !error.isEmpty()) // empty: the user cancelled the wait for the print server
        MessageBox::show(window(), error, printerErrorTitle(), QMessageBox::Information);
}

DesktopPrintSetup PrintPanel::desktopSetup() const
{
    DesktopPrintSetup setup;
    setup.printerName = CboPrinters->currentText();
    setup.orientation = OpPL[1]->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    if (m_doc) {
        setup.documentName = ParseFileName11(m_doc->fileName());
        setup.render = m_doc->renderOptions();
    }
    return setup;
}

void PrintPanel::CmdPreview_Click()
{
    if (!m_doc || !windowsMode())
        return;
    waitForPrinters();
    if (!printServerAnswered())
        return;
    const bool shown = Chwinprint->isChecked();
    if (!shown && pageOption() == 2 && !checkRange())
        return;
    DesktopPrintSetup setup = desktopSetup();
    if (!CurrentPrinter::isInstalled(m_printers, setup.printerName)) {
        const QString current = CurrentPrinter::name(m_printers);
        setup.printerName = CurrentPrinter::isInstalled(m_printers, current) ? current : QString();
    }
    // The pages as the view shows them (sheets in the printed look): the
    // page on screen as shown, or the chosen ones.
    PageSource source = m_doc->pageSource();
    QVector<int> chosen;
    if (shown) {
        QString error;
        if (!m_doc->shownSource(shownText(), false, &source, &error)) {
            MessageBox::show(this, error, printerErrorTitle(), QMessageBox::Information);
            return;
        }
        chosen = { 0 };
    } else {
        // Written again since it was loaded, the file no longer has the
        // pages the view counted (printing refuses it too).
        QString changed;
        if (!m_doc->asLoaded(&changed)) {
            MessageBox::show(this, changed, printerErrorTitle(), QMessageBox::Information);
            return;
        }
        if (!rangeExists())
            return;
        chosen = m_doc->chosenShown(pageSelection());
    }
    const QString tooMany = DesktopPrinting::previewRefusal(chosen.size());
    if (!tooMany.isEmpty()) {
        MessageBox::show(this, tooMany, printerErrorTitle(), QMessageBox::Information);
        return;
    }
    // Made on a thread of its own: Qt asks the print server while it makes a printer.
    PrinterOpening::Opened opened = PrinterOpening::open(window(), setup, false);
    if (!opened.printer) {
        if (!opened.cancelled)
            MessageBox::show(window(), opened.failure(), printerErrorTitle(), QMessageBox::Information);
        return;
    }
    const std::unique_ptr<QPrinter> printer = std::move(opened.printer);
    // The same drawing as the print button's, onto the preview or onto the
    // printer chosen in it.
    DesktopPrinting::preview(
        printer.get(),
        [&](QPrinter *target) {
            QPrinterDocumentPrinter out(target, setup.render);
            for (int i : chosen) {
                if (!source.blank(i) && !out.print(source, i))
                    break;
            }
            // Printed from the preview: a job the server refused is told.
            const QString refused = out.finish() ? DesktopPrinting::jobRefusal(*target) : QString();
            if (!refused.isEmpty())
                MessageBox::show(window(), refused, printerErrorTitle(), QMessageBox::Information);
        },
        window());
}
