#pragma once
// The windows' sizes and places, and those stored in the settings, are in twips (1/1440 inch)
// and become pixels by the screen's resolution; the layout was drawn at 15 twips per pixel (96
// dots per inch).
class QWidget;

namespace kov {
/// Twips per pixel of the screen the widget is on (15 at 96 dpi).
double twipsPerPixel(const QWidget* widget);
int twipsToPixels(int twips, const QWidget* widget);
int pixelsToTwips(int pixels, const QWidget* widget);
/// True when the screen is not the 96-dpi layout resolution; the main and advanced windows
/// then grow by a quarter.
bool largeFonts(const QWidget* widget);
/// Pretends a screen of this many twips per pixel (0: the real screen). The offscreen test
/// platform always reports 96 dpi, so the large-font layout is tested through this.
void setTwipsPerPixelOverride(double twipsPerPixel);
} // namespace kov
