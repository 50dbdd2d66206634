#include "userinterface.h"

int StderrUserInterface::messageBox(const QString& text, int /*style*/, const QString& caption)
{
    return kov_StderrMessageBox(text, caption);
}

int StderrUserInterface::askChannelNumber(const QString& /*channelName*/, qint32 /*suggested*/)
{
    return 0;
}

namespace {
UserInterface*& installed()
{
    static UserInterface* ui = nullptr;
    return ui;
}
} // namespace

UserInterface& kov_UserInterface()
{
    static StderrUserInterface fallback;
    return installed() ? *installed() : fallback;
}

void kov_SetUserInterface(UserInterface* ui)
{
    installed() = ui;
    kov_SetMessageBoxSink(ui);
}
