#pragma once

#include <QWidget>

// The main form: the sticker lines, the format slots and the print buttons.
class Frm0010Sticker : public QWidget
{
    Q_OBJECT

public:
    explicit Frm0010Sticker(QWidget *parent = nullptr);
};
