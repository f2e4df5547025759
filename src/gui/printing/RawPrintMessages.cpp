#include "gui/printing/RawPrintMessages.h"

#include "gui/platform/MessageBox.h"
#include "gui/printing/CurrentPrinter.h"
#include "gui/printing/ErrorWindow.h"
#include "printing/CupsSpooler.h"
#include "printing/RawJobThread.h"

#include <QApplication>
#include <QFileDevice>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>


namespace {

QString errorTitle()
{
    return QCoreApplication::translate("Printing", "Printer Error Information");
}

QString procedureLabel()
{
    return QCoreApplication::translate("Printing", "Procedure Name : PrintFile");
}

// Sends the job on a thread of its own while the windows keep answering: a
// progress dialog with Cancel shows after a moment. Cancel stops the job; a
// spooler that takes nothing for 30 s is given up on with the error window.
// A job the caller's spooler runs is waited for to its end even then; a job
// with its own spooler is left to end by itself.
bool sendWithProgress(std::shared_ptr<Spooler> spooler, bool owned, const QString &file,
    const RawJobOptions &options, RawJobFailure *failure)
{
    QProgressDialog progress(
        QCoreApplication::translate("Printing", "Sending %1 to the printer...").arg(ParseFileName11(file)),
        QCoreApplication::translate("Printing", "Cancel"), 0, 1000);
    progress.setObjectName(QStringLiteral("RawPrintProgress"));
    progress.setWindowTitle(QCoreApplication::translate("Printing", "Printing.... "));
    // Not a child of the view: the view may close while the job runs.
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(700);
    progress.setAutoReset(false);
    progress.setValue(0);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    RawJobThread job(std::move(spooler), file, options);
    bool givenUp = false;
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (job.wait(0) || givenUp) {
            loop.quit();
            return;
        }
        if (progress.wasCanceled() || job.silence() >= RawJobThread::SilenceLimitMs) {
            job.stop();
            givenUp = true;
            if (owned)
                loop.quit();
            return;
        }
        const qint64 all = job.total();
        progress.setValue(all > 0 ? int(job.sent() * 999 / all) : 0);
    });
    tick.start(100);
    loop.exec();
    while (!owned && !job.wait(100))
        QCoreApplication::processEvents();
    tick.stop();
    const bool cancelled = progress.wasCanceled();
    progress.reset();
    QApplication::restoreOverrideCursor();

    if (givenUp && cancelled) {
        failure->kind = RawJobFailure::Cancelled;
        return false;
    }
    if (givenUp) {
        failure->kind = RawJobFailure::RunTime;
        failure->error = {long(QFileDevice::TimeOutError), QStringLiteral("Printing"),
            QCoreApplication::translate("Printing", "The printer took nothing for %1 seconds.")
                .arg(RawJobThread::SilenceLimitMs / 1000),
            true};
        return false;
    }
    *failure = job.failure();
    return job.succeeded();
}

} // namespace

void showRawJobFailure(const RawJobFailure &failure, QWidget *parent)
{
    switch (failure.kind) {
    case RawJobFailure::None:
    case RawJobFailure::Cancelled: // the user's own choice: nothing to tell
        return;
    case RawJobFailure::RunTime:
        ShowErrorWindow(procedureLabel(), errorTitle(), failure.error, parent);
        return;
    default:
        MessageBox::show(parent, failure.message, errorTitle(), QMessageBox::Information);
        return;
    }
}

namespace {

bool printWith(std::shared_ptr<Spooler> spooler, bool owned, const QString &file, const QString &printerName,
    qint16 paperHeight, bool draft, const RawPanelState &panel, QWidget *parent)
{
    RawJobOptions options;
    // No name: the windows' current printer; when there is none either,
    // the spooler's default destination.
    options.printerName = printerName.isEmpty() ? CurrentPrinter::chosen() : printerName;
    options.paperHeight = paperHeight;
    options.draft = draft;
    options.panel = panel;
    RawJobFailure failure;
    const bool ok = sendWithProgress(std::move(spooler), owned, file, options, &failure);
    if (!ok)
        showRawJobFailure(failure, parent);
    return ok;
}

} // namespace

bool PrintFile(Spooler &spooler, const QString &PStrtextfile, const QString &PStrPrinterName,
    qint16 PIntPaperHeight, bool PBlnDraftMode, const RawPanelState &panel, QWidget *parent)
{
    // The caller keeps the spooler: the job is waited for to its end.
    const std::shared_ptr<Spooler> borrowed(&spooler, [](Spooler *) {});
    return printWith(borrowed, false, PStrtextfile, PStrPrinterName, PIntPaperHeight, PBlnDraftMode, panel, parent);
}

bool PrintFile(const QString &PStrtextfile, const QString &PStrPrinterName, qint16 PIntPaperHeight,
    bool PBlnDraftMode, const RawPanelState &panel, QWidget *parent)
{
    return printWith(std::make_shared<CupsSpooler>(), true, PStrtextfile, PStrPrinterName, PIntPaperHeight,
        PBlnDraftMode, panel, parent);
}

bool PrintCharMode(const CharModeOptions &options, QWidget *parent)
{
    qint16 height = 0;
    QString message;
    if (!paperHeightOf(options.paperHeight, &height, &message)) {
        MessageBox::show(parent, message, errorTitle(), QMessageBox::Information);
        return false;
    }
    return PrintFile(options.file, options.printerName, height, options.draft, options.panel, parent);
}
