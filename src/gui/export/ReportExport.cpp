#include "gui/export/ReportExport.h"

#include "gui/controls/JeweledButton.h"
#include "export/ExportFormat.h"
#include "export/PdfExport.h"
#include "export/ReportExporter.h"
#include "gui/platform/Dialogs.h"
#include "gui/platform/MessageBox.h"
#include "report/ShownPages.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>

QString ReportExport::filter()
{
    return exportDialogFilter();
}

QString ReportExport::finishCaption()
{
    return tr("Finsh Record Click");
}

QString ReportExport::idleCaption()
{
    return tr("Excel Export");
}

QString ReportExport::completeMessage()
{
    return tr(" Export Complete ");
}

namespace {

// Restores the cursor and the window however the workbook run ends.
class BusyWindow
{
public:
    explicit BusyWindow(QWidget *window)
        : m_window(window)
    {
        m_window->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyWindow() { release(); }
    void release()
    {
        if (m_released)
            return;
        m_released = true;
        QApplication::restoreOverrideCursor();
        if (m_window)
            m_window->setEnabled(true);
    }

private:
    QPointer<QWidget> m_window;
    bool m_released = false;
};

// Sets the workbook button's caption, widening the button when the caption
// would not fit ("Finsh Record Click" is longer than the button is laid out
// for).
void fitCaption(JeweledButton *button, const QString &caption)
{
    button->setText(caption);
    const int needed = button->sizeHint().width();
    if (button->width() < needed)
        button->resize(needed, button->height());
}

} // namespace

ReportExport::ReportExport(ReportDocument &document, JeweledButton *workbookButton, QWidget *view)
    : QObject(view)
    , m_doc(document)
    , m_button(workbookButton)
    , m_view(view)
{
    setObjectName(QStringLiteral("ReportExport"));
}

void ReportExport::exportReport(const PageSelection &pages, const ShownText &onScreen)
{
    m_pages = pages;
    // The first export of a view starts beside the print file, under its name.
    const QFileInfo printFile(m_doc.fileName());
    const QString initial = !m_lastFileName.isEmpty() ? m_lastFileName
        : m_doc.fileName().isEmpty()                   ? QString()
                                                       : printFile.absoluteDir().filePath(printFile.completeBaseName());
    const QString fileName = Dialogs::saveFileName(m_view, tr("Export"), filter(), initial);
    if (fileName.isEmpty())
        return; // cancelled: nothing is written, the last name stays
    m_lastFileName = fileName;

    // A workbook name is kept for the workbook button rather than filled
    // with rich text that no spreadsheet program would open.
    const ExportFormat format = exportFormatForName(fileName);
    offerWorkbook(format == ExportFormat::Workbook);
    if (format == ExportFormat::Workbook)
        return; // the workbook button writes it, once the columns are marked
    // Pictures are of sheets, which only the printed look has; they are not
    // offered, but a typed name of them gets pictures, never rich text under
    // a picture's name.
    if (exportFormatInfo(format).look == ExportLook::Sheets && !m_doc.pageSource().drawsSheets()) {
        fail(tr("%1: pictures show the sheets of the printed look; tick \"Printed\" in the "
                "colour settings and export again.")
                 .arg(QDir::toNativeSeparators(fileName)));
        return;
    }
    // A long export shows how far it is and can be cancelled; a cancelled
    // one leaves no file (an old one of that name stays as it was).
    ExportRequest request = documentRequest();
    // What the view shows is what is exported: a page edited on screen
    // takes the place of the page it was read from.
    ShownPages shown;
    bool edited = false;
    QString unshown;
    if (!ShownPages::of(m_doc, onScreen, m_pages, &shown, &unshown)
        || (format == ExportFormat::WebPage
            && !ShownPages::wholeFile(m_doc, onScreen, &request.shownFile, &edited, &unshown))) {
        fail(unshown);
        return;
    }
    request.source = shown.source;
    request.chosen = shown.chosen;
    request.render.markup.vsual = onScreen.emphasis;
    QString changed;
    if (!m_doc.asLoaded(&changed)
        || (!exportFormatInfo(format).wholeFile && !m_doc.hasChosen(m_pages, &changed))) {
        fail(changed);
        return;
    }
    const bool written = writeWithProgress(fileName, [&](const ExportProgress &progress, QString *error) {
        // Written on disk meanwhile: the export stops, and leaves no file.
        request.progress = [&](qint64 done, qint64 total) {
            return m_doc.asLoaded(&changed) && progress(done, total);
        };
        const bool ok = ::exportReport(format, request, { fileName, nullptr, QString() }, error);
        if (!changed.isEmpty())
            *error = changed;
        return ok && changed.isEmpty();
    });
    if (written && format == ExportFormat::WebPage)
        MessageBox::show(m_view, completeMessage());
}

ExportRequest ReportExport::documentRequest() const
{
    ExportRequest request;
    request.printFile = m_doc.fileName();
    request.source = m_doc.pageSource();
    request.chosen = m_doc.chosenShown(m_pages);
    request.render = m_doc.renderOptions();
    request.background = m_doc.paperColor();
    request.paper = PdfExport::defaultPaper();
    return request;
}

bool ReportExport::writeWithProgress(
    const QString &fileName, const std::function<bool(const ExportProgress &, QString *)> &write)
{
    QString error;
    bool cancelled = false;
    bool written = false;
    {
        QProgressDialog progress(
            tr("Writing %1 ...").arg(QFileInfo(fileName).fileName()), tr("Cancel"), 0, 100, m_view);
        progress.setObjectName(QStringLiteral("ExportProgress"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(500);
        const ExportProgress step = [&progress](qint64 done, qint64 total) {
            if (total > 0 && progress.maximum() != int(total))
                progress.setMaximum(int(total));
            progress.setValue(int(done));
            return !progress.wasCanceled();
        };
        written = write(step, &error);
        cancelled = progress.wasCanceled();
    } // the progress is gone before any message: no modal over a modal
    if (!written && !cancelled)
        fail(error);
    return written;
}

void ReportExport::offerWorkbook(bool offer)
{
    JeweledButton *CmdExelExp = m_button;
    if (!offer) {
        // Another kind of name: the workbook would be saved over it.
        if (m_marking) {
            m_marking = false;
            m_doc.setColumnMarkCount(0);
        }
        CmdExelExp->hide();
        return;
    }
    // A marking pass under way goes on under the new name; otherwise the
    // button starts again from its first click.
    if (!m_marking)
        setCaption(idleCaption());
    CmdExelExp->show();
}

void ReportExport::CmdExelExp_Click()
{
    m_doc.setColumnMarkCount(1);
    m_marking = true;
    if (!m_clickWrites) {
        // Marking is on: each caret move in the view records a column.
        setCaption(finishCaption());
        return;
    }
    m_marking = false;
    m_doc.setColumnMarkCount(0);
    StartExcel();
}

bool ReportExport::StartExcel()
{
    JeweledButton *CmdExelExp = m_button;
    if (m_lastFileName.isEmpty()) {
        fail(tr("Choose the workbook's name with the Export button first."));
        return false;
    }

    ExportRequest request = documentRequest();
    QVector<int> &marks = request.columnMarks;
    marks.reserve(m_doc.columnMarks().size());
    for (qint16 mark : m_doc.columnMarks())
        marks.append(mark);
    if (!marks.isEmpty())
        marks[0] = 0;

    QPointer<QWidget> alive(m_view);
    BusyWindow busy(m_view);
    // After each line: the row in the search box, then the window repaints.
    // A view closed meanwhile stops the run.
    request.progress = [&](qint64 nextRow, qint64) {
        if (m_showRow)
            m_showRow(QString::number(nextRow));
        QCoreApplication::processEvents();
        return !alive.isNull() && alive->isVisible();
    };
    QString error;
    const bool written
        = ::exportReport(ExportFormat::Workbook, request, { m_lastFileName, nullptr, QString() }, &error);
    busy.release();
    if (alive.isNull() || !alive->isVisible())
        return false;

    if (m_showRow)
        m_showRow(QString());
    if (written) {
        CmdExelExp->hide();
        MessageBox::show(m_view, completeMessage(), QString(), QMessageBox::Information);
    } else {
        // The button stays, so another click tries again with the same marks.
        fail(error);
    }
    setCaption(idleCaption());
    setCaption(finishCaption());
    return written;
}

void ReportExport::setCaption(const QString &caption)
{
    fitCaption(m_button, caption);
    m_clickWrites = caption == finishCaption();
}

void ReportExport::fail(const QString &error)
{
    MessageBox::critical(m_view, error, tr("Export"));
}
