#pragma once

#include <QIcon>
#include <QString>

// How the desktop knows the program's windows: the desktop entry's name,
// which task bars group and label the windows by, and the window icon (the
// installed theme's icon of that name, or one drawn here: the drawn one
// until the first window is on screen, and where the program runs
// uninstalled).
namespace AppIdentity {

// The desktop entry's name without ".desktop", as the package installs it.
QString desktopFileName();
// The icon drawn here, at each size when it is first asked for (16 to 128
// pixels are offered).
QIcon drawnWindowIcon();
// The icon theme's icon of the desktop entry's name (null when the theme
// has none: the program is not installed).
QIcon themeWindowIcon();
// Gives both to the application: every window shows the icon. The drawn
// icon at once; the theme's, when there is one, in its place on the first
// turn of the event loop after the program's first window is drawn.
void apply();

} // namespace AppIdentity
