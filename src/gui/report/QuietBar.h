#pragma once

#include <QFrame>

class QHBoxLayout;
class QLabel;

// A quiet bar along the page (the file changed, a code page or the printed
// look offered, the pages being read): the desktop's own quiet colours, dark
// or light, a line of text that takes the room, then the bar's own controls,
// which each bar adds to row().
class QuietBar : public QFrame
{
    Q_OBJECT

public:
    // `name` is the bar's object name; its text is `name` + "Text".
    QuietBar(const QString &name, QWidget *parent);

protected:
    QHBoxLayout *row() const { return m_row; }

    QLabel *m_text;

private:
    QHBoxLayout *m_row;
};
