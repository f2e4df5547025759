#pragma once

// Shared set-up for the printing tests: a report view with its print panel
// open, clicks on the panel's boxes, the jobs that reach the private CUPS
// daemon's capture queues, and what poppler reads from PDF output.
#include "../report/ReportViewFixture.h"
#include "platform/AppPaths.h"
#include "gui/platform/Dialogs.h"
#include "gui/platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "printing/CurrentPrinter.h"
#include "gui/printing/DesktopPrinting.h"
#include "gui/printing/PrintPanel.h"
#include "gui/printing/RawPrintMessages.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>

namespace PrintingFixture {

using namespace ReportViewFixture;

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


inline QString runTool(const QString &tool, const QStringList &arguments)
{
    QProcess p;
    p.start(tool, arguments);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed>").arg(tool);
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline QString pdfText(const QString &pdf)
{
    return runTool("pdftotext", {"-layout", pdf, "-"});
}

inline QString pdfInfo(const QString &pdf, const QString &field)
{
    for (const QString &line : runTool("pdfinfo", {pdf}).split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed();
    }
    return QString();
}

// The private daemon the ctest fixture printing/cupsd_start runs.
inline bool cupsdRunning()
{
    return !qEnvironmentVariable("STICKER2_CUPS_DIR").isEmpty()
        && QFileInfo::exists(qEnvironmentVariable("CUPS_SERVER"));
}

// A capture queue of the private daemon, watched from now on: the capture
// backend writes job-<id>.title, then job-<id>.prn whole.
class Queue
{
public:
    explicit Queue(const QString &name)
        : m_name(name)
        , m_dir(qEnvironmentVariable("STICKER2_CUPS_DIR") + "/out/" + name)
        , m_before(jobs())
    { }

    QStringList jobs() const { return m_dir.entryList({"job-*.title"}, QDir::Files); }

    // The bytes of the first new job titled `title`.
    QByteArray next(const QString &title) const
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 30000) {
            for (const QString &entry : jobs()) {
                if (m_before.contains(entry)
                    || TestSupport::readFile(m_dir.filePath(entry)) != title.toUtf8())
                    continue;
                const QString prn = m_dir.filePath(QString(entry).replace(".title", ".prn"));
                if (QFileInfo::exists(prn))
                    return TestSupport::readFile(prn);
            }
            QTest::qWait(20);
        }
        return "<no job titled " + title.toUtf8() + ">";
    }

    // Jobs leave a queue in order: once a marker printed now has come out,
    // a job sent since the watch began would have come out before it.
    bool nothingNew() const
    {
        const QString marker = TestSupport::writeFile(QDir::temp().filePath("marker.prn"), "marker\r\n");
        const Queue afterwards(m_name);
        return PrintFile(marker, m_name, 6, false, RawPanelState())
            && afterwards.next("marker.prn").endsWith("marker\r\n") && jobs().size() == m_before.size() + 1;
    }

private:
    QString m_name;
    QDir m_dir;
    QStringList m_before;
};

} // namespace PrintingFixture
