#include "gui/sticker/StickerPreview.h"

#include <QPageSize>
#include <QPainter>

namespace {

QSizeF a4Twips()
{
    return QPageSize(QPageSize::A4).size(QPageSize::Inch) * 1440.0;
}

} // namespace

StickerPreview::StickerPreview(QWidget *parent)
    : QWidget(parent)
    , m_paper(a4Twips())
{
    setObjectName(QStringLiteral("Pic"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Dark);
}

void StickerPreview::Cls()
{
    StickerSurface::Cls();
    m_items.clear();
    update();
}

void StickerPreview::setPaperSizeTwips(const QSizeF &paper)
{
    m_paper = paper;
    update();
}

bool StickerPreview::setOrientation(int orientation)
{
    if (!StickerSurface::setOrientation(orientation))
        return false;
    const QSizeF a4 = a4Twips();
    setPaperSizeTwips(orientation == 2 ? a4.transposed() : a4);
    return true;
}

double StickerPreview::scale() const
{
    if (m_paper.isEmpty())
        return 0;
    return qMin(width() / m_paper.width(), height() / m_paper.height());
}

QRectF StickerPreview::paperRect() const
{
    const QSizeF shown = m_paper * scale();
    return QRectF(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

QSize StickerPreview::sizeHint() const
{
    // A quarter of the paper at 96 dots an inch.
    return (m_paper * 96.0 / 1440.0 / 4.0).toSize();
}

bool StickerPreview::drawText(const StickerText &item)
{
    m_items.append(item);
    update();
    return true;
}

void StickerPreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF paper = paperRect();
    painter.fillRect(paper, Qt::white);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setClipRect(paper);
    painter.translate(paper.topLeft());
    const double s = scale();
    paintStickerTexts(painter, m_items, s, s);
}
