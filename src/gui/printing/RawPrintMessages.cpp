#include "gui/printing/RawPrintMessages.h"

#include "gui/platform/MessageBox.h"
#include "gui/printing/ErrorWindow.h"
#include "printing/CupsSpooler.h"

#include <QApplication>

namespace {

const QString ErrorTitle = QStringLiteral("Printer Error Information");
const QString ProcedureLabel = QStringLiteral("Procedure Name : PrintFile");

} // namespace

void showRawJobFailure(const RawJobFailure &failure, QWidget *parent)
{
    switch (failure.kind) {
    case RawJobFailure::None:
        return;
    case RawJobFailure::RunTime:
        ShowErrorWindow(ProcedureLabel, ErrorTitle, failure.error, parent);
        return;
    default:
        MessageBox::show(parent, failure.message, ErrorTitle, QMessageBox::Information);
        return;
    }
}

bool PrintFile(Spooler &spooler, const QString &PStrtextfile, const QString &PStrPrinterName,
    qint16 PIntPaperHeight, bool PBlnDraftMode, const RawPanelState &panel, QWidget *parent)
{
    RawJobOptions options;
    options.printerName = PStrPrinterName;
    options.paperHeight = PIntPaperHeight;
    options.draft = PBlnDraftMode;
    options.panel = panel;
    RawJobFailure failure;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = sendRawJob(spooler, PStrtextfile, options, &failure);
    QApplication::restoreOverrideCursor();
    if (!ok)
        showRawJobFailure(failure, parent);
    return ok;
}

bool PrintFile(const QString &PStrtextfile, const QString &PStrPrinterName, qint16 PIntPaperHeight,
    bool PBlnDraftMode, const RawPanelState &panel, QWidget *parent)
{
    CupsSpooler spooler;
    return PrintFile(spooler, PStrtextfile, PStrPrinterName, PIntPaperHeight, PBlnDraftMode, panel, parent);
}

bool PrintCharMode(const CharModeOptions &options, QWidget *parent)
{
    qint16 height = 0;
    QString message;
    if (!paperHeightOf(options.paperHeight, &height, &message)) {
        MessageBox::show(parent, message, ErrorTitle, QMessageBox::Information);
        return false;
    }
    return PrintFile(options.file, options.printerName, height, options.draft, options.panel, parent);
}
