#pragma once

#include <QIcon>
#include <QString>

// How the desktop knows the program's windows: the desktop entry's name,
// which task bars group and label the windows by, and the window icon (the
// installed theme's icon of that name, or one drawn here when the program
// runs uninstalled).
namespace AppIdentity {

// The desktop entry's name without ".desktop", as the package installs it.
QString desktopFileName();
QIcon windowIcon();
// Gives both to the application: every window shows the icon.
void apply();

} // namespace AppIdentity
