// Paging and the status line of the report view.
#include "gui/controls/JeweledButton.h"
#include "gui/platform/MessageBox.h"
#include "platform/NumericText.h"
#include "gui/report/FrmReport.h"
#include "gui/report/SheetView.h"
#include "gui/report/FileChangeBar.h"
#include "gui/report/PageCutBar.h"
#include "gui/report/PageSearch.h"
#include "gui/report/PageView.h"
#include "gui/report/ViewWait.h"
#include "gui/report/ViewZoom.h"
#include "render/ViewLines.h"
#include "report/PageText.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <cmath>

namespace {

// A page this long (a file without form feeds) takes a noticeable time to
// find the lines of: they are found aside, with a progress.
constexpr qsizetype LongPage = 16 * 1024 * 1024;

} // namespace

void FrmReport::showPage(int k)
{
    // A page shown ends the continuous view, and the box says so: it had
    // stayed ticked over a single page, where Ctrl+End then kept to that page.
    if (m_doc.continuous() && Check3->isChecked())
        Check3->setChecked(false);
    // The printed look: the sheet as the printer prints it, in place of the
    // text (the continuous view is text whatever the look).
    const bool printed = printedLook() && !Check3->isChecked();
    const auto showPane = [this, printed] {
        m_doc.setContinuous(false);
        SheetPane->setVisible(printed);
        m_editText->setVisible(false);
        m_pageView->setVisible(!printed);
    };
    if (printed) {
        showPane();
        buildPrinted();
        const double inch = logicalDpiX() * (m_doc.zoomedIn() ? 1.5 : 1.0) * m_zoom->scale();
        SheetPane->setPixelsPerInch(inch);
        SheetPane->setSheet(m_doc.sheet(qBound(0, k, PageCount() - 1)));
        m_loadedPageShown = false;
        m_captionCurrent = false;
        return;
    }
    if (m_doc.pages().changed())
        m_changeBar->check(); // the page may already read what another program wrote
    // The page and its form feed, read where they lie: the view decodes and
    // styles only the lines it shows, so a page of any size shows at once.
    ViewLines::Options options;
    options.codePage = codePage();
    options.context = m_doc.markup();
    options.formFeedAtEnd = true;
    const auto kept = std::make_shared<PageTable>(m_doc.pages());
    const QByteArrayView page = kept->pageView(k);
    std::shared_ptr<ViewLines> lines
        = readLines(page.size(), [page, options, kept] { return std::make_shared<ViewLines>(page, options, kept); });
    if (!lines)
        return; // given up: what was on screen stays there
    showPane();
    showLines(std::move(lines));
    // The markup passes leave the first character selected.
    if (m_doc.markup().vsual && m_pageView->lines()->positionCount() > 0)
        m_pageView->select(0, 1);
    m_loadedPageShown = false;
    if (Check2->isChecked())
        showEditText();
}

std::shared_ptr<ViewLines> FrmReport::readLines(qint64 size, std::function<std::shared_ptr<ViewLines>()> make)
{
    if (size < LongPage)
        return make();
    // A long page's lines are found on a thread of their own (seconds for
    // a gigabyte) while the window answers and shows that it is busy; a
    // view being opened is put on screen for it, and may give it up, as may
    // another zoom or code page (the page on screen then stays as it was).
    const bool mayGiveUp = m_opening || m_lookChanging;
    ViewWait wait(this, tr("Reading the lines of %1 ...").arg(QFileInfo(m_doc.fileName()).fileName()),
        mayGiveUp ? tr("Cancel") : QString(), m_opening);
    auto found = std::make_shared<std::shared_ptr<ViewLines>>();
    if (!wait.runAside([found, make = std::move(make)] { *found = make(); })) {
        if (m_opening)
            m_openingGivenUp = true;
        else
            m_lookChangeGivenUp = true;
        return nullptr;
    }
    return *found;
}

