#pragma once

#include <QPageSize>
#include <QString>

// The paper this user prints on, chosen as Debian's tools choose it (libpaper):
// $PAPERSIZE, then the locale's paper (LC_PAPER, when the environment names a
// locale), then the system's setting (/etc/papersize, or the file $PAPERCONF
// names), then libpaper's default. The language's country plays no part.
namespace SystemPaper {

// The paper's name in lower case, such as "a4", "letter" or "legal".
QString name();

// The paper as Qt knows it (A4 when libpaper does not know the name).
QPageSize pageSize();

// True when the paper is as wide as US letter (8.5 inches: letter, legal,
// executive ...), false for the ISO sizes and anything else.
bool isLetterWidth();

} // namespace SystemPaper
