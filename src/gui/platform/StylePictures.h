#pragma once

#include <QIcon>
#include <QStyle>

class QWidget;

// The style's pictures for the first window, read without Qt's image-format
// plugins. Qt reads a picture of its own resources with the format guessed
// from the bytes, and guessing loads every image-format plugin (gif, ico,
// jpeg with the JPEG library) while the first window is made and drawn. The
// pictures here are the same files read as the PNGs they are, so nothing
// the user sees changes.
namespace StylePictures {

// The style's standard icon `which`: the common style's own pictures for
// the icons the forms use, else (an icon theme that has the icon, another
// icon) the style's icon as it is.
QIcon standard(QStyle::StandardPixmap which, const QWidget *widget);

// The same icon without asking the icon theme (with the Fusion style, the
// common style's own pictures; another style's icon as it is), for a
// window's first picture: the first question to an icon theme reads it
// whole, some milliseconds, and a theme without the icon costs as much. The
// window puts standard() in its place once it is on screen (the same icon
// where the theme has none).
QIcon builtIn(QStyle::StandardPixmap which, const QWidget *widget);

// With the Fusion style (the program's own on a desktop without one), reads
// its group-box frame into Qt's pixmap cache under the key Qt looks it up
// by, so that drawing a group box finds it there rather than read it through
// the plugins. Returns false for another style, or when the picture is not
// there to read (another Qt): group boxes then read it as before. Called
// before the first group box of a window is drawn; once is enough.
bool preloadGroupBoxFrame(const QStyle *style);

} // namespace StylePictures
