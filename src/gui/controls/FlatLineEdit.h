#pragma once

#include <QColor>
#include <QLineEdit>

// The edit box of an Atext: sunken (the style's frame) or flat, a plain
// one-pixel line drawn around the text. The flat look is drawn here rather
// than through a style sheet: a widget with a style sheet is polished by a
// style of its own, which cost the sticker form's dozen boxes about a
// millisecond and a half of its start.
class FlatLineEdit : public QLineEdit
{
public:
    explicit FlatLineEdit(QWidget *parent = nullptr);

    // Flat with a line of `line`'s colour, or (an invalid colour) sunken.
    void setFlatLine(const QColor &line);
    bool isFlat() const { return m_line.isValid(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_line;
};
