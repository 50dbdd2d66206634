#pragma once
// The desktop program's user interface: QMessageBox for the message boxes and
// NeedChannelForm for the missing-channel prompt.
#include "platform/userinterface.h"

class QWidget;

class WidgetUserInterface : public UserInterface
{
public:
    int messageBox(const QString& text, int style, const QString& caption) override;
    int askChannelNumber(const QString& channelName, qint32 suggested) override;
};

/// Message-box results as the platform numbers them.
namespace MsgResult {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MsgResult
