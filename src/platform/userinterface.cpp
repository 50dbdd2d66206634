#include "userinterface.h"

#include <cstdio>

int StderrUserInterface::messageBox(const QString& text, int /*style*/, const QString& caption)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stderr, "[%s] %s\n", caption.toLocal8Bit().constData(),
                 shown.toLocal8Bit().constData());
    std::fflush(stderr);
    return 1;
}

int StderrUserInterface::askChannelNumber(const QString& /*channelName*/)
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
}
