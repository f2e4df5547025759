#pragma once

#include <QFont>
#include <QString>

// The report font: Courier New, or Liberation Mono (the same widths) where
// Courier New is not installed.
QString reportFontFamily();
QFont reportFont(double points, bool bold = false);

// The view's sizes: 11.25 points at start, 15 zoomed in, 12 zoomed out.
constexpr double ReportStartPoints = 11.25;
constexpr double ReportZoomedPoints = 15.0;
constexpr double ReportUnzoomedPoints = 12.0;
