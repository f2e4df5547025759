#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace Twips {

double logicalDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}

int toPixels(double twips)
{
    // A stored size that is no number (NaN, infinity) or past what a
    // window can be is none.
    const double pixels = twips * logicalDpi() / 1440.0;
    if (!std::isfinite(pixels) || std::abs(pixels) > 1e7)
        return 0;
    return int(std::lround(pixels));
}

double fromPixels(int pixels)
{
    return pixels * 1440.0 / logicalDpi();
}

} // namespace Twips
