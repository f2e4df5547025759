#pragma once

#include "escp/PrintedPage.h"
#include "render/PrintedRenderer.h"

#include <QScrollArea>

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

private:
    class Canvas;
    void resizeCanvas();

    Canvas *m_canvas = nullptr;
    Printed::Sheet m_sheet;
    double m_pixelsPerInch = 96;
};
