#pragma once
// The program's own artwork, drawn in code: the window icon, the main window's background (a
// lighter one for large-font screens) and the faces of its Sync and Log buttons.
#include <QIcon>
#include <QPixmap>

namespace Artwork {
QIcon windowIcon();
/// The main window's background; `large` for large-font screens, where the window is 1.25
/// times its size.
QPixmap background(const QSize& size, bool large);
/// A button's face: raised at rest, sunken while the mouse is over the button.
QPixmap buttonFace(bool underMouse, const QSize& size);
/// The small decoration of the main window (`logoLabel`).
QPixmap decoration(const QSize& size);
/// The style sheet of the LCD panels, background RGB (116, 150, 91).
QString lcdStyleSheet();
} // namespace Artwork
