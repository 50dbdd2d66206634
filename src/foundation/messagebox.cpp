#include "messagebox.h"

#include "journalstream.h"

namespace {
class StderrSink : public MessageBoxSink
{
public:
    MessageAnswer messageBox(const QString& text, MessageStyle /*style*/,
                             const QString& caption) override
    {
        return kov::stderrMessageBox(text, caption);
    }
};

MessageBoxSink*& installed()
{
    static MessageBoxSink* sink = nullptr;
    return sink;
}
} // namespace

MessageAnswer kov::stderrMessageBox(const QString& text, const QString& caption)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // A box stops the user where there is a window: a warning at least.
    kov::writeStderrLine(kov::LogPriority::Warning,
                         QLatin1Char('[') + caption + QStringLiteral("] ") + shown);
    return MessageAnswer::Ok;
}

MessageBoxSink& kov::messageBoxSink()
{
    static StderrSink fallback;
    return installed() ? *installed() : fallback;
}

void kov::setMessageBoxSink(MessageBoxSink* sink)
{
    installed() = sink;
}
