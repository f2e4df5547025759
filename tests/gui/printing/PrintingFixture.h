#pragma once

// Shared set-up for the printing tests: a report view with its print panel
// open, steps on the panel's boxes, and the jobs that reach the private CUPS
// daemon's capture queues.
#include "../report/ReportViewFixture.h"
#include "CaptureQueue.h"
#include "gui/platform/MessageBox.h"
#include "gui/printing/DesktopPrinting.h"
#include "gui/printing/PrintPanel.h"
#include "gui/printing/RawPrintMessages.h"
#include "platform/AppPaths.h"
#include "platform/SettingsStore.h"
#include "gui/printing/CurrentPrinter.h"

#include <QElapsedTimer>

namespace PrintingFixture {

using namespace ReportViewFixture;
using TestSupport::pdfText;

inline QString programFile(const QString &name)
{
    return QDir(AppPaths::programFolder()).filePath(name);
}

// Each case starts in character mode: no stored settings, no page files,
// no chosen printer, no queued answers.
inline void reset()
{
    QFile::remove(SettingsStore::fileName(SettingsAppName));
    MessageBox::setTestMode(true);
    Dialogs::setTestMode(true);
    CurrentPrinter::setName(QString());
    for (const char *name : {"Currnt.prn", "RANGE.prn"})
        QFile::remove(programFile(name));
}

inline void cleanup()
{
    DesktopPrinting::setFactory({});
    CurrentPrinter::setName(QString());
    closeAll();
}

// A view on a new print file, its print panel opened by the view's button.
inline FrmReport *openPanel(const QString &name, const QByteArray &bytes)
{
    FrmReport *view = open(printFile(name, bytes));
    QTest::mouseClick(control(view, "CmdPrint"), Qt::LeftButton);
    MessageBox::clearShown();
    return view;
}

using TestSupport::cupsdRunning;

// A capture queue of the private daemon, watched from now on, that can also
// tell that no job came.
class Queue : public CaptureQueue
{
public:
    using CaptureQueue::CaptureQueue;

    // Jobs leave a queue in order: once a marker printed now has come out,
    // a job sent since the watch began would have come out before it.
    bool nothingNew() const
    {
        const QString marker = TestSupport::writeFile(QDir::temp().filePath("marker.prn"), "marker\r\n");
        const Queue afterwards(name());
        return PrintFile(marker, name(), 6, false, RawPanelState())
            && afterwards.next("marker.prn").endsWith("marker\r\n") && jobs().size() == jobsBefore() + 1;
    }
};

} // namespace PrintingFixture
