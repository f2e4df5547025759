#pragma once

#include <QFont>
#include <QList>
#include <QPair>
#include <QVariant>
#include <QWidget>

#include "gui/controls/PropertyBag.h"

// The caption label: a caption, and a second (hot-key) caption at the right,
// inside a one-pixel frame whose four edges look sunken, raised or flat.
// Colours are 0x00BBGGRR values or 0x80000000 plus a system-colour index.
class SpLebal : public QWidget
{
    Q_OBJECT

public:
    enum class Edge { Top, Left, Right, Bottom };

    // A control newly placed on a form: caption = its name, one centred line
    // (style 1), sunken edge, Down3D set, the host's font.
    explicit SpLebal(const QString &objectName, QWidget *parent = nullptr);

    // 0 one line left, 1 one line centred, 2 word-wrapped block centred
    // both ways; any other value draws no caption.
    int CaptionStyle() const { return m_captionStyle; }
    void setCaptionStyle(int style);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    QString HotKeyCaption() const { return m_hotKeyCaption; }
    void setHotKeyCaption(const QString &caption);
    // Kept and stored only; drawing does not use it.
    bool Down3D() const { return m_down3D; }
    void setDown3D(bool down);
    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 color);
    quint32 ForeColor() const { return m_foreColor; }
    void setForeColor(quint32 color);
    // The font is the widget's own: font() / setFont().
    QFont Font() const { return font(); }
    // Edge look: 0 sunken, 1 raised, 2 flat; any other value leaves the edge
    // colours as they are.
    int View3D() const { return m_view3D; }
    void setView3D(int view);

    // Loading and saving the stored properties (and the extent, in HIMETRIC).
    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

    // What the next paint draws.
    quint32 edgeColor(Edge edge) const;
    QRect textRect() const;
    // Qt text flags for the flag values of the classic text-drawing call
    // (0x1 centre, 0x2 right, 0x4 vertical centre, 0x8 bottom, 0x10 word
    // break, 0x20 single line, 0x800 no prefix).
    static int qtTextFlags(quint32 drawTextFlags);

signals:
    void Click();
    // A stored property changed (its name as stored).
    void PropertyChanged(const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void redraw();
    void applyView3D();
    QFont ambientFont() const;

    QString m_caption;
    QString m_hotKeyCaption;
    int m_captionStyle = 1;
    int m_view3D = 0;
    bool m_down3D = true;
    quint32 m_backColor;
    quint32 m_foreColor;
    quint32 m_lineTop;
    quint32 m_lineLeft;
    quint32 m_lineRight;
    quint32 m_lineBottom;
    bool m_loading = false;
};
