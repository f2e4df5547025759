#pragma once

#include "sticker/StickerSurface.h"

#include <QAbstractScrollArea>
#include <QSizeF>

class QToolButton;

// The on-screen sticker view "Pic": a sheet of paper on which the texts are
// drawn at their twip positions, so that what is seen stands where it
// prints. It starts fitted to the window; zoom in and out (the buttons
// under the paper, or Ctrl with the wheel) shows it larger, scrolled, and
// "Fit" fits it again. Drawing adds to what is there; only Cls clears it.
class StickerPreview : public QAbstractScrollArea, public StickerSurface
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
    // Pixels per twip as shown now.
    double scale() const;
    // Where the paper stands in the view (its viewport), in pixels.
    QRectF paperRect() const;

    // Zoom: each step a quarter larger or smaller, from a fifth of the fitted
    // size up to eight times the paper's own size at 96 dots an inch.
    void zoomIn();
    void zoomOut();
    void fitToWindow();
    bool fitted() const { return m_fitted; }

    QSize sizeHint() const override;

protected:
    bool drawText(const StickerText &item) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    double fittedScale() const;
    void zoomTo(double scale);
    void updateScrollBars();

    QList<StickerText> m_items;
    QSizeF m_paper;
    bool m_fitted = true;
    double m_scale = 0; // when not fitted
    QWidget *m_bar = nullptr;
};
