#include "twips.h"

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

void kov_SetTwipsPerPixelOverride(double twipsPerPixel)
{
    overrideValue() = twipsPerPixel;
}

double kov_TwipsPerPixel(const QWidget* widget)
{
    if (overrideValue() > 0)
        return overrideValue();
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

int kov_TwipsToPixels(int twips, const QWidget* widget)
{
    return static_cast<int>(std::lround(twips / kov_TwipsPerPixel(widget)));
}

int kov_PixelsToTwips(int pixels, const QWidget* widget)
{
    return static_cast<int>(std::lround(pixels * kov_TwipsPerPixel(widget)));
}

bool kov_LargeFonts(const QWidget* widget)
{
    return std::abs(kov_TwipsPerPixel(widget) - 15.0) > 0.01;
}
