#include "gui/report/ViewZoom.h"

#include "gui/report/PageView.h"
#include "gui/report/SheetView.h"

#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr int SheetBorder = 12; // the grey the sheet view leaves around the paper

} // namespace

ViewZoom::ViewZoom(PageView *page, SheetView *sheet, QObject *parent)
    : QObject(parent)
    , m_page(page)
    , m_sheet(sheet)
{
    setObjectName(QStringLiteral("ViewZoom"));
    m_page->viewport()->installEventFilter(this);
    m_sheet->viewport()->installEventFilter(this);
}

const QVector<double> &ViewZoom::steps()
{
    static const QVector<double> all {0.25, 0.33, 0.5, 0.67, 0.8, 0.9, 1.0, 1.1, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0, 4.0};
    return all;
}

double ViewZoom::stepFrom(double scale, int direction)
{
    const QVector<double> &all = steps();
    // A scale between steps (a fit) goes to the nearest step that way.
    constexpr double Near = 0.005;
    if (direction > 0) {
        const auto next = std::find_if(all.cbegin(), all.cend(), [&](double s) { return s > scale + Near; });
        return next == all.cend() ? all.last() : *next;
    }
    const auto next = std::find_if(all.crbegin(), all.crend(), [&](double s) { return s < scale - Near; });
    return next == all.crend() ? all.first() : *next;
}

double ViewZoom::fitting(double contentWidth, double contentHeight, double areaWidth, double areaHeight)
{
    if (contentWidth <= 0 || areaWidth <= 0)
        return 1;
    double scale = areaWidth / contentWidth;
    if (contentHeight > 0 && areaHeight > 0)
        scale = std::min(scale, areaHeight / contentHeight);
    return std::clamp(scale, steps().first(), steps().last());
}

void ViewZoom::setScale(double scale)
{
    scale = std::clamp(scale, steps().first(), steps().last());
    if (scale == m_scale)
        return;
    const double ratio = scale / m_scale;
    m_scale = scale;
    m_page->setScale(scale);
    if (!m_sheet->isHidden()) {
        // The same point of the sheet stays at the top left.
        QScrollBar *down = m_sheet->verticalScrollBar();
        QScrollBar *across = m_sheet->horizontalScrollBar();
        const int downAt = int(down->value() * ratio);
        const int acrossAt = int(across->value() * ratio);
        m_sheet->setPixelsPerInch(m_sheet->pixelsPerInch() * ratio);
        down->setValue(downAt);
        across->setValue(acrossAt);
    }
    emit scaleChanged(scale);
}

void ViewZoom::step(int direction)
{
    setScale(stepFrom(m_scale, direction));
}

void ViewZoom::fit(bool wholePage)
{
    if (!m_sheet->isHidden()) {
        const Printed::Sheet &sheet = m_sheet->sheet();
        const double perInch = m_sheet->pixelsPerInch() / m_scale; // at scale 1
        const double inchWidth = double(sheet.width) / Printed::UnitsPerInch;
        const double inchHeight = double(sheet.height) / Printed::UnitsPerInch;
        const QSize area = m_sheet->maximumViewportSize() - QSize(2 * SheetBorder, 2 * SheetBorder)
            - QSize(wholePage ? 0 : m_sheet->verticalScrollBar()->sizeHint().width(), 0);
        setScale(fitting(inchWidth * perInch, wholePage ? inchHeight * perInch : 0, area.width(), area.height()));
        return;
    }
    // The margins keep their size at every scale.
    const double margins = 2 * PageView::margin();
    const double width = (m_page->contentWidth() - margins) / m_scale;
    const ViewLines *lines = m_page->lines();
    const double height = wholePage && lines ? lines->lineCount() * m_page->plainLineHeight() / m_scale : 0;
    const QSize area = m_page->viewport()->size() - QSize(int(margins) + 1, int(margins) + 1);
    setScale(fitting(width, height, area.width(), area.height()));
    // The characters' widths round differently at another size: a little
    // smaller until the widest line fits.
    for (int tries = 0; tries < 10 && m_page->contentWidth() > m_page->viewport()->width() && m_scale > steps().first();
         ++tries)
        setScale(m_scale * 0.98);
}

bool ViewZoom::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl with the wheel zooms, a step a notch, rather than scrolls.
    if (event->type() == QEvent::Wheel) {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int delta = wheel->angleDelta().y();
            if (delta != 0)
                step(delta > 0 ? 1 : -1);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
