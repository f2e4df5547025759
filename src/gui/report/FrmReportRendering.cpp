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

void FrmReport::ApplyPageMarkup()
{
    // Frozen for the whole series, so the view repaints once.
    Rt1->setUpdatesEnabled(false);
    applyMarkupPasses(Rt1, markupContext(), MarkupOrder::View);
    Rt1->setUpdatesEnabled(true);
}

void FrmReport::Command2_Click()
{
    const bool zoomIn = Command2->text() == QLatin1String("Zoom");
    m_doc.setZoomedIn(zoomIn);
    Rt1->setFont(reportFont(zoomIn ? ReportZoomedPoints : ReportUnzoomedPoints, false, codePage()));
    m_doc.setViewPoints(Rt1->font().pointSizeF());
    syncMarkup();
    showPage(m_doc.currentPage());
    Command2->setText(zoomIn ? QStringLiteral("Zoom Out") : QStringLiteral("Zoom"));
}

void FrmReport::runSearch()
{
    const QString s = Text4->text();
    m_text4Tag = QStringLiteral("0");
    if (s.isEmpty())
        return;

    QTextCharFormat mark;
    mark.setForeground(Frame6->swatchColor(ReportColorPanel::SearchString));
    mark.setFontWeight(Frame6->searchBold() ? QFont::Bold : QFont::Normal);

    // Pending events run between steps, so Escape in the search box can stop
    // the search; meanwhile the view takes no input of its own. The matches
    // found within a step are marked in one edit, so a long page is laid out
    // again once a step rather than once a match.
    QPointer<FrmReport> alive(this);
    m_searching = true;
    QTextDocument *document = Rt1->document();
    const QPointer<QTextDocument> searched(document);
    const int length = document->characterCount() - 1;
    QTextCursor last;
    QElapsedTimer step;
    for (int i = 0; i <= length;) {
        if (m_text4Tag == QLatin1String("1"))
            break;
        QCoreApplication::processEvents();
        if (!alive)
            return; // the window was closed
        // Stopped, or another page was shown meanwhile.
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
    QTextCharFormat format;
    if (Frame6->highlightBold())
        format.setFontWeight(QFont::Bold);
    format.setForeground(Frame6->swatchColor(ReportColorPanel::Highlight));
    QTextCursor cursor = Rt1->textCursor();
    cursor.mergeCharFormat(format);
}

void FrmReport::showContextMenu(const QPoint &viewportPos)
{
    pppp->setEnabled(Check2->isChecked());
    const QPoint inView = Rt1->viewport()->mapTo(Rt1, viewportPos);
    const QPoint onForm(Twips::toPixels(Twips::fromPixels(inView.x()) + 50),
        Twips::toPixels(Twips::fromPixels(inView.y()) + 525));
    AQ->popup(mapToGlobal(onForm));
}

void FrmReport::sendControlKey(int key)
{
    QWidget *target = QApplication::focusWidget();
    if (!target)
        target = Rt1;
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier);
    QCoreApplication::sendEvent(target, &release);
}

void FrmReport::Check2_Click(bool ticked)
{
    Rt1->setReadOnly(!ticked);
    if (ticked)
        Frame1->selectPageOption(1);
    else
        Rt1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void FrmReport::Check3_Click(bool ticked)
{
    if (!ticked) {
        LoadReport(m_doc.fileName());
        return;
    }
    // The whole file as it is, control codes visible, in any look; this
    // can take a while.
    SheetPane->hide();
    Rt1->show();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QString error;
    bool cancelled = false;
    QTextDocument *document = continuousDocument(&error, &cancelled);
    if (document) {
        // The text goes into a document of its own, handed to the view
        // with the caret at its start: putting it into the view's document
        // would move the caret from the end of the text, and the view would
        // lay out the whole file at once to find where that was. Handed
        // over, the view lays out what it shows, and the rest as it goes.
        showDocument(document);
        m_doc.setContinuous(true);
    }
    QGuiApplication::restoreOverrideCursor();
    if (document)
        return;
    Check3->setChecked(false); // read in vain or given up: the page stays
    if (!cancelled) {
        MessageBox::critical(this,
            tr("The print file \"%1\" cannot be read.\n%2").arg(QDir::toNativeSeparators(m_doc.fileName()), error),
            tr("Report View"));
    }
}

QTextDocument *FrmReport::continuousDocument(QString *error, bool *cancelled)
{
    // Read and put together a piece at a time, so that the window keeps
    // answering and a long file shows how far it is and can be given up. A
    // piece ends after a line end where it can, never between CR and LF.
    constexpr qint64 Piece = 1 << 19;
    QFile file(m_doc.fileName());
    if (!FileChecks::isRegularFile(m_doc.fileName())) { // a FIFO would block the read
        *error = tr("It is not a regular file.");
        return nullptr;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return nullptr;
    }
    QTextDocument *document = newDocument(QString());
    QTextCursor end(document);
    QProgressDialog progress(tr("Reading %1 ...").arg(QFileInfo(m_doc.fileName()).fileName()), tr("Cancel"), 0,
        int(file.size() / Piece) + 1, this);
    progress.setObjectName(QStringLiteral("ContinuousProgress"));
    progress.setWindowModality(Qt::WindowModal);
    // Once it is up (at once for a file of more than a few pieces), the
    // dialog lets the events in between two pieces.
    progress.setMinimumDuration(file.size() > 2 * Piece ? 0 : 500);
    QByteArray piece;
    for (bool last = false; !last;) {
        piece += file.read(Piece);
        if (file.error() != QFileDevice::NoError) {
            *error = file.errorString();
            delete document;
            return nullptr;
        }
        last = file.atEnd();
        qsizetype stop = piece.size();
        if (!last && piece.lastIndexOf('\n') >= 0)
            stop = piece.lastIndexOf('\n') + 1;
        else if (!last && piece.endsWith('\r'))
            --stop;
        end.insertText(CodePage::decode(codePage(), piece.left(stop)));
        piece.remove(0, stop);
        progress.setValue(int(file.pos() / Piece));
        if (progress.wasCanceled()) {
            *cancelled = true;
            delete document;
            return nullptr;
        }
    }
    return document;
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
            Rt1->viewport()->setCursor(magnifier);
        }
    } else if (event->type() == QEvent::KeyRelease && m_magnifier) {
        m_magnifier = false;
        Rt1->viewport()->setCursor(Rt1->isReadOnly() ? Qt::ArrowCursor : Qt::IBeamCursor);
    }
    return false;
}
