#pragma once
// The keys every window of the program answers alike. Qt presses a focused push button with
// Space everywhere but with Enter only inside a dialog; here Enter presses it in any window. A
// side window also closes on an Escape that none of its controls takes for itself (the channel
// list's cell editor first drops the edit with it).
class QWidget;

namespace kov {
enum class EscapeKey
{
    Kept,
    ClosesWindow
};
/// Enter presses whichever of the window's push buttons has the focus; with
/// EscapeKey::ClosesWindow an Escape left over by the window's controls closes the window.
void useWindowKeys(QWidget* window, EscapeKey escape);
} // namespace kov
