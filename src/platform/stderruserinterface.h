#pragma once
// The user interface of a process that has nobody to ask: the one every process starts with,
// and the base of the CLI's.
#include "userinterface.h"

/// Prints boxes to standard error as "[CAPTION] TEXT" and cancels every prompt: the
/// behaviour of a process that has no way to ask anybody.
class StderrUserInterface : public UserInterface
{
public:
    MessageAnswer messageBox(const QString& text, MessageStyle style,
                             const QString& caption) override;
    int askChannelNumber(const QString& channelName, qint32 suggested) override;
};
