#pragma once

#include "sticker/StickerSurface.h"

#include <QSizeF>
#include <QWidget>

// The on-screen sticker view "Pic": a sheet of paper on which the texts are
// drawn at their twip positions, scaled to fit the widget, so that what is
// seen stands where it prints. Drawing adds to what is there; only Cls
// clears it.
class StickerPreview : public QWidget, public StickerSurface
{
    Q_OBJECT

public:
    explicit StickerPreview(QWidget *parent = nullptr);

    void Cls() override;
    const QList<StickerText> &items() const { return m_items; }

    // The paper shown, in twips (A4 portrait at first).
    QSizeF paperSize() const { return m_paper; }
    void setPaperSizeTwips(const QSizeF &paper);
    bool setOrientation(int orientation) override;
    // Pixels per twip at the widget's present size.
    double scale() const;
    // Where the paper stands in the widget, in pixels.
    QRectF paperRect() const;

    QSize sizeHint() const override;

protected:
    bool drawText(const StickerText &item) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QList<StickerText> m_items;
    QSizeF m_paper;
};
