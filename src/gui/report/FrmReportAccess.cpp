// The report view for the keyboard and for screen readers: every control
// reachable by Tab, in the order the window reads (the top bar, the page,
// the bottom bar, the buttons at the right), and each with a name.
#include "gui/controls/JeweledButton.h"
#include "gui/controls/KeyActivation.h"
#include "gui/printing/PrintPanel.h"
#include "gui/report/FrmReport.h"
#include "gui/report/PageView.h"
#include "gui/report/ReportColorPanel.h"
#include "gui/report/SheetView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextEdit>

void FrmReport::makeAccessible()
{
    // The labels and the picture that open something by mouse open it by key.
    KeyActivation::install(Label4, [this] { showColorPanel(); });
    KeyActivation::install(lb1, [this] { showColorPanel(); });
    KeyActivation::install(m_calculatorImage, [this] { startCalculator(); });
    m_calculatorImage->setAccessibleName(tr("Calculator"));

    Label7->setBuddy(Text4);
    Text4->setAccessibleName(tr("Search String"));
    Text2->setAccessibleName(tr("Go to page"));
    m_pageView->setAccessibleName(tr("Page"));
    m_editText->setAccessibleName(tr("Page, editable"));
    SheetPane->setAccessibleName(tr("Printed sheet"));

    QList<QWidget *> order {Label4, Check1, Command2, CmdImport, lb1, Text4, m_pageView, m_editText, SheetPane,
        CmdFst, CmdBck, CmdNxt, CmdLast, Text2, JeweledButton1, CmdExelExp, m_calculatorImage, Check3, Check2,
        CmdPrint, JeExit};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void FrmReport::makePanelAccessible()
{
    for (int i = 0; i < ReportColorPanel::SwatchCount; ++i) {
        m_colorPanel->Lb[i]->setBuddy(m_colorPanel->TXt[i]);
        m_colorPanel->TXt[i]->setAccessibleName(tr("%1 colour").arg(m_colorPanel->Lb[i]->text()));
    }
    m_colorPanel->ChSearch->setAccessibleName(tr("Search matches bold"));
    m_colorPanel->ChHighlighte->setAccessibleName(tr("Highlighted text bold"));
    m_colorPanel->Command3->setAccessibleName(tr("Close the colour settings"));
    m_colorPanel->CboFormLength->setAccessibleName(tr("Form length"));
    m_colorPanel->CboCarriage->setAccessibleName(tr("Carriage"));
    m_colorPanel->CboPrinterModel->setAccessibleName(tr("Printer model"));

    // The colour panel's controls, while it is open, come after the label
    // that opens it, in the order the panel reads.
    QList<QWidget *> order {Label4};
    for (int i = 0; i < ReportColorPanel::SwatchCount; ++i)
        order << m_colorPanel->TXt[i];
    order << m_colorPanel->ChSearch << m_colorPanel->ChHighlighte << m_colorPanel->ChL << m_colorPanel->CboCodePage
          << m_colorPanel->ChkPrinted << m_colorPanel->CboFormLength << m_colorPanel->CboCarriage
          << m_colorPanel->CboPrinterModel << m_colorPanel->CmdForm << m_colorPanel->Command3 << Check1;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}
