#include "gui/sticker/StickerPreview.h"

#include <QHBoxLayout>
#include <QPageSize>
#include <QPainter>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

#include <QtMath>

namespace {

constexpr double Step = 1.25;
constexpr double ActualSize = 96.0 / 1440.0; // pixels per twip at 96 dots an inch

QSizeF a4Twips()
{
    return QPageSize(QPageSize::A4).size(QPageSize::Inch) * 1440.0;
}

} // namespace

StickerPreview::StickerPreview(QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_paper(a4Twips())
{
    setObjectName(QStringLiteral("Pic"));
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Dark);

    // The zoom buttons, in a strip under the paper.
    m_bar = new QWidget(this);
    auto *row = new QHBoxLayout(m_bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addStretch();
    const auto button = [this, row](const char *name, const QString &caption, const QString &tip,
                            void (StickerPreview::*act)()) {
        auto *b = new QToolButton(m_bar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setToolTip(tip);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, act);
        row->addWidget(b);
    };
    button("CmdZoomOut", QStringLiteral("-"), tr("Zoom out (Ctrl+wheel)"), &StickerPreview::zoomOut);
    button("CmdZoomIn", QStringLiteral("+"), tr("Zoom in (Ctrl+wheel)"), &StickerPreview::zoomIn);
    button("CmdFit", tr("Fit"), tr("Fit to window"), &StickerPreview::fitToWindow);
    setViewportMargins(0, 0, 0, m_bar->sizeHint().height());
}

void StickerPreview::Cls()
{
    StickerSurface::Cls();
    m_items.clear();
    viewport()->update();
}

void StickerPreview::setPaperSizeTwips(const QSizeF &paper)
{
    m_paper = paper;
    updateScrollBars();
    viewport()->update();
}

bool StickerPreview::setOrientation(int orientation)
{
    if (!StickerSurface::setOrientation(orientation))
        return false;
    const QSizeF a4 = a4Twips();
    setPaperSizeTwips(orientation == 2 ? a4.transposed() : a4);
    return true;
}

double StickerPreview::fittedScale() const
{
    if (m_paper.isEmpty())
        return 0;
    const QSize view = viewport()->size();
    return qMin(view.width() / m_paper.width(), view.height() / m_paper.height());
}

double StickerPreview::scale() const
{
    return m_fitted ? fittedScale() : m_scale;
}

QRectF StickerPreview::paperRect() const
{
    // Centred while it is smaller than the view, else scrolled.
    const QSizeF shown = m_paper * scale();
    const QSize view = viewport()->size();
    const double left = shown.width() <= view.width() ? (view.width() - shown.width()) / 2
                                                      : -horizontalScrollBar()->value();
    const double top = shown.height() <= view.height() ? (view.height() - shown.height()) / 2
                                                       : -verticalScrollBar()->value();
    return QRectF(QPointF(left, top), shown);
}

void StickerPreview::zoomTo(double scale)
{
    const double fit = fittedScale();
    scale = qBound(fit / 5, scale, 8 * ActualSize);
    // The point at the middle of the view stays there.
    const QRectF before = paperRect();
    const QPointF middle(viewport()->width() / 2.0, viewport()->height() / 2.0);
    const QPointF at = before.isEmpty() ? QPointF()
                                        : QPointF((middle.x() - before.left()) / before.width(),
                                            (middle.y() - before.top()) / before.height());
    m_fitted = false;
    m_scale = scale;
    updateScrollBars();
    const QSizeF shown = m_paper * scale;
    horizontalScrollBar()->setValue(qRound(at.x() * shown.width() - middle.x()));
    verticalScrollBar()->setValue(qRound(at.y() * shown.height() - middle.y()));
    viewport()->update();
}

void StickerPreview::zoomIn()
{
    zoomTo(scale() * Step);
}

void StickerPreview::zoomOut()
{
    zoomTo(scale() / Step);
}

void StickerPreview::fitToWindow()
{
    m_fitted = true;
    updateScrollBars();
    viewport()->update();
}

void StickerPreview::updateScrollBars()
{
    const QSizeF shown = m_paper * scale();
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, qMax(0, qCeil(shown.width()) - view.width()));
    verticalScrollBar()->setRange(0, qMax(0, qCeil(shown.height()) - view.height()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
}

QSize StickerPreview::sizeHint() const
{
    // A quarter of the paper at 96 dots an inch.
    return (m_paper * ActualSize / 4.0).toSize();
}

bool StickerPreview::drawText(const StickerText &item)
{
    m_items.append(item);
    viewport()->update();
    return true;
}

void StickerPreview::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QRectF paper = paperRect();
    painter.fillRect(paper, Qt::white);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setClipRect(paper);
    painter.translate(paper.topLeft());
    const double s = scale();
    paintStickerTexts(painter, m_items, s, s);
}

void StickerPreview::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const QRect view = viewport()->geometry();
    m_bar->setGeometry(view.left(), view.bottom() + 1, view.width(), m_bar->sizeHint().height());
    updateScrollBars();
}

void StickerPreview::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y();
    if (steps > 0)
        zoomIn();
    else if (steps < 0)
        zoomOut();
    event->accept();
}

void StickerPreview::scrollContentsBy(int, int)
{
    viewport()->update();
}
