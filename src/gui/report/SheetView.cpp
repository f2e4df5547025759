#include "gui/report/SheetView.h"

#include <QPaintEvent>
#include <QPainter>

namespace {

constexpr int Border = 12; // grey around the sheet

} // namespace

class SheetView::Canvas : public QWidget
{
public:
    explicit Canvas(SheetView *view)
        : QWidget(view)
        , m_view(view)
    {
        setObjectName(QStringLiteral("SheetCanvas"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), QColor(0x80, 0x80, 0x80));
        const Printed::Sheet &sheet = m_view->m_sheet;
        const double scale = m_view->m_pixelsPerInch / Printed::UnitsPerInch;
        const QRectF paper(Border, Border, sheet.width * scale, sheet.height * scale);
        painter.fillRect(paper, Qt::white);
        painter.setClipRect(paper);
        m_renderer.draw(painter, sheet, paper.topLeft(), scale, event->rect());
    }

public:
    PrintedRenderer m_renderer;

private:
    SheetView *m_view;
};

SheetView::SheetView(QWidget *parent)
    : QScrollArea(parent)
    , m_canvas(new Canvas(this))
{
    setObjectName(QStringLiteral("SheetView"));
    setBackgroundRole(QPalette::Dark);
    setWidget(m_canvas);
    setWidgetResizable(false);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    resizeCanvas();
}

void SheetView::setSheet(const Printed::Sheet &sheet)
{
    m_sheet = sheet;
    resizeCanvas();
    m_canvas->update();
}

void SheetView::setForms(const SheetForms &forms)
{
    m_canvas->m_renderer.setForms(forms);
    m_canvas->update();
}

void SheetView::setPixelsPerInch(double pixels)
{
    m_pixelsPerInch = qBound(10.0, pixels, 1200.0);
    resizeCanvas();
    m_canvas->update();
}

void SheetView::resizeCanvas()
{
    const double scale = m_pixelsPerInch / Printed::UnitsPerInch;
    m_canvas->resize(int(m_sheet.width * scale) + 2 * Border, int(m_sheet.height * scale) + 2 * Border);
}
