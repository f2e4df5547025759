#include "report/OpenReportView.h"

#include "platform/MessageBox.h"
#include "report/FrmReport.h"
#include "startup/MainModule.h"

FrmReport *OpenReportView()
{
    if (OpenViewCount >= 6) {
        MessageBox::show(nullptr,
            QStringLiteral(" Max Six Report View Open ...\r\n\r\n Please Close Report View and Try Again .."),
            QString(), QMessageBox::Critical);
        return nullptr;
    }
    auto *view = new FrmReport;
    if (!view->LoadReport(PrintFileName)) {
        delete view;
        return nullptr;
    }
    view->show();
    return view;
}
