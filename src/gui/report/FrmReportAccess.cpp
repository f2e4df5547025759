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
    KeyActivation::install(Image1, [this] { startCalculator(); });
    Image1->setAccessibleName(tr("Calculator"));

    Label7->setBuddy(Text4);
    Text4->setAccessibleName(tr("Search String"));
    Text2->setAccessibleName(tr("Go to page"));
    m_pageView->setAccessibleName(tr("Page"));
    Rt1->setAccessibleName(tr("Page, editable"));
    SheetPane->setAccessibleName(tr("Printed sheet"));

    for (int i = 0; i < ReportColorPanel::SwatchCount; ++i) {
        Frame6->Lb[i]->setBuddy(Frame6->TXt[i]);
        Frame6->TXt[i]->setAccessibleName(tr("%1 colour").arg(Frame6->Lb[i]->text()));
    }
    Frame6->ChSearch->setAccessibleName(tr("Search matches bold"));
    Frame6->ChHighlighte->setAccessibleName(tr("Highlighted text bold"));
    Frame6->Command3->setAccessibleName(tr("Close the colour settings"));
    Frame6->CboFormLength->setAccessibleName(tr("Form length"));
    Frame6->CboCarriage->setAccessibleName(tr("Carriage"));

    Frame1->Tst->setAccessibleName(tr("First page"));
    Frame1->Tend->setAccessibleName(tr("Last page"));
    Frame1->Text3->setAccessibleName(tr("Copies"));
    Frame1->VScroll1->setAccessibleName(tr("More or fewer copies"));
    Frame1->ComPaperHeight->setAccessibleName(tr("Paper height"));

    const QList<QWidget *> order {Label4, Check1, Command2, CmdImport, lb1, Text4, m_pageView, Rt1, SheetPane,
        CmdFst, CmdBck, CmdNxt, CmdLast, Text2, JeweledButton1, CmdExelExp, Image1, Check3, Check2, CmdPrint, JeExit};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}
