#include "userinterface.h"

#include "foundation/translate.h"

#include <atomic>

MessageAnswer StderrUserInterface::messageBox(const QString& text, MessageStyle /*style*/,
                                              const QString& caption)
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

QString kov_ProgressText(int done, int total)
{
    return QString::number(done) + QLatin1Char(' ') + Translate(QStringLiteral("of")) +
           QLatin1Char(' ') + QString::number(total) + QLatin1Char(' ') +
           Translate(QStringLiteral("jobs"));
}

namespace {
std::atomic<bool> g_stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
} // namespace

void kov_RequestStop()
{
    g_stopRequested = true;
}

bool kov_StopRequested()
{
    return g_stopRequested;
}

void kov_ClearStopRequest()
{
    g_stopRequested = false;
}
