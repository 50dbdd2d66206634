#pragma once
// Message boxes: the one way the lower layers show something to the user. Each process
// installs its front end (windows, terminal, a test's script) through the platform layer's
// user interface; until then a box is printed to standard error.
#include <QString>

/// The symbol a box shows beside its text.
enum class MessageIcon
{
    None,
    Information,
    Critical,
    Question
};

/// The buttons a box offers.
enum class MessageButtons
{
    Ok,
    YesNo
};

/// The button that closed a box. A box nobody can answer counts as Ok.
enum class MessageAnswer
{
    Ok,
    Yes,
    No
};

/// A box's icon and buttons. Most boxes only inform, so an icon alone converts to a style
/// with the OK button.
struct MessageStyle
{
    MessageStyle(MessageIcon icon = MessageIcon::None, MessageButtons buttons = MessageButtons::Ok)
        : icon(icon), buttons(buttons)
    {
    }
    MessageIcon icon;
    MessageButtons buttons;
};

class MessageBoxSink
{
public:
    virtual ~MessageBoxSink() = default;
    /// Shows a modal message box; returns the button pressed.
    virtual MessageAnswer messageBox(const QString& text, MessageStyle style,
                                     const QString& caption) = 0;
};

namespace kov {
/// Prints "[CAPTION] TEXT" on standard error: the box of a process with nobody to ask.
MessageAnswer stderrMessageBox(const QString& text, const QString& caption);

/// The sink every box of this process goes to.
MessageBoxSink& messageBoxSink();
/// Installs the sink (not owned); nullptr restores the standard-error one.
void setMessageBoxSink(MessageBoxSink* sink);
} // namespace kov
