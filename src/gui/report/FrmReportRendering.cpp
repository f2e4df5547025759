// What the report view shows of a page and the ways of changing it: markup,
// zoom, search, highlight, the context menu, edit and the continuous view.
#include "gui/controls/JeweledButton.h"
#include "platform/FileChecks.h"
#include "gui/platform/MessageBox.h"
#include "platform/Twips.h"
#include "gui/printing/PrintPanel.h"
#include "gui/report/FrmReport.h"
#include "gui/report/SheetView.h"
#include "gui/report/EditMarkup.h"
#include "gui/report/PageView.h"
#include "render/ViewLines.h"
#include "report/PageDocument.h"
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
    const bool zoomIn = Command2->text() == QLatin1String("Zoom");
    m_doc.setZoomedIn(zoomIn);
    Rt1->setFont(reportFont(zoomIn ? ReportZoomedPoints : ReportUnzoomedPoints, false, codePage()));
    m_doc.setViewPoints(Rt1->font().pointSizeF());
    syncMarkup();
    // The continuous view has no markup to size: it keeps its place.
    if (continuousShown() && !editShown())
        m_pageView->setTextFont(Rt1->font());
    else
        showPage(m_doc.currentPage());
    Command2->setText(zoomIn ? QStringLiteral("Zoom Out") : QStringLiteral("Zoom"));
}

void FrmReport::runSearch()
{
    const QString s = Text4->text();
    m_text4Tag = QStringLiteral("0");
    if (s.isEmpty())
        return;
    if (editShown())
        return searchEditText(s);

    PageView::Mark mark;
    mark.length = s.size();
    mark.colour = Frame6->swatchColor(ReportColorPanel::SearchString);
    mark.bold = Frame6->searchBold() ? 1 : 0;

    // A few megabytes a step; pending events run between steps, so the
    // window answers and Escape in the search box stops the search;
    // meanwhile the view takes no input of its own.
    constexpr qint64 Step = 4 << 20;
    constexpr qsizetype MostAStep = 4096;
    // Each mark takes a few dozen bytes: a text found all over a large file
    // is marked so far, not until memory runs out.
    constexpr qsizetype MostMarks = 1000000;
    qsizetype marked = 0;
    QPointer<FrmReport> alive(this);
    m_searching = true;
    const std::shared_ptr<ViewLines> searched = m_pageView->shared();
    const qint64 end = searched ? searched->positionCount() : 0;
    qint64 last = -1;
    for (qint64 from = 0; from < end;) {
        QCoreApplication::processEvents();
        if (!alive)
            return; // the window was closed
        // Stopped, or another page was shown meanwhile.
        if (m_text4Tag == QLatin1String("1") || m_pageView->shared() != searched)
            break;
        const QVector<qint64> found = searched->findAll(s, from, qMin(end, from + Step), MostAStep);
        for (const qint64 at : found) {
            mark.start = at;
            m_pageView->addMark(mark);
        }
        if (!found.isEmpty())
            last = found.last();
        from = found.size() == MostAStep ? found.last() + 1 : from + Step;
        marked += found.size();
        if (marked >= MostMarks && from < end) {
            MessageBox::information(this,
                tr("The search stopped at %1 matches of \"%2\": those are marked.").arg(marked).arg(s),
                tr("Search"));
            break;
        }
    }
    m_searching = false;
    if (last >= 0 && m_pageView->shared() == searched) {
        m_pageView->select(last, last + s.size());
        m_pageView->ensureVisible(last);
    }
}

