#pragma once
// The program's own artwork, drawn in code: the window icon, the background pictures
// (resource 102 is the large-font one) and the button faces (resources 103 and 104).
#include <QIcon>
#include <QPixmap>

namespace Artwork {
QIcon windowIcon();
/// The main window's background; `large` is resource 102, the picture for large-font screens
/// where the window is 1.25 times its size.
QPixmap background(const QSize& size, bool large);
/// Button faces: 103 (up) and 104 (down/hover).
QPixmap buttonFace(int resource, const QSize& size);
/// The small decoration of the main window (`logoLabel`).
QPixmap decoration(const QSize& size);
/// The style sheet of the LCD panels, background RGB (116, 150, 91).
QString lcdStyleSheet();
} // namespace Artwork
