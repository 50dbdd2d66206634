#pragma once
// Window places as the user sees them. The window manager draws a frame (title bar and borders)
// around each window's client area. A stored place is the frame's top-left corner, where the
// user sees the window, while the program places a window by its client area (setGeometry): that
// is the only way that puts a window exactly where it is meant to be under X11, where a window's
// own frame is known only once the window manager has drawn it. A window about to be shown
// therefore borrows the frame of a window that is already on screen.
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

namespace kov {
/// The frame around `window`: its own once the window manager has drawn it, else that of
/// `shown` (a window on screen, framed alike), else none.
QMargins frameMargins(const QWidget* window, const QWidget* shown = nullptr);
/// Pretends every window has this frame (nullopt: the real ones). The offscreen test platform
/// draws no frames, so the frame arithmetic is tested through this.
void setFrameMarginsOverride(std::optional<QMargins> frame);

/// The outer rectangle of `window` with the given frame.
QRect frameRect(const QWidget* window, const QMargins& frame);
/// Puts the window's frame's top-left corner at `frameTopLeft`; the client area goes inside it.
void moveFrameTo(QWidget* window, const QPoint& frameTopLeft, const QMargins& frame);
/// Where a window's frame goes so that the frame, a client area of `client` inside `frame`
/// margins, sits in the middle of the screen's free area `available`; never above or left of it.
QPoint centredFrameTopLeft(const QRect& available, const QSize& client, const QMargins& frame);
/// The frame rectangle `outer` moved the least way that puts it inside the screen's free area
/// `available`; a frame larger than the area goes to the area's top-left corner, so that the
/// title bar stays in reach.
QRect frameInside(const QRect& outer, const QRect& available);
/// Moves the window, framed with `frame`, inside the free area of the screen it is on; a window
/// already inside stays where it is.
void keepOnScreen(QWidget* window, const QMargins& frame);
/// Keeps the window on screen again by its own frame when it is first activated after each
/// show: the window manager may frame it thicker than the window whose frame placed it (a
/// resizable window gets a grip along its bottom edge).
void keepOnScreenWhenFramed(QWidget* window);
} // namespace kov
