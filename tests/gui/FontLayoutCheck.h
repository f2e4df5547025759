#pragma once

// The layout check the translated window tests share: a window opened under
// the desktop's font at each size a user may set (before the window opens,
// or while it is open), and a group of controls checked in it.
#include "WindowSupport.h"

#include <QApplication>
#include <QFont>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace FontLayoutCheck {

// The rows of a layout test: "points" and "changedWhileOpen" (the desktop's
// font changes under the open window).
inline void addRows()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("changedWhileOpen");
    QTest::newRow("the form's font") << 8.25 << false;
    QTest::newRow("11 pt") << 11.0 << false;
    QTest::newRow("14 pt") << 14.0 << false;
    QTest::newRow("14 pt, set while open") << 14.0 << true;
}

// Opens the window (`open` returns it) under the row's font, `desktop` at
// the row's size, set before or after it opens. The test's cleanup sets
// the desktop's font back.
template<typename Open>
auto openInRowFont(const QFont &desktop, Open open)
{
    QFETCH(double, points);
    QFETCH(bool, changedWhileOpen);
    QFont font = desktop;
    font.setPointSizeF(points);
    if (!changedWhileOpen)
        QApplication::setFont(font);
    auto window = open();
    if (changedWhileOpen)
        QApplication::setFont(font);
    return window;
}

// The faults of a group of controls in `window` (children named `names`):
// one out of the window, smaller than it needs, with its caption cut, or
// over another of the group or `others`.
inline QStringList groupFaults(QWidget *window, const QStringList &names, const QList<QWidget *> &others = {})
{
    QStringList faults;
    const QStringList clipped = TestSupport::clippedCaptions(window);
    for (int i = 0; i < names.size(); ++i) {
        QWidget *a = TestSupport::control(window, names[i]);
        if (!window->rect().contains(a->geometry()))
            faults << names[i] + " out of the window";
        if (a->width() < a->minimumSizeHint().width() || a->height() < a->minimumSizeHint().height())
            faults << names[i] + " cut";
        for (int j = i + 1; j < names.size(); ++j)
            if (a->geometry().intersects(TestSupport::control(window, names[j])->geometry()))
                faults << names[i] + "/" + names[j];
        for (QWidget *other : others)
            if (a->geometry().intersects(other->geometry()))
                faults << names[i] + "/" + other->objectName();
        for (const QString &c : clipped)
            if (c.startsWith(names[i] + ':'))
                faults << names[i] + " caption cut (" + c + ")";
    }
    return faults;
}

} // namespace FontLayoutCheck
