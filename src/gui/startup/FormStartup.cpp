#include "gui/startup/FormStartup.h"

#include "gui/controls/JeweledButton.h"
#include "gui/sticker/Frm0010Sticker.h"
#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void Main()
{
    auto *form = new Frm0010Sticker;
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
}

void CenterForm(QWidget *object)
{
    if (!object)
        return;
    const QScreen *screen = object->screen() ? object->screen() : QGuiApplication::primaryScreen();
    const QSize s = screen ? screen->size() : QSize(1024, 768);
    const QSize size = object->isWindow() ? object->frameSize() : object->size();
    // Work in twips so the fractions stay exact before the one rounding.
    const double left = (Twips::fromPixels(s.width()) - Twips::fromPixels(size.width())) / 2.0;
    const double top = (Twips::fromPixels(s.height()) - 800.0 - Twips::fromPixels(size.height())) / 2.0;
    object->move(Twips::toPixels(left), Twips::toPixels(top));
}

void RefreshButtons(QWidget *form)
{
    if (!form)
        return;
    const int nudge = Twips::toPixels(15);
    const auto buttons = form->findChildren<JeweledButton *>();
    for (JeweledButton *b : buttons) {
        b->resize(b->width(), b->height() + nudge);
        b->resize(b->width(), b->height() - nudge);
    }
}