void FrmReport::searchEditText(const QString &s)
{
    QTextCharFormat mark;
    mark.setForeground(Frame6->swatchColor(ReportColorPanel::SearchString));
    mark.setFontWeight(Frame6->searchBold() ? QFont::Bold : QFont::Normal);

    // As in the page view, in steps with the events let in between. The
    // matches found within a step are marked in one edit, so a long page
    // is laid out again once a step rather than once a match.
    QPointer<FrmReport> alive(this);
    m_searching = true;
    QTextDocument *document = Rt1->document();
    const QPointer<QTextDocument> searched(document);
    const int length = document->characterCount() - 1;
    QTextCursor last;
    QElapsedTimer step;
    for (int i = 0; i <= length;) {
        QCoreApplication::processEvents();
        if (!alive)
            return; // the window was closed
        if (m_text4Tag == QLatin1String("1") || !searched || Rt1->document() != document)
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
    if (!last.isNull() && searched && Rt1->document() == document)
        Rt1->setTextCursor(last);
}

void FrmReport::highlightSelection()
{
    const QColor colour = Frame6->swatchColor(ReportColorPanel::Highlight);
    if (!editShown()) {
        m_pageView->addMark({m_pageView->selectionStart(), m_pageView->selectionLength(), colour,
            Frame6->highlightBold() ? 1 : -1});
        return;
    }
    QTextCharFormat format;
    if (Frame6->highlightBold())
        format.setFontWeight(QFont::Bold);
    format.setForeground(colour);
    QTextCursor cursor = Rt1->textCursor();
    cursor.mergeCharFormat(format);
}

void FrmReport::showContextMenu(const QPoint &viewportPos)
{
    pppp->setEnabled(Check2->isChecked());
    QAbstractScrollArea *shown = shownText();
    const QPoint inView = shown->viewport()->mapTo(shown, viewportPos);
    const QPoint onForm(Twips::toPixels(Twips::fromPixels(inView.x()) + 50),
        Twips::toPixels(Twips::fromPixels(inView.y()) + 525));
    AQ->popup(mapToGlobal(onForm));
}

void FrmReport::sendControlKey(int key)
{
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
        Rt1->setReadOnly(false);
        Frame1->selectPageOption(1);
        return;
    }
    Rt1->setReadOnly(true);
    Rt1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // An edited page stays as it was edited (and prints so) until another
    // page is shown; one left as it was goes back to the page view.
    if (editShown() && !Rt1->document()->isModified()) {
        Rt1->hide();
        m_pageView->show();
        shareShownText();
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
    Rt1->setTextCursor(selection);
    document->setModified(false);
    Rt1->setReadOnly(!Check2->isChecked());
    m_pageView->hide();
    Rt1->show();
    shareShownText();
    QGuiApplication::restoreOverrideCursor();
}

void FrmReport::Check3_Click(bool ticked)
{
    if (!ticked) {
        LoadReport(m_doc.fileName());
        return;
    }
    // The whole file as it is, control codes visible, in any look: one
    // view over the mapped file, nothing copied.
    SheetPane->hide();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ViewLines::Options options;
    options.codePage = codePage();
    options.markup = false;
    const auto kept = std::make_shared<PageTable>(m_doc.pages());
    showLines(std::make_shared<ViewLines>(QByteArrayView(kept->bytes()), options, kept));
    m_doc.setContinuous(true);
    QGuiApplication::restoreOverrideCursor();
    if (Check2->isChecked())
        showEditText();
}

bool FrmReport::rt1MouseEvent(QEvent *event)
{
    if (m_searching && isUserInput(event->type()))
        return true;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        m_timerTag = QStringLiteral("0");
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::ControlModifier) {
            Command2->click();
            return true;
        }
        if (mouse->button() == Qt::RightButton) {
            showContextMenu(mouse->position().toPoint());
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonRelease:
        m_timerTag = QStringLiteral("0");
        return false;
    case QEvent::ContextMenu:
        return true; // the view's own menu is AQ
    default:
        return false;
    }
}

bool FrmReport::rt1KeyEvent(QEvent *event)
{
    if (m_searching && isUserInput(event->type()))
        return true;
    if (pageKeyEvent(event))
        return true;
    if (event->type() == QEvent::KeyPress) {
        m_timerTag = QStringLiteral("0");
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Control && !m_magnifier) {
            static const QCursor magnifier = magnifierCursor();
            m_magnifier = true;
            shownText()->viewport()->setCursor(magnifier);
        }
    } else if (event->type() == QEvent::KeyRelease && m_magnifier) {
        m_magnifier = false;
        m_pageView->viewport()->setCursor(Qt::IBeamCursor);
        Rt1->viewport()->setCursor(Rt1->isReadOnly() ? Qt::ArrowCursor : Qt::IBeamCursor);
    }
    return false;
}
