#include "gui/controls/SpLebal.h"

#include "platform/OleColor.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {

constexpr int Margin = 8;
constexpr int StoredCaptionStyle = 2; // the style a stored control without the key gets

// DrawText flag values.
constexpr quint32 DtCenter = 0x1, DtRight = 0x2, DtVCenter = 0x4, DtBottom = 0x8, DtWordBreak = 0x10,
                  DtSingleLine = 0x20, DtNoPrefix = 0x800;

int himetricToPixels(int himetric)
{
    return int(std::lround(himetric * Twips::logicalDpi() / 2540.0));
}

int pixelsToHimetric(int pixels)
{
    return int(std::lround(pixels * 2540.0 / Twips::logicalDpi()));
}

} // namespace

SpLebal::SpLebal(const QString &objectName, QWidget *parent)
    : QWidget(parent)
    , m_caption(objectName)
    , m_backColor(OleColor::ButtonFace)
    , m_foreColor(OleColor::ButtonText)
    , m_lineTop(OleColor::Highlight3D)
    , m_lineLeft(OleColor::Highlight3D)
    , m_lineRight(OleColor::ButtonShadow)
    , m_lineBottom(OleColor::ButtonShadow)
{
    setObjectName(objectName);
    setFont(ambientFont());
    applyView3D();
}

QFont SpLebal::ambientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void SpLebal::setCaptionStyle(int style)
{
    m_captionStyle = style;
    emit PropertyChanged(QStringLiteral("CaptionStyle"));
    redraw();
}

void SpLebal::setCaption(const QString &caption)
{
    m_caption = caption;
    emit PropertyChanged(QStringLiteral("Caption"));
    redraw();
}

void SpLebal::setHotKeyCaption(const QString &caption)
{
    m_hotKeyCaption = caption;
    emit PropertyChanged(QStringLiteral("HotKeyCaption"));
    redraw();
}

void SpLebal::setDown3D(bool down)
{
    m_down3D = down;
    emit PropertyChanged(QStringLiteral("Down3D"));
}

void SpLebal::setBackColor(quint32 color)
{
    m_backColor = color;
    emit PropertyChanged(QStringLiteral("BackColor"));
    redraw();
}

void SpLebal::setForeColor(quint32 color)
{
    m_foreColor = color;
    emit PropertyChanged(QStringLiteral("ForeColor"));
    redraw();
}

void SpLebal::setView3D(int view)
{
    m_view3D = view;
    emit PropertyChanged(QStringLiteral("View3D"));
    redraw();
}

void SpLebal::readProperties(const PropertyBag &bag)
{
    m_loading = true;
    setCaption(bag.read(QStringLiteral("Caption"), objectName()).toString());
    setHotKeyCaption(bag.read(QStringLiteral("HotKeyCaption"), QString()).toString());
    setCaptionStyle(bag.read(QStringLiteral("CaptionStyle"), StoredCaptionStyle).toInt());
    m_down3D = bag.read(QStringLiteral("Down3D"), true).toBool();
    m_backColor = bag.read(QStringLiteral("BackColor"), OleColor::ButtonFace).toUInt();
    setFont(bag.read(QStringLiteral("Font"), ambientFont()).value<QFont>());
    m_foreColor = bag.read(QStringLiteral("ForeColor"), OleColor::ButtonText).toUInt();
    m_view3D = bag.read(QStringLiteral("View3D"), 0).toInt();
    const QVariant w = bag.read(QStringLiteral("_extentx"));
    const QVariant h = bag.read(QStringLiteral("_extenty"));
    if (w.isValid() && h.isValid())
        resize(himetricToPixels(w.toInt()), himetricToPixels(h.toInt()));
    m_loading = false;
    redraw();
}

void SpLebal::writeProperties(PropertyBag &bag) const
{
    bag.write(QStringLiteral("_extentx"), pixelsToHimetric(width()));
    bag.write(QStringLiteral("_extenty"), pixelsToHimetric(height()));
    bag.write(QStringLiteral("Caption"), m_caption, objectName());
    bag.write(QStringLiteral("HotKeyCaption"), m_hotKeyCaption, QString());
    bag.write(QStringLiteral("CaptionStyle"), m_captionStyle, StoredCaptionStyle);
    bag.write(QStringLiteral("Down3D"), m_down3D, true);
    bag.write(QStringLiteral("BackColor"), m_backColor, OleColor::ButtonFace);
    bag.write(QStringLiteral("Font"), font(), ambientFont());
    bag.write(QStringLiteral("ForeColor"), m_foreColor, OleColor::ButtonText);
    bag.write(QStringLiteral("View3D"), m_view3D, 0);
}

