// Paging and the status line of the report view.
#include "gui/controls/JeweledButton.h"
#include "gui/platform/MessageBox.h"
#include "platform/NumericText.h"
#include "gui/report/FrmReport.h"
#include "gui/report/SheetView.h"
#include "gui/report/FileChangeBar.h"
#include "report/PageDocument.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <cmath>

namespace {

// A page this long (a whole sticker run, or a file without form feeds) takes
// a noticeable time to lay out: the pointer shows that the view is busy.
constexpr qsizetype LongPage = 256 * 1024;

} // namespace

void FrmReport::showPage(int k)
{
    // The printed look: the sheet as the printer prints it, in place of the
    // text (the continuous view is text whatever the look).
    const bool printed = printedLook() && !Check3->isChecked();
    m_doc.setContinuous(false);
    SheetPane->setVisible(printed);
    Rt1->setVisible(!printed);
    if (printed) {
        buildPrinted();
        const double inch = logicalDpiX() * (m_doc.zoomedIn() ? 1.5 : 1.0);
        SheetPane->setPixelsPerInch(inch);
        SheetPane->setSheet(m_doc.sheet(qBound(0, k, PageCount() - 1)));
        m_loadedPageShown = false;
        return;
    }
    // The page and its form feed replace the whole content and its format.
    // The text and its markup passes are put together in a document that no
    // view lays out yet, and then handed to the view, so the page is laid
    // out and painted once.
    const QString text = m_doc.pages().page(k, codePage()) + QChar(0x0C);
    if (m_doc.pages().changed())
        m_changeBar->check(); // the page may already read what another program wrote
    const bool busy = text.size() >= LongPage;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QTextDocument *document = newDocument(text);
    applyMarkupPasses(document, markupContext(), MarkupOrder::View);
    showDocument(document);
    // The markup passes leave the first character selected.
    if (markupContext().vsual && document->characterCount() > 1) {
        QTextCursor first(document);
        first.setPosition(1, QTextCursor::KeepAnchor);
        Rt1->setTextCursor(first);
    }
    document->setModified(false); // any later change, a search mark included, shows
    m_loadedPageShown = false;
    if (busy)
        QGuiApplication::restoreOverrideCursor();
}

QTextDocument *FrmReport::newDocument(const QString &text)
{
    auto *document = new QTextDocument(Rt1);
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(Rt1->font());
    PageDocument::setText(document, text);
    return document;
}

void FrmReport::showDocument(QTextDocument *document)
{
    // The edit deletes the document it made itself; ours are deleted here.
    QTextDocument *previous = Rt1->document();
    const bool ours = previous->parent() == Rt1;
    Rt1->setDocument(document);
    Rt1->setCurrentCharFormat(QTextCharFormat());
    if (ours)
        delete previous;
}

bool FrmReport::hasUserSelection() const
{
    const QTextCursor selection = Rt1->textCursor();
    return selection.hasSelection() && !(selection.selectionStart() == 0 && selection.selectionEnd() == 1);
}

void FrmReport::setPageLabel(int k)
{
    LbPageNo->setText(QStringLiteral("Page %1/%2").arg(k + 1).arg(PageCount()));
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
    if (m_doc.currentPage() == PageCount() - 1)
        CmdNxt->setEnabled(false);
    else
        m_doc.setCurrentPage(m_doc.currentPage() + 1);
    DisplayPage(m_doc.currentPage());
    CmdBck->setEnabled(true);
}

void FrmReport::CmdLast_Click()
{
    m_doc.setCurrentPage(PageCount() - 1);
    DisplayPage(m_doc.currentPage());
    CmdNxt->setEnabled(false);
    CmdBck->setEnabled(true);
}

void FrmReport::goToPage()
{
    const double number = std::trunc(NumericText::leadingNumber(Text2->text()));
    if (number < 1 || number > PageCount()) {
        MessageBox::show(this, QStringLiteral(" Select Valid PageNo...!"), QString(), QMessageBox::Critical);
        return;
    }
    m_doc.setCurrentPage(int(number) - 1);
    showPage(m_doc.currentPage());
    setPageLabel(m_doc.currentPage());
}

void FrmReport::Timer1_Timer()
{
    if (m_timerTag != QLatin1String("1"))
        UpdateStatusLine();
}

void FrmReport::UpdateStatusLine()
{
    // The view does not wrap, so its display lines are the text's lines.
    const QTextCursor cursor = Rt1->textCursor();
    const PageDocument::LineColumn at = PageDocument::lineColumn(Rt1->document(), cursor.selectionStart());
    const int col = at.column;
    const int selected = cursor.selectionEnd() - cursor.selectionStart();
    // The file's name after the caption's own text tells views apart.
    setWindowTitle(QStringLiteral(" Report View   [ Col : %1 Line : %2 ]   %3   %4")
                       .arg(col)
                       .arg(at.line + 1)
                       .arg(selected)
                       .arg(QFileInfo(m_doc.fileName()).fileName()));
    m_timerTag = QStringLiteral("1");

    // Column marks for the spreadsheet export, while its marking mode is on.
    // The count is 8-bit: a 256th mark is refused.
    if (CmdExelExp->tag() == QLatin1String("1"))
        m_doc.addColumnMark(col);
}
