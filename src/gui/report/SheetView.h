#pragma once

#include "escp/PrintedSheet.h"
#include "render/PrintedRenderer.h"

#include <QRectF>
#include <QScrollArea>
#include <QVector>

// The report view's printed look: one sheet as it comes off the printer,
// drawn by the printed renderer at a zoom (pixels per inch), in a scroll
// area. It only shows; the window decides which sheet and how large.
class SheetView : public QScrollArea
{
    Q_OBJECT

public:
    explicit SheetView(QWidget *parent = nullptr);

    void setSheet(const Printed::Sheet &sheet);
    const Printed::Sheet &sheet() const { return m_sheet; }
    // Screen pixels per inch of paper.
    void setPixelsPerInch(double pixels);
    double pixelsPerInch() const { return m_pixelsPerInch; }
    // The forms the sheets lie on.
    void setForms(const SheetForms &forms);

    // Search matches on the sheet (printer units), the current one drawn
    // stronger and scrolled to; none: -1.
    void setMarks(const QVector<QRectF> &areas, const QColor &colour, int current = -1);
    const QVector<QRectF> &marks() const { return m_marks; }
    // The text a mouse drag selected, or none.
    QString selectedText() const;
    // Ctrl+C: the selection, or the whole sheet's text when nothing is selected.
    void copy() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    class Canvas;
    void resizeCanvas();
    // Printer units of the sheet under a point of the canvas.
    QPointF unitsAt(const QPoint &canvasPoint) const;
    QRectF onCanvas(const QRectF &units) const;

    Canvas *m_canvas = nullptr;
    Printed::Sheet m_sheet;
    double m_pixelsPerInch = 96;
    QVector<QRectF> m_marks;
    QColor m_markColour;
    int m_currentMark = -1;
    QPointF m_dragFrom; // in printer units
    QRectF m_selection; // in printer units; empty: none
};
