#pragma once
// The user-interface stand-in of DESIGN.md: message boxes and the missing-channel prompt.
// Core code asks through this interface and never includes a widget header; the desktop
// program installs a QMessageBox-based one, the CLI a terminal one, tests a scripted one.
#include <QString>

/// Message-box styles as the spec passes them (the Windows MB_* values).
namespace MsgStyle {
constexpr int OkOnly = 0;
constexpr int Critical = 16;
constexpr int Information = 64;
} // namespace MsgStyle

class UserInterface
{
public:
    virtual ~UserInterface() = default;
    /// Shows a modal message box; returns the button pressed (1 = OK).
    virtual int messageBox(const QString& text, int style, const QString& caption) = 0;
    /// Part 3.3: asks for the tuner number of an unknown service channel; 0 means cancelled.
    virtual int askChannelNumber(const QString& channelName) = 0;
};

/// Prints boxes to standard error as "[CAPTION] TEXT" and cancels every prompt: the
/// behaviour of a process that has no way to ask anybody.
class StderrUserInterface : public UserInterface
{
public:
    int messageBox(const QString& text, int style, const QString& caption) override;
    int askChannelNumber(const QString& channelName) override;
};

/// The process-wide interface; a StderrUserInterface until one is installed.
UserInterface& kov_UserInterface();
/// Installs the interface for this process (not owned); nullptr restores the default.
void kov_SetUserInterface(UserInterface* ui);
