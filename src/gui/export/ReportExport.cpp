#include "gui/export/ReportExport.h"

#include "gui/controls/JeweledButton.h"
#include "export/ExportFormat.h"
#include "export/PngExport.h"
#include "export/HtmlExport.h"
#include "export/PdfExport.h"
#include "export/PrintedPdfExport.h"
#include "export/PlainTextExport.h"
#include "export/RichTextExport.h"
#include "export/WorkbookExport.h"
#include "gui/platform/Dialogs.h"
#include "gui/platform/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>

const QString ReportExport::Filter = exportDialogFilter();
const QString ReportExport::FinishCaption = QStringLiteral("Finsh Record Click");
const QString ReportExport::IdleCaption = QStringLiteral("Excel Export");
const QString ReportExport::CompleteMessage = QStringLiteral(" Export Complete ");

namespace {

const QString MarkingOn = QStringLiteral("1");
const QString MarkingOff = QStringLiteral("0");

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
void setCaption(JeweledButton *button, const QString &caption)
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

bool ReportExport::isWorkbookName(const QString &fileName)
{
    return ::isWorkbookName(fileName);
}

void ReportExport::exportReport(const PageSelection &pages)
{
    m_pages = pages;
    const QString fileName = Dialogs::saveFileName(m_view, tr("Export"), Filter, m_lastFileName);
    if (fileName.isEmpty())
        return; // cancelled: nothing is written, the last name stays
    m_lastFileName = fileName;

    // A workbook name is kept for the workbook button rather than filled
    // with rich text that no spreadsheet program would open.
    const ExportFormat format = exportFormatForName(fileName);
    offerWorkbook(format == ExportFormat::Workbook);
    switch (format) {
    case ExportFormat::Workbook:
        break;
    case ExportFormat::Pdf:
        writePdf(fileName);
        break;
    case ExportFormat::WebPage:
        if (writeWebPage(fileName))
            MessageBox::show(m_view, CompleteMessage);
        break;
    case ExportFormat::PlainText:
        writePlainText(fileName);
        break;
    case ExportFormat::RichText:
        writeRichText(fileName);
        break;
    case ExportFormat::Png:
        // Not offered, but a typed name of it gets pictures, never rich text
        // under a picture's name.
        writePng(fileName);
        break;
    }
}

bool ReportExport::writePng(const QString &fileName)
{
    // Pictures are of sheets, which only the printed look has.
    if (!m_doc.showsSheets()) {
        fail(QStringLiteral("%1: pictures show the sheets of the printed look; tick \"Printed\" in the "
                            "colour settings and export again.")
                 .arg(QDir::toNativeSeparators(fileName)));
        return false;
    }
    PngOptions options;
    options.pages = m_doc.chosenShown(m_pages);
    return writeWithProgress(fileName, int(options.pages.size()), [&](const Step &step, QString *error) {
        options.progress = [&step](int done, int) { return step(done); };
        return PngExport::save(fileName, [this](int i) { return m_doc.sheet(i); }, options, error);
    });
}

bool ReportExport::writeWebPage(const QString &fileName)
{
    const MarkupContext &markup = m_doc.markup();
    const HtmlColours colours
        = htmlColours(m_doc.paperColor(), markup.dubble, markup.bold, markup.condence, m_doc.codePage());
    QString error;
    if (!expHTml(m_doc.fileName(), fileName, colours, &error)) {
        fail(error);
        return false;
    }
    return true;
}

bool ReportExport::writePlainText(const QString &fileName)
{
    QString error;
    if (!savePlainText(fileName, m_doc.pages(), m_doc.chosenPages(m_pages), &error, m_doc.codePage())) {
        fail(error);
        return false;
    }
    return true;
}

bool ReportExport::writeRichText(const QString &fileName)
{
    // The chosen pages with the print order of the markup passes, as the
    // command line's convert writes them. A long one shows how far it is and
    // can be cancelled; a cancelled one leaves no file (an old one of that
    // name stays as it was).
    return writeWithProgress(fileName, 100, [&](const Step &step, QString *error) {
        return saveRichText(fileName, m_doc.pages(), m_doc.chosenPages(m_pages), m_doc.markup(), error, step);
    });
}

bool ReportExport::writePdf(const QString &fileName)
{
    // The chosen pages as the desktop driver prints them, on the locale's paper.
    // In the printed look, the chosen sheets as the view shows them.
    const bool printed = m_doc.showsSheets();
    PdfOptions options;
    options.pages = printed ? m_doc.chosenShown(m_pages) : m_doc.chosenPages(m_pages);
    options.paper = PdfExport::defaultPaper();
    options.title = QFileInfo(m_doc.fileName()).fileName();
    options.render = m_doc.renderOptions();
    // A long PDF shows how far it is and can be cancelled; a cancelled PDF
    // leaves no file (an old one of that name stays as it was).
    return writeWithProgress(fileName, int(options.pages.size()), [&](const Step &step, QString *error) {
        options.progress = [&step](int done, int) { return step(done); };
        return printed
            ? PrintedPdfExport::save(fileName, [this](int i) { return m_doc.sheet(i); }, options, error)
            : PdfExport::save(fileName, m_doc.pages(), options, error);
    });
}

bool ReportExport::writeWithProgress(
    const QString &fileName, int steps, const std::function<bool(const Step &, QString *)> &write)
{
    QString error;
    bool cancelled = false;
    bool written = false;
    {
        QProgressDialog progress(QStringLiteral("Writing %1 ...").arg(QFileInfo(fileName).fileName()),
            QStringLiteral("Cancel"), 0, steps, m_view);
        progress.setObjectName(QStringLiteral("ExportProgress"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(500);
        const Step step = [&progress](int done) {
            progress.setValue(done);
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
    const bool marking = CmdExelExp->tag() == MarkingOn;
    if (!offer) {
        // Another kind of name: the workbook would be saved over it.
        if (marking) {
            CmdExelExp->setTag(MarkingOff);
            m_doc.setColumnMarkCount(0);
        }
        CmdExelExp->hide();
        return;
    }
    // A marking pass under way goes on under the new name; otherwise the
    // button starts again from its first click.
    if (!marking)
        setCaption(CmdExelExp, IdleCaption);
    CmdExelExp->show();
}

void ReportExport::CmdExelExp_Click()
{
    JeweledButton *CmdExelExp = m_button;
    m_doc.setColumnMarkCount(1);
    CmdExelExp->setTag(MarkingOn);
    if (CmdExelExp->text() != FinishCaption) {
        // Marking is on: each caret move in the view records a column.
        setCaption(CmdExelExp, FinishCaption);
        return;
    }
    CmdExelExp->setTag(MarkingOff);
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

    QVector<int> marks;
    marks.reserve(m_doc.columnMarks().size());
    for (qint16 mark : m_doc.columnMarks())
        marks.append(mark);
    if (!marks.isEmpty())
        marks[0] = 0;

    QPointer<QWidget> alive(m_view);
    BusyWindow busy(m_view);
    // After each line: the row in the search box, then the window repaints.
    // A view closed meanwhile stops the run.
    const auto progress = [&](int nextRow) {
        if (m_showRow)
            m_showRow(QString::number(nextRow));
        QCoreApplication::processEvents();
        return !alive.isNull() && alive->isVisible();
    };
    QString error;
    const bool written = WorkbookExport::write(
        m_doc.fileName(), m_lastFileName, marks, progress, &error, m_doc.codePage());
    busy.release();
    if (alive.isNull() || !alive->isVisible())
        return false;

    if (m_showRow)
        m_showRow(QString());
    if (written) {
        CmdExelExp->hide();
        MessageBox::show(m_view, CompleteMessage, QString(), QMessageBox::Information);
    } else {
        // The button stays, so another click tries again with the same marks.
        fail(error);
    }
    setCaption(CmdExelExp, IdleCaption);
    setCaption(CmdExelExp, FinishCaption);
    return written;
}

void ReportExport::fail(const QString &error)
{
    MessageBox::critical(m_view, error, tr("Export"));
}
