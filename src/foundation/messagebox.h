#pragma once
// Message boxes: the one way the lower layers show something to the user. Each process
// installs its front end (windows, terminal, a test's script) through the platform layer's
// user interface; until then a box is printed to standard error.
#include <QString>

/// Message-box styles as callers pass them (the Windows MB_* values).
namespace MsgStyle {
constexpr int OkOnly = 0;
constexpr int Critical = 16;
constexpr int Information = 64;
} // namespace MsgStyle

class MessageBoxSink
{
public:
    virtual ~MessageBoxSink() = default;
    /// Shows a modal message box; returns the button pressed (1 = OK).
    virtual int messageBox(const QString& text, int style, const QString& caption) = 0;
};

/// Prints "[CAPTION] TEXT" on standard error: the box of a process with nobody to ask.
int kov_StderrMessageBox(const QString& text, const QString& caption);

/// The sink every box of this process goes to.
MessageBoxSink& kov_MessageBoxSink();
/// Installs the sink (not owned); nullptr restores the standard-error one.
void kov_SetMessageBoxSink(MessageBoxSink* sink);
