#include "gui/report/SheetView.h"

#include "render/SheetText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
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
        if (sheet.overBudget) {
            // Outputs refuse such a sheet; the window says why it lacks pictures or text.
            const QString text = sheet.textOverBudget
                ? tr("Some text is not shown: this sheet holds more than the %1 runs of text a sheet may take.")
                      .arg(Printed::MostRuns)
                : tr("Some pictures are not shown: this sheet holds more than the %1 MB of "
                     "pictures a sheet may take.")
                      .arg(Printed::SheetBudget >> 20);
            const QRectF band(paper.left(), paper.top(), paper.width(), painter.fontMetrics().height() * 1.5);
            painter.fillRect(band, QColor(0xFF, 0xE0, 0xE0));
            painter.setPen(Qt::darkRed);
            painter.drawText(band, Qt::AlignCenter, text);
        }
        // Search matches and the selection over the print.
        for (int i = 0; i < m_view->m_marks.size(); ++i) {
            QColor colour = m_view->m_markColour;
            colour.setAlpha(i == m_view->m_currentMark ? 150 : 70);
            painter.fillRect(m_view->onCanvas(m_view->m_marks.at(i)), colour);
        }
        if (!m_view->m_selection.isEmpty()) {
            QColor selection = palette().color(QPalette::Highlight);
            selection.setAlpha(90);
            painter.fillRect(m_view->onCanvas(m_view->m_selection), selection);
        }
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
    setFocusPolicy(Qt::StrongFocus);
    m_canvas->setCursor(Qt::IBeamCursor);
    m_canvas->installEventFilter(this);
    resizeCanvas();
}

void SheetView::setSheet(const Printed::Sheet &sheet)
{
    m_sheet = sheet;
    m_marks.clear();
    m_currentMark = -1;
    m_selection = QRectF();
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

QPointF SheetView::unitsAt(const QPoint &canvasPoint) const
{
    const double scale = m_pixelsPerInch / Printed::UnitsPerInch;
    return QPointF((canvasPoint.x() - Border) / scale, (canvasPoint.y() - Border) / scale);
}

QRectF SheetView::onCanvas(const QRectF &units) const
{
    const double scale = m_pixelsPerInch / Printed::UnitsPerInch;
    return QRectF(Border + units.x() * scale, Border + units.y() * scale, units.width() * scale,
        units.height() * scale);
}

void SheetView::setMarks(const QVector<QRectF> &areas, const QColor &colour, int current)
{
    m_marks = areas;
    m_markColour = colour;
    m_currentMark = current;
    if (current >= 0 && current < areas.size()) {
        const QRectF shown = onCanvas(areas.at(current));
        ensureVisible(int(shown.center().x()), int(shown.center().y()), int(shown.width() / 2) + 40,
            int(shown.height() / 2) + 40);
    }
    m_canvas->update();
}

QString SheetView::selectedText() const
{
    return m_selection.isEmpty() ? QString() : SheetText::textIn(m_sheet, m_selection);
}

void SheetView::copy() const
{
    const QString selected = selectedText();
    QGuiApplication::clipboard()->setText(selected.isEmpty() ? SheetText::text(m_sheet) : selected);
}

void SheetView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        m_selection = QRectF(0, 0, m_sheet.width, m_sheet.height);
        m_canvas->update();
        return;
    }
    QScrollArea::keyPressEvent(event);
}

bool SheetView::eventFilter(QObject *watched, QEvent *event)
{
    // A drag over the sheet selects the characters it covers; the selection
    // is also the desktop's primary selection (middle-click paste).
    const QEvent::Type type = event->type();
    if (watched == m_canvas
        && (type == QEvent::MouseButtonPress || type == QEvent::MouseMove || type == QEvent::MouseButtonRelease)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        switch (type) {
        case QEvent::MouseButtonPress:
            if (mouse->button() == Qt::LeftButton && !(mouse->modifiers() & Qt::ControlModifier)) {
                setFocus(Qt::MouseFocusReason);
                m_dragFrom = unitsAt(mouse->position().toPoint());
                m_selection = QRectF();
                m_canvas->update();
            }
            break;
        case QEvent::MouseMove:
            if (mouse->buttons() & Qt::LeftButton) {
                m_selection = QRectF(m_dragFrom, unitsAt(mouse->position().toPoint())).normalized();
                m_canvas->update();
            }
            break;
        case QEvent::MouseButtonRelease: {
            const QString selected = selectedText();
            QClipboard *clipboard = QGuiApplication::clipboard();
            if (!selected.isEmpty() && clipboard->supportsSelection())
                clipboard->setText(selected, QClipboard::Selection);
            break;
        }
        default:
            break;
        }
    }
    return QScrollArea::eventFilter(watched, event);
}