void FrmReport::showLines(std::shared_ptr<ViewLines> lines)
{
    m_editText->hide();
    m_editText->clear(); // an edited page is gone once another is shown
    m_pageView->setTextFont(m_editText->font());
    m_pageView->setBackground(m_editText->palette().color(QPalette::Base), m_editText->palette().color(QPalette::Text));
    m_pageView->setLines(std::move(lines));
    showColumnMarks();
    m_pageView->show();
}

ShownText FrmReport::onScreen() const
{
    ShownText shown;
    const ViewLines *lines = m_pageView->lines();
    shown.emphasis = lines && lines->options().markup && lines->options().context.vsual;
    // The edit box's text while it holds the page, else the page as it was
    // read; and the user's selection in whichever holds the page.
    if (editShown()) {
        shown.page = PageText::text(m_editText->document());
        if (hasUserSelection())
            shown.selection = m_editText->textCursor().selectedText();
    } else if (hasUserSelection()) {
        shown.selection = m_pageView->selectedText().replace(QLatin1Char('\n'), QChar::ParagraphSeparator);
    }
    return shown;
}

QTextDocument *FrmReport::newDocument(const QString &text)
{
    auto *document = new QTextDocument(m_editText);
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(m_editText->font());
    PageText::setText(document, text);
    return document;
}

void FrmReport::showDocument(QTextDocument *document)
{
    // The edit deletes the document it made itself; ours are deleted here.
    QTextDocument *previous = m_editText->document();
    const bool ours = previous->parent() == m_editText;
    m_editText->setDocument(document);
    m_editText->setCurrentCharFormat(QTextCharFormat());
    if (ours)
        delete previous;
}

bool FrmReport::editShown() const
{
    return !m_editText->isHidden();
}

QAbstractScrollArea *FrmReport::shownText() const
{
    return editShown() ? static_cast<QAbstractScrollArea *>(m_editText) : m_pageView;
}

bool FrmReport::hasUserSelection() const
{
    if (!editShown())
        return m_pageView->selectionLength() > 0
            && !(m_pageView->selectionStart() == 0 && m_pageView->selectionLength() == 1);
    const QTextCursor selection = m_editText->textCursor();
    return selection.hasSelection() && !(selection.selectionStart() == 0 && selection.selectionEnd() == 1);
}

void FrmReport::setPageLabel(int k)
{
    LbPageNo->setText(tr("Page %1/%2").arg(k + 1).arg(PageCount()));
    // Wide enough for its text (page numbers of four digits and more), with
    // the boxes left of it moved along.
    const int needed = LbPageNo->sizeHint().width();
    if (LbPageNo->width() < needed) {
        LbPageNo->resize(needed, LbPageNo->height());
        layoutForm();
    }
}

void FrmReport::DisplayPage(int k)
{
    m_search->clearCount();
    showPage(k);
    setPageLabel(k);
}

void FrmReport::CmdFst_Click()
{
    m_doc.setCurrentPage(0);
    DisplayPage(m_doc.currentPage());
    CmdBck->setEnabled(false);
    CmdNxt->setEnabled(true);
}

void FrmReport::CmdBck_Click()
{
    if (m_doc.currentPage() == 0)
        CmdBck->setEnabled(false);
    else
        m_doc.setCurrentPage(m_doc.currentPage() - 1);
    DisplayPage(m_doc.currentPage());
    CmdNxt->setEnabled(true);
}

void FrmReport::CmdNxt_Click()
{
    if (m_doc.currentPage() == PageCount() - 1 && !m_doc.pagesComplete() && !waitForPages())
        return;
    if (m_doc.currentPage() == PageCount() - 1)
        CmdNxt->setEnabled(false);
    else
        m_doc.setCurrentPage(m_doc.currentPage() + 1);
    DisplayPage(m_doc.currentPage());
    CmdBck->setEnabled(true);
}

