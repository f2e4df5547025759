// What the report view shows of a page and the ways of changing it: markup,
// zoom, search, highlight, the context menu, edit and the continuous view.
#include "gui/controls/JeweledButton.h"
#include "platform/FileChecks.h"
#include "gui/platform/MessageBox.h"
#include "platform/Twips.h"
#include "gui/printing/PrintPanel.h"
#include "gui/report/FrmReport.h"
#include "gui/report/SheetView.h"
#include "gui/rules/RulesDialog.h"
#include "gui/report/EditMarkup.h"
#include "gui/report/PageView.h"
#include "gui/report/PageSearch.h"
#include "gui/report/ViewZoom.h"
#include "render/ViewLines.h"
#include "report/PageText.h"
#include "gui/report/ReportColorPanel.h"
#include "report/ReportFont.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProgressDialog>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextEdit>

namespace {

// The pointer shown over the view while Ctrl is held: Ctrl+click zooms.
QCursor magnifierCursor()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(29, 29));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(29, 29));
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(200, 230, 255, 160));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.end();
    return QCursor(pixmap, 12, 12);
}

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace

bool FrmReport::continuousShown() const
{
    return m_doc.continuous();
}

void FrmReport::Command2_Click()
{
    // Zoom Out goes back to the size the view opened with; the view follows
    // the document (showZoom).
    const bool zoomIn = !m_doc.zoomedIn();
    const QFont font = reportFont(zoomIn ? ReportZoomedPoints : ReportStartPoints, false, codePage());
    const double pointsBefore = m_doc.viewPoints();
    const QFont fontBefore = m_editText->font();
    const double scaleBefore = m_zoom->scale();
    m_lookChangeGivenUp = false;
    {
        const QScopedValueRollback changing(m_lookChanging, true);
        m_doc.setZoom(zoomIn, font.pointSizeF());
    }
    if (!m_lookChangeGivenUp)
        return;
    // Cancel while a long page was read in the new sizes: the page on screen
    // stays, and so do the zoom it is shown in and the button's caption.
    m_lookChangeGivenUp = false;
    const QScopedValueRollback keeping(m_keepingLook, true);
    m_doc.setZoom(!zoomIn, pointsBefore);
    m_editText->setFont(fontBefore);
    m_zoom->setScale(scaleBefore);
}

void FrmReport::showZoom(bool zoomIn)
{
    if (m_keepingLook)
        return; // the zoom before, set back: the page on screen has it
    // Either way the zoom's steps start again from the button's size.
    m_editText->setFont(reportFont(zoomIn ? ReportZoomedPoints : ReportStartPoints, false, codePage()));
    m_zoom->setScale(1);
    // The continuous view has no markup to size: it keeps its place. A page
    // is shown again in the new sizes, with its place, marks and selection.
    if (continuousShown() && !editShown()) {
        m_pageView->setTextFont(m_editText->font());
    } else {
        const QVector<PageView::Mark> marks = m_pageView->marks();
        const qint64 anchor = m_pageView->anchor();
        const qint64 caret = m_pageView->caret();
        const int line = m_pageView->verticalScrollBar()->value();
        const std::shared_ptr<ViewLines> before = m_pageView->shared();
        showPage(m_doc.currentPage());
        if (m_lookChangeGivenUp)
            return; // Command2_Click sets the zoom before back
        if (before && m_pageView->shared() && m_pageView->shared() != before
            && m_pageView->lines()->positionCount() == before->positionCount()) {
            for (const PageView::Mark &mark : marks)
                m_pageView->addMark(mark);
            m_pageView->select(anchor, caret);
            m_pageView->verticalScrollBar()->setValue(line);
        }
    }
    Command2->setText(zoomIn ? tr("Zoom Out") : tr("Zoom"));
    layoutForm(); // a longer caption takes its room
}

void FrmReport::runSearch(int direction)
{
    const QString s = Text4->text();
    m_stopSearch = false;
    if (s.isEmpty() || m_searching)
        return;
    if (editShown())
        return searchEditText(s);
    if (!waitForPages()) // a search goes on over the pages after this one
        return;
    if (!SheetPane->isHidden())
        return m_search->findOnSheet(direction, m_doc.searchMark().colour);
    PageView::Mark look;
    look.colour = m_doc.searchMark().colour;
    look.bold = m_doc.searchMark().bold ? 1 : 0;
    m_search->find(direction, look);
}

