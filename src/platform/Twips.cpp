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
    return int(std::lround(twips * logicalDpi() / 1440.0));
}

double fromPixels(int pixels)
{
    return pixels * 1440.0 / logicalDpi();
}

} // namespace Twips