void FrmReport::CmdLast_Click()
{
    if (!waitForPages())
        return;
    m_doc.setCurrentPage(PageCount() - 1);
    DisplayPage(m_doc.currentPage());
    CmdNxt->setEnabled(false);
    CmdBck->setEnabled(true);
}

void FrmReport::goToPage()
{
    const double number = std::trunc(NumericText::leadingNumber(Text2->text()));
    if (number > PageCount() && !waitForPages())
        return;
    if (number < 1 || number > PageCount()) {
        MessageBox::show(this, tr(" Select Valid PageNo...!"), QString(), QMessageBox::Critical);
        return;
    }
    m_doc.setCurrentPage(int(number) - 1);
    DisplayPage(m_doc.currentPage());
}

void FrmReport::showCutProgress(qint64 done, qint64 total)
{
    m_cutBar->showProgress(done, total, m_doc.pages().PageCount());
    placeCodePageBar();
    if (!m_doc.showsSheets()) {
        setPageLabel(m_doc.currentPage());
        CmdNxt->setEnabled(m_doc.currentPage() < PageCount() - 1 || !m_doc.pagesComplete());
    }
}

bool FrmReport::waitForPages()
{
    if (m_doc.pagesComplete())
        return true;
    constexpr int Steps = 1000;
    QProgressDialog progress(tr("Reading the pages of %1 ...").arg(QFileInfo(m_doc.fileName()).fileName()),
        tr("Cancel"), 0, Steps, this);
    progress.setObjectName(QStringLiteral("PageCutProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const bool done = m_doc.finishPages([&progress](qint64 cut, qint64 total) {
        progress.setValue(total > 0 ? int(cut * Steps / total) : 0);
        return !progress.wasCanceled();
    });
    progress.reset();
    return done;
}

void FrmReport::Timer1_Timer()
{
    if (!m_captionCurrent)
        UpdateStatusLine();
    showColumnMarks();
}

void FrmReport::showColumnMarks()
{
    // The workbook's columns (element 0 is the line start), while they are
    // being marked.
    QVector<int> columns;
    if (markingColumns())
        for (int i = 1; i < m_doc.columnMarkCount() && i < m_doc.columnMarks().size(); ++i)
            columns.append(m_doc.columnMarks().at(i));
    if (m_pageView->columnMarks() != columns)
        m_pageView->setColumnMarks(columns);
}

void FrmReport::UpdateStatusLine()
{
    const QString name = QFileInfo(m_doc.fileName()).fileName();
    if (!SheetPane->isHidden()) {
        // The printed look has no caret: the sheet on screen.
        setWindowTitle(tr(" Report View   [ Sheet : %1/%2 ]   %3")
                           .arg(m_doc.currentPage() + 1)
                           .arg(PageCount())
                           .arg(name));
        m_captionCurrent = true;
        return;
    }
    // The view does not wrap, so its display lines are the text's lines.
    qint64 col = 0;
    qint64 line = 0;
    qint64 selected = 0;
    if (editShown()) {
        const QTextCursor cursor = m_editText->textCursor();
        const PageText::LineColumn at = PageText::lineColumn(m_editText->document(), cursor.selectionStart());
        col = at.column;
        line = at.line;
        selected = cursor.selectionEnd() - cursor.selectionStart();
    } else {
        const PageView::LineColumn at = m_pageView->lineColumn();
        col = at.column;
        line = at.line;
        selected = m_pageView->selectionLength();
    }
    // The file's name after the caption's own text tells views apart.
    setWindowTitle(tr(" Report View   [ Col : %1 Line : %2 ]   %3   %4")
                       .arg(col)
                       .arg(line + 1)
                       .arg(selected)
                       .arg(name));
    m_captionCurrent = true;

    // Column marks for the spreadsheet export, while its marking mode is on.
    // The count is 8-bit: a 256th mark is refused.
    if (markingColumns())
        m_doc.addColumnMark(col);
}
