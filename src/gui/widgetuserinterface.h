#pragma once
// The desktop program's user interface: QMessageBox for the message boxes and
// ChannelNumberPrompt for the missing-channel prompt; a long reply's progress goes to the main
// window.
#include "platform/userinterface.h"

#include <functional>

class QWidget;

class WidgetUserInterface : public UserInterface
{
public:
    MessageAnswer messageBox(const QString& text, MessageStyle style,
                             const QString& caption) override;
    int askChannelNumber(const QString& channelName, qint32 suggested) override;
    void showProgress(int done, int total) override;
    /// Where the progress of a long reply shows (the main window).
    void setProgressDisplay(std::function<void(int, int)> display)
    {
        m_progressDisplay = std::move(display);
    }

private:
    std::function<void(int, int)> m_progressDisplay;
};

namespace kov {
/// The width a window needs for its title bar to show its whole caption.
int captionWidth(const QWidget* window);
} // namespace kov
