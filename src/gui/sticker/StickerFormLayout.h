#pragma once

// The sticker form's twip layout, shared by the files that build its
// controls: its sizes, and controls made and placed at twip positions.

#include "platform/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QString>

namespace StickerFormLayout {

// Sizes of the form in twips.
constexpr int Margin = 60;
constexpr int FormHeight = 5880;
constexpr int Frame4Width = 4785;
constexpr int Frame1Width = 7260;
constexpr int FieldHeight = 300;

inline void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(
        Twips::toPixels(left), Twips::toPixels(top), Twips::toPixels(width), Twips::toPixels(height));
}

inline QLabel *label(const QString &name, const QString &caption, QWidget *parent, int left, int top, int width,
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setAlignment(align);
    place(l, left, top, width, FieldHeight);
    return l;
}

inline QLineEdit *textBox(const QString &name, const QString &text, QWidget *parent, int left, int top, int width)
{
    auto *t = new QLineEdit(text, parent);
    t->setObjectName(name);
    place(t, left, top, width, FieldHeight);
    return t;
}

// The name of the form's label number i.
inline QString lbName(int i)
{
    return QStringLiteral("lb(%1)").arg(i);
}

} // namespace StickerFormLayout
