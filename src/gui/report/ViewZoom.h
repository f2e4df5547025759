#pragma once

#include <QObject>
#include <QVector>

class PageView;
class SheetView;

// The zoom of a report view beyond its Zoom button: steps in and out
// (Ctrl+plus and minus, Ctrl with the wheel), fit width and fit page, for the
// page view and the printed look's sheet alike. A scale of 1 is the size
// the page is drawn in by the Zoom button's state; the place on the page,
// its marks and its selection stay as they are.
class ViewZoom : public QObject
{
    Q_OBJECT

public:
    ViewZoom(PageView *page, SheetView *sheet, QObject *parent = nullptr);

    // The scales offered, smallest first.
    static const QVector<double> &steps();
    // The next step above (direction 1) or below (-1) a scale, the ends kept.
    static double stepFrom(double scale, int direction);
    // The scale at which content of a width and height fits an area; height
    // 0 fits the width alone. Kept within the steps' range.
    static double fitting(double contentWidth, double contentHeight, double areaWidth, double areaHeight);

    double scale() const { return m_scale; }
    void setScale(double scale);
    void step(int direction);
    void fitWidth() { fit(false); }
    void fitPage() { fit(true); }

signals:
    void scaleChanged(double scale);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fit(bool wholePage);

    PageView *m_page;
    SheetView *m_sheet;
    double m_scale = 1;
};