void FrmReport::searchEditText(const QString &s)
{
    QTextCharFormat mark;
    mark.setForeground(m_doc.searchMark().colour);
    mark.setFontWeight(m_doc.searchMark().bold ? QFont::Bold : QFont::Normal);

    // As in the page view, in steps with the events let in between. The
    // matches found within a step are marked in one edit, so a long page
    // is laid out again once a step rather than once a match.
    QPointer<FrmReport> alive(this);
    m_searching = true;
    QTextDocument *document = m_editText->document();
    const QPointer<QTextDocument> searched(document);
    const int length = document->characterCount() - 1;
    QTextCursor last;
    QElapsedTimer step;
    for (int i = 0; i <= length;) {
        QCoreApplication::processEvents();
        if (!alive)
            return; // the window was closed
        if (m_stopSearch || !searched || m_editText->document() != document)
            break;
        QList<QTextCursor> found;
        step.start();
        do {
            const QTextCursor match = document->find(s, i);
            if (match.isNull()) {
                i = length + 1;
                break;
            }
            found.append(match);
            i = match.selectionStart() + 1;
        } while (i <= length && found.size() < 256 && !step.hasExpired(20));
        if (found.isEmpty())
            break;
        QTextCursor edit(document);
        edit.beginEditBlock();
        for (const QTextCursor &match : found) {
            QTextCursor marker(match);
            marker.mergeCharFormat(mark);
        }
        edit.endEditBlock();
        last = found.last();
    }
    m_searching = false;
    if (!last.isNull() && searched && m_editText->document() == document)
        m_editText->setTextCursor(last);
}

void FrmReport::highlightSelection()
{
    const MarkLook highlight = m_doc.highlightMark();
    if (!editShown()) {
        m_pageView->addMark({m_pageView->selectionStart(), m_pageView->selectionLength(), highlight.colour,
            highlight.bold ? 1 : -1});
        return;
    }
    QTextCharFormat format;
    if (highlight.bold)
        format.setFontWeight(QFont::Bold);
    format.setForeground(highlight.colour);
    QTextCursor cursor = m_editText->textCursor();
    cursor.mergeCharFormat(format);
}

void FrmReport::showContextMenu(const QPoint &globalPos)
{
    m_pasteAction->setEnabled(Check2->isChecked());
    // The point in the box that shows the page: the text, or the sheet
    // (whose drawing scrolls under it).
    const QWidget *shown = SheetPane->isHidden() ? static_cast<QWidget *>(shownText()) : SheetPane;
    const QPoint inView = shown->mapFromGlobal(globalPos);
    const QPoint onForm(Twips::toPixels(Twips::fromPixels(inView.x()) + 50),
        Twips::toPixels(Twips::fromPixels(inView.y()) + 525));
    m_contextMenu->popup(mapToGlobal(onForm));
}

void FrmReport::sendControlKey(int key)
{
    // The printed look copies the sheet's text (its selection, or all of it).
    if (!SheetPane->isHidden() && key == Qt::Key_C) {
        SheetPane->copy();
        return;
    }
    QWidget *target = QApplication::focusWidget();
    if (!target)
        target = shownText();
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier);
    QCoreApplication::sendEvent(target, &release);
}

void FrmReport::Check2_Click(bool ticked)
{
    if (ticked) {
        showEditText();
        m_editText->setReadOnly(false);
        printPanel()->selectPageOption(1);
        return;
    }
    m_editText->setReadOnly(true);
    m_editText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // An edited page stays as it was edited (and prints so) until another
    // page is shown; one left as it was goes back to the page view.
    if (editShown() && !m_editText->document()->isModified()) {
        m_editText->hide();
        m_pageView->show();
    }
}

