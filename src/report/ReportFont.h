#pragma once

#include "codepage/CodePage.h"

#include <QFont>
#include <QString>

// The report font: Courier New, or Liberation Mono (the same widths) where
// Courier New is not installed. A file read in a PC code page needs box
// drawing and national letters, which those fonts lack in part: it is shown
// in DejaVu Sans Mono, monospaced too, when that font holds every character
// of the code page (else in the report font, missing glyphs and all).
QString reportFontFamily(CodePage::Id codePage = CodePage::Id::Latin1);
QFont reportFont(double points, bool bold = false, CodePage::Id codePage = CodePage::Id::Latin1);

// Whether the font has a glyph for every character the code page decodes to
// (the placeholders of undefined bytes left aside).
bool fontHoldsCodePage(const QFont &font, CodePage::Id codePage);

// The view's sizes: 11.25 points at start, 15 zoomed in, 12 zoomed out.
constexpr double ReportStartPoints = 11.25;
constexpr double ReportZoomedPoints = 15.0;
constexpr double ReportUnzoomedPoints = 12.0;
