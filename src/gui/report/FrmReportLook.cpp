// The printed look as the report view offers it: a quiet bar for a file
// whose pictures or positioned text the emphasis look cannot show, and
// "Printed" in the view's context menu beside the colour panel's box.
#include "gui/report/FrmReport.h"
#include "gui/report/PrintedLookBar.h"
#include "gui/report/ReportColorPanel.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>

void FrmReport::buildLookChoice()
{
    m_lookBar = new PrintedLookBar(this);
    connect(m_lookBar, &PrintedLookBar::printedChosen, this, [this] {
        // This view only: the colour panel's stored choice stays as it is.
        m_colorPanel->ChkPrinted->setChecked(true);
        applyLook();
    });
    m_printedAction = new QAction(tr("Printed"), this);
    m_printedAction->setObjectName(QStringLiteral("ActPrinted"));
    m_printedAction->setCheckable(true);
    m_printedAction->setToolTip(m_colorPanel->ChkPrinted->toolTip());
    // As the colour panel's box: the choice is stored and the view shows it.
    connect(m_printedAction, &QAction::triggered, this, [this](bool on) {
        if (m_colorPanel->ChkPrinted->isChecked() != on)
            m_colorPanel->ChkPrinted->click();
    });
    connect(m_contextMenu, &QMenu::aboutToShow, this, [this] { m_printedAction->setChecked(printedLook()); });
    connect(m_colorPanel, &ReportColorPanel::printedLookChosen, m_lookBar, &QWidget::hide);
    m_contextMenu->addAction(m_printedAction);
}

void FrmReport::offerPrintedLook()
{
    m_lookBar->offerFor(m_doc.fileName(), m_doc.pages().bytes(), printedLook());
    placeCodePageBar();
}