quint32 SpLebal::edgeColor(Edge edge) const
{
    switch (edge) {
    case Edge::Top:
        return m_lineTop;
    case Edge::Left:
        return m_lineLeft;
    case Edge::Right:
        return m_lineRight;
    case Edge::Bottom:
        break;
    }
    return m_lineBottom;
}

void SpLebal::applyView3D()
{
    switch (m_view3D) {
    case 1: // raised
        m_lineTop = m_lineLeft = OleColor::Highlight3D;
        m_lineRight = m_lineBottom = OleColor::ButtonShadow;
        break;
    case 0: // sunken
        m_lineTop = m_lineLeft = OleColor::ButtonShadow;
        m_lineRight = m_lineBottom = OleColor::Highlight3D;
        break;
    case 2: // flat
        m_lineTop = m_lineLeft = m_lineRight = m_lineBottom = OleColor::ButtonFace;
        break;
    default:
        break;
    }
}

int SpLebal::qtTextFlags(quint32 dt)
{
    int flags = (dt & DtRight) ? Qt::AlignRight : (dt & DtCenter) ? Qt::AlignHCenter : Qt::AlignLeft;
    if (dt & DtSingleLine) {
        flags |= Qt::TextSingleLine;
        flags |= (dt & DtBottom) ? Qt::AlignBottom : (dt & DtVCenter) ? Qt::AlignVCenter : Qt::AlignTop;
    } else {
        flags |= Qt::AlignTop;
        if (dt & DtWordBreak)
            flags |= Qt::TextWordWrap;
    }
    if (!(dt & DtNoPrefix))
        flags |= Qt::TextShowMnemonic;
    return flags;
}

QRect SpLebal::textRect() const
{
    const int w = width();
    const int h = height();
    const int left = Margin;
    const int right = w - Margin;
    int top = Margin;
    int bottom = h - Margin;
    if (m_captionStyle == 2) {
        const QRect measure(QPoint(left, 0), QPoint(right - 1, h - 1));
        const int blockHeight = fontMetrics().boundingRect(measure, qtTextFlags(0x11), m_caption).height();
        top = (h - blockHeight) / 2; // truncates toward zero, as the block centring always has
        bottom = h - top;
    }
    return QRect(left, top, right - left, bottom - top);
}

void SpLebal::redraw()
{
    if (m_loading)
        return;
    applyView3D();
    update();
}

void SpLebal::paintEvent(QPaintEvent *)
{
    applyView3D();
    QPainter painter(this);
    painter.fillRect(rect(), OleColor::toColor(m_backColor));

    quint32 captionFlags = 0;
    quint32 hotKeyFlags = 0;
    switch (m_captionStyle) {
    case 0:
        captionFlags = 0x24;
        hotKeyFlags = 0x26;
        break;
    case 1:
        captionFlags = 0x25;
        hotKeyFlags = 0x26;
        break;
    case 2:
        captionFlags = 0x11;
        hotKeyFlags = 0x2A;
        break;
    default:
        break;
    }
    const QRect box = textRect();
    if (captionFlags && box.width() > 0 && box.height() > 0) {
        painter.save();
        painter.setClipRect(box);
        painter.setFont(font());
        painter.setPen(OleColor::toColor(m_foreColor));
        painter.drawText(box, qtTextFlags(captionFlags), m_caption);
        painter.drawText(box, qtTextFlags(hotKeyFlags), m_hotKeyCaption);
        painter.restore();
    }

    // The four edge lines over the surface; each leaves out its last point.
    const int w = width();
    const int h = height();
    auto line = [&painter](quint32 color, QPoint from, QPoint to) {
        if (from == to)
            return;
        const QPoint step(
            (to.x() > from.x()) - (to.x() < from.x()), (to.y() > from.y()) - (to.y() < from.y()));
        painter.setPen(OleColor::toColor(color));
        painter.drawLine(from, to - step);
    };
    line(m_lineTop, {0, 0}, {w - 1, 0});
    line(m_lineLeft, {0, 0}, {0, h - 1});
    line(m_lineRight, {w - 1, 0}, {w - 1, h});
    line(m_lineBottom, {0, h - 1}, {w, h - 1});
}

void SpLebal::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    redraw();
}

void SpLebal::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()))
        emit Click();
}

void SpLebal::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && !m_loading) {
        emit PropertyChanged(QStringLiteral("Font"));
        redraw();
    }
}
