#include "stderruserinterface.h"

MessageAnswer StderrUserInterface::messageBox(const QString& text, MessageStyle /*style*/,
                                              const QString& caption)
{
    return kov::stderrMessageBox(text, caption);
}

int StderrUserInterface::askChannelNumber(const QString& /*channelName*/, qint32 /*suggested*/)
{
    return 0;
}
