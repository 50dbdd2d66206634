#include "daemonui.h"

#include "app/syncrunscope.h"
#include "daemonfrontend.h"
#include "foundation/journalstream.h"

MessageAnswer DaemonUserInterface::messageBox(const QString& text, MessageStyle style,
                                              const QString& caption)
{
    if (kov::syncRunning()) {
        m_frontEnd.addMessage(text);
        return MessageAnswer::Ok;
    }
    // A box would have stopped the user: a warning at least.
    kov::writeStderrLine(style.icon == MessageIcon::Critical ? kov::LogPriority::Error
                                                             : kov::LogPriority::Warning,
                         QLatin1Char('[') + caption + QStringLiteral("] ") + text);
    return MessageAnswer::Ok;
}
