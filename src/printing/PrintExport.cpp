#include "controls/JeweledButton.h"
#include "export/PageChoice.h"
#include "export/RichTextExport.h"
#include "platform/NumericText.h"
#include "printing/PrintPanel.h"
#include "report/FrmReport.h"

#include <QLineEdit>
#include <QTextEdit>

QVector<int> FrmReport::chosenPages() const
{
    int first = 0;
    int last = PageCount() - 1;
    switch (Frame1->pageOption()) {
    case 2: // "Page Range": the typed numbers as they stand, 1-based
        first = qint16(NumericText::leadingNumber(Frame1->Tst->text())) - 1;
        last = qint16(NumericText::leadingNumber(Frame1->Tend->text())) - 1;
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
    // to do: printing, page by page through the desktop driver.
    assemblePages(RT3->document(), Pages, pages);
}
