// The printed look as the report view offers it: a quiet bar for a file
// whose pictures or positioned text the emphasis look cannot show, and
// "Printed" in the view's context menu beside the colour panel's box; the
// sheets read (with progress and Cancel) and the forms laid under them.
#include "gui/platform/MessageBox.h"
#include "gui/printing/PrintPanel.h"
#include "gui/controls/JeweledButton.h"
#include "gui/report/FrmReport.h"
#include "gui/report/SheetView.h"
#include "report/ReportViewSettings.h"
#include "gui/report/PrintedLookBar.h"
#include "gui/report/ReportColorPanel.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QProgressDialog>

void FrmReport::buildLookChoice()
{
    m_lookBar = new PrintedLookBar(this);
    connect(m_lookBar, &PrintedLookBar::printedChosen, this, [this] {
        // This view only: the colour panel's stored choice stays as it is.
        m_doc.setPrintedLook(true);
        applyLook();
    });
    m_printedAction = new QAction(tr("Printed"), this);
    m_printedAction->setObjectName(QStringLiteral("ActPrinted"));
    m_printedAction->setCheckable(true);
    m_printedAction->setToolTip(ReportColorPanel::printedToolTip());
    // As the colour panel's box: the choice is stored and the view shows it.
    connect(m_printedAction, &QAction::triggered, this, [this](bool on) {
        if (m_doc.printedLook() == on)
            return;
        (void)ReportViewSettings::savePrintedLook(on); // (the colour panel says a file that cannot be written)
        m_doc.setPrintedLook(on);
        m_lookBar->hide();
        applyLook();
    });
    connect(m_contextMenu, &QMenu::aboutToShow, this, [this] { m_printedAction->setChecked(printedLook()); });
    m_contextMenu->addAction(m_printedAction);
}

void FrmReport::offerPrintedLook()
{
    m_lookBar->offerFor(m_doc.fileName(), m_doc.pages().bytes(), printedLook());
    placeCodePageBar();
}

bool FrmReport::printedLook() const
{
    return m_doc.printedLook();
}

Printed::Sheet FrmReport::sheet(int i) const
{
    return m_doc.sheet(i);
}

void FrmReport::buildPrinted()
{
    // The look and the code page are the document's already.
    if (!m_doc.printedLook() || m_doc.printedBuilt()) {
        showModelTaken();
        return;
    }
    m_doc.setPrinterSetup(ReportViewSettings::read().printerSetup());
    // A large file takes a while to read as the printer prints it: the
    // reading shows how far it is and can be cancelled, which leaves this
    // view in the emphasis look (the stored choice stays as it is).
    constexpr int Steps = 1000;
    QProgressDialog progress(tr("Reading %1 as printed ...").arg(QFileInfo(m_doc.fileName()).fileName()),
        tr("Cancel"), 0, Steps, isVisible() ? this : nullptr);
    progress.setObjectName(QStringLiteral("PrintedProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // Sheets that could not be read leave the document's printed look, and
    // the panel's box follows it.
    m_doc.buildPrinted(
        [&progress](qint64 done, qint64 total) {
            progress.setValue(total > 0 ? int(done * Steps / total) : 0);
            return !progress.wasCanceled();
        });
    QGuiApplication::restoreOverrideCursor();
    progress.reset();
    showModelTaken();
}

void FrmReport::showModelTaken()
{
    if (m_colorPanel)
        m_colorPanel->showModelTaken(ReportViewSettings::read().printerModel, m_doc.printedModel(), m_doc.showsSheets());
}

void FrmReport::applyForms(bool tell)
{
    // A stored form that cannot be read is told and left out; the other stays.
    QStringList errors;
    const SheetForms forms = SheetForms::loadUsable(ReportViewSettings::read().forms, &errors);
    if (!errors.isEmpty() && tell)
        MessageBox::show(this, errors.join(QLatin1Char('\n')), tr("Form"), QMessageBox::Warning);
    m_doc.setForms(forms);
}

void FrmReport::applyLook()
{
    // A page and a sheet are not the same thing: the view goes to the one
    // that holds the start of the page shown before, so the reader keeps
    // their place.
    buildPrinted();
    const int k = qBound(0, m_doc.shownAtPlace(), PageCount() - 1);
    m_doc.setCurrentPage(k);
    DisplayPage(k);
    CmdBck->setEnabled(k > 0);
    CmdNxt->setEnabled(k < PageCount() - 1 || !m_doc.pagesComplete());
}
