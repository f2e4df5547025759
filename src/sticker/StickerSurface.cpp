#include "sticker/StickerSurface.h"

#include "sticker/Barcode.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

StickerSurface::~StickerSurface() = default;

bool StickerSurface::Print(const QString &text)
{
    const StickerText item{CurrentX, CurrentY, text, FontName, FontSize, FontBold};
    if (!drawText(item))
        return false;
    CurrentX = 0;
    CurrentY = item.y + lineHeight();
    return true;
}

bool StickerSurface::PrintBarcode(const QString &text, BarcodeKind kind, double width, double height)
{
    StickerText item {CurrentX, CurrentY, text, FontName, FontSize, FontBold};
    item.barcode = kind;
    item.width = width;
    item.height = height;
    if (!drawText(item))
        return false;
    CurrentX = 0;
    CurrentY = item.y + height;
    return true;
}

void StickerSurface::Cls()
{
    CurrentX = 0;
    CurrentY = 0;
}

bool StickerSurface::setOrientation(int orientation)
{
    if (orientation != 1 && orientation != 2)
        return false;
    m_orientation = orientation;
    return true;
}

bool StickerSurface::setPaperSize(int paperSize)
{
    return paperSize > 0;
}

bool StickerSurface::pageSizeOf(int paperSize, QPageSize::PageSizeId *id)
{
    switch (paperSize) {
    case 1:
        *id = QPageSize::Letter;
        return true;
    case 5:
        *id = QPageSize::Legal;
        return true;
    case 8:
        *id = QPageSize::A3;
        return true;
    case 9:
        *id = QPageSize::A4;
        return true;
    case 11:
        *id = QPageSize::A5;
        return true;
    default:
        return false;
    }
}

double StickerSurface::lineHeight() const
{
    return QFontMetricsF(twipFont(FontName, FontSize, FontBold)).height();
}

QFont twipFont(const QString &fontName, double fontSize, bool bold)
{
    QFont font;
    if (!fontName.trimmed().isEmpty())
        font.setFamily(fontName.trimmed());
    font.setPixelSize(qMax(1, int(std::lround(fontSize * 20.0))));
    font.setBold(bold);
    // Outlines scale exactly with the painter; hinting would not.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void paintStickerTexts(QPainter &painter, const QList<StickerText> &items, double pixelsPerTwipX,
                       double pixelsPerTwipY)
{
    painter.save();
    painter.scale(pixelsPerTwipX, pixelsPerTwipY);
    painter.setPen(Qt::black);
    QString lastName;
    double lastSize = -1;
    bool lastBold = false;
    double ascent = 0;
    for (const StickerText &item : items) {
        if (item.barcode != BarcodeKind::None) {
            Barcode(item.barcode, item.text)
                .draw(painter, QRectF(item.x, item.y, item.width, item.height),
                    twipFont(item.fontName, item.fontSize, false));
            continue;
        }
        if (item.fontName != lastName || item.fontSize != lastSize || item.bold != lastBold) {
            const QFont font = twipFont(item.fontName, item.fontSize, item.bold);
            painter.setFont(font);
            ascent = QFontMetricsF(font).ascent();
            lastName = item.fontName;
            lastSize = item.fontSize;
            lastBold = item.bold;
        }
        painter.drawText(QPointF(item.x, item.y + ascent), item.text);
    }
    painter.restore();
}
