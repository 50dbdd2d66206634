#include "messagebox.h"

#include <cstdio>

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
    std::fprintf(stderr, "[%s] %s\n", caption.toLocal8Bit().constData(),
                 shown.toLocal8Bit().constData());
    std::fflush(stderr);
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
