#pragma once

// Positions and sizes given in twips (1/1440 inch) converted to pixels at the
// screen's logical DPI (15 twips a pixel at 96 DPI), and back.
namespace Twips {

double logicalDpi();
int toPixels(double twips);
double fromPixels(int pixels);

} // namespace Twips
