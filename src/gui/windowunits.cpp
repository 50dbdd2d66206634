#include "windowunits.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace {
double& overrideValue()
{
    static double value = 0;
    return value;
}
} // namespace

void kov::setTwipsPerPixelOverride(double twipsPerPixel)
{
    overrideValue() = twipsPerPixel;
}

double kov::twipsPerPixel(const QWidget* widget)
{
    if (overrideValue() > 0)
        return overrideValue();
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

int kov::twipsToPixels(int twips, const QWidget* widget)
{
    return static_cast<int>(std::lround(twips / kov::twipsPerPixel(widget)));
}

int kov::pixelsToTwips(int pixels, const QWidget* widget)
{
    return static_cast<int>(std::lround(pixels * kov::twipsPerPixel(widget)));
}

bool kov::largeFonts(const QWidget* widget)
{
    return std::abs(kov::twipsPerPixel(widget) - 15.0) > 0.01;
}