void FrmReport::showEditText()
{
    const ViewLines *lines = m_pageView->lines();
    if (editShown() || !lines || m_pageView->isHidden())
        return;
    // The edit box holds the whole text at once, at many times its size.
    constexpr qint64 MostToEdit = 32 * 1024 * 1024;
    if (lines->positionCount() > MostToEdit) {
        Check2->setChecked(false);
        MessageBox::information(this,
            tr("The page is too large to edit here (%1 MB; at most %2 MB).")
                .arg(lines->positionCount() >> 20)
                .arg(MostToEdit >> 20),
            tr("Report View"));
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QTextDocument *document = newDocument(lines->text(0, lines->positionCount()));
    // With the emphasis the page was shown with: "Vsual", cleared by the
    // click on Edit, applies to the pages shown next.
    if (lines->options().markup)
        applyMarkupPasses(document, lines->options().context, MarkupOrder::View);
    showDocument(document);
    QTextCursor selection(document);
    selection.setPosition(int(m_pageView->anchor()));
    selection.setPosition(int(m_pageView->caret()), QTextCursor::KeepAnchor);
    m_editText->setTextCursor(selection);
    document->setModified(false);
    m_editText->setReadOnly(!Check2->isChecked());
    m_pageView->hide();
    m_editText->show();
    QGuiApplication::restoreOverrideCursor();
}

void FrmReport::Check3_Click(bool ticked)
{
    if (!ticked) {
        LoadReport(m_doc.fileName());
        return;
    }
    if (m_doc.continuous() || m_opening) {
        showContinuous();
        return;
    }
    // Ticked on a long file: its lines are read with Cancel, which leaves
    // the page on screen and the box as they were.
    m_lookChangeGivenUp = false;
    bool shown = false;
    {
        const QScopedValueRollback changing(m_lookChanging, true);
        shown = showContinuous();
    }
    if (!shown) {
        m_lookChangeGivenUp = false;
        Check3->setChecked(false);
    }
}

bool FrmReport::showContinuous()
{
    // The whole file as it is, control codes visible, in any look: one
    // view over the mapped file, nothing copied.
    ViewLines::Options options;
    options.codePage = codePage();
    options.markup = false;
    const auto kept = std::make_shared<PageTable>(m_doc.pages());
    std::shared_ptr<ViewLines> lines = readLines(kept->bytes().size(),
        [options, kept] { return std::make_shared<ViewLines>(QByteArrayView(kept->bytes()), options, kept); });
    if (!lines)
        return false; // given up: what was on screen stays there
    SheetPane->hide();
    m_search->clearCount();
    showLines(std::move(lines));
    m_doc.setContinuous(true);
    if (Check2->isChecked())
        showEditText();
    return true;
}

bool FrmReport::editTextMouseEvent(QEvent *event)
{
    if (m_searching && isUserInput(event->type()))
        return true;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        m_captionCurrent = false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::ControlModifier) {
            Command2->click();
            return true;
        }
        if (mouse->button() == Qt::RightButton) {
            showContextMenu(mouse->globalPosition().toPoint());
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonRelease:
        m_captionCurrent = false;
        return false;
    case QEvent::ContextMenu:
        return true; // the view's own menu is m_contextMenu
    default:
        return false;
    }
}

bool FrmReport::editTextKeyEvent(QEvent *event)
{
    if (m_searching && isUserInput(event->type()))
        return true;
    if (pageKeyEvent(event))
        return true;
    if (event->type() == QEvent::KeyPress) {
        m_captionCurrent = false;
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Control && !m_magnifier) {
            static const QCursor magnifier = magnifierCursor();
            m_magnifier = true;
            shownText()->viewport()->setCursor(magnifier);
        }
    } else if (event->type() == QEvent::KeyRelease && m_magnifier) {
        m_magnifier = false;
        m_pageView->viewport()->setCursor(Qt::IBeamCursor);
        m_editText->viewport()->setCursor(m_editText->isReadOnly() ? Qt::ArrowCursor : Qt::IBeamCursor);
    }
    return false;
}

void FrmReport::buildContextMenu()
{
    m_contextMenu = new QMenu(QStringLiteral("aaa"), this);
    m_contextMenu->setObjectName(QStringLiteral("AQ"));
    m_copyAction = m_contextMenu->addAction(tr("Copy"));
    m_copyAction->setObjectName(QStringLiteral("cccc"));
    m_pasteAction = m_contextMenu->addAction(tr("Paste"));
    m_pasteAction->setObjectName(QStringLiteral("pppp"));
    m_contextMenu->addSeparator()->setObjectName(QStringLiteral("g2"));
    ht = m_contextMenu->addAction(tr("Highlight Text"));
    ht->setObjectName(QStringLiteral("ht"));
    connect(m_copyAction, &QAction::triggered, this, [this] { sendControlKey(Qt::Key_C); });
    connect(m_pasteAction, &QAction::triggered, this, [this] { sendControlKey(Qt::Key_V); });
    connect(ht, &QAction::triggered, this, &FrmReport::highlightSelection);
    m_contextMenu->addSeparator();
    QAction *rules = m_contextMenu->addAction(tr("Rules..."));
    rules->setObjectName(QStringLiteral("rulesAction"));
    connect(rules, &QAction::triggered, this, [this] {
        auto *dialog = new RulesDialog(reportFile(), codePage(), this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        if (dialog->chooseRules())
            dialog->show();
        else
            dialog->close();
    });
}
