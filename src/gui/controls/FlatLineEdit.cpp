#include "gui/controls/FlatLineEdit.h"

#include <QPainter>

FlatLineEdit::FlatLineEdit(QWidget *parent)
    : QLineEdit(parent)
{ }

void FlatLineEdit::setFlatLine(const QColor &line)
{
    if (line == m_line)
        return;
    m_line = line;
    setFrame(!isFlat());
    // The text keeps clear of the line, as it would of a one-pixel border.
    const int inset = isFlat() ? 1 : 0;
    setTextMargins(inset, inset, inset, inset);
    update();
}

void FlatLineEdit::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    if (!isFlat())
        return;
    QPainter painter(this);
    painter.setPen(m_line);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
