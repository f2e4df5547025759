#include "sticker/RecordingStickerSurface.h"

bool RecordingStickerSurface::EndDoc()
{
    m_calls.append(QStringLiteral("EndDoc"));
    if (m_open) {
        m_ended.append(m_inDocument);
        m_open = false;
        m_inDocument = 0;
    }
    return true;
}

void RecordingStickerSurface::AbandonDoc()
{
    m_calls.append(QStringLiteral("AbandonDoc"));
    m_open = false;
    m_inDocument = 0;
}

void RecordingStickerSurface::Cls()
{
    m_calls.append(QStringLiteral("Cls"));
    m_items.clear();
    StickerSurface::Cls();
}

bool RecordingStickerSurface::setOrientation(int orientation)
{
    m_calls.append(QStringLiteral("Orientation %1").arg(orientation));
    return StickerSurface::setOrientation(orientation);
}

bool RecordingStickerSurface::setPaperSize(int paperSize)
{
    m_calls.append(QStringLiteral("PaperSize %1").arg(paperSize));
    m_paperSize = paperSize;
    return true;
}

void RecordingStickerSurface::failAtPrint(int n, const QString &error)
{
    m_failAt = n;
    m_failError = error;
}

bool RecordingStickerSurface::drawText(const StickerText &item)
{
    m_calls.append(item.barcode == BarcodeKind::None ? QStringLiteral("Print") : QStringLiteral("Barcode"));
    if (++m_prints == m_failAt) {
        setErrorText(m_failError);
        return false;
    }
    if (!m_open) {
        m_open = true;
        ++m_documents;
    }
    ++m_inDocument;
    Item recorded;
    static_cast<StickerText &>(recorded) = item;
    recorded.document = m_documents;
    m_items.append(recorded);
    return true;
}
