#include "userinterface.h"

#include "foundation/translate.h"
#include "stderruserinterface.h"

#include <atomic>

namespace {
UserInterface*& installed()
{
    static UserInterface* ui = nullptr;
    return ui;
}
} // namespace

UserInterface& kov::userInterface()
{
    static StderrUserInterface fallback;
    return installed() ? *installed() : fallback;
}

void kov::setUserInterface(UserInterface* ui)
{
    installed() = ui;
    kov::setMessageBoxSink(ui);
}

QString kov::progressText(int done, int total)
{
    return QString::number(done) + QLatin1Char(' ') + kov::translate(QStringLiteral("of")) +
           QLatin1Char(' ') + QString::number(total) + QLatin1Char(' ') +
           kov::translate(QStringLiteral("jobs"));
}

namespace {
std::atomic<bool> g_stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
} // namespace

void kov::requestStop()
{
    g_stopRequested = true;
}

bool kov::stopRequested()
{
    return g_stopRequested;
}

void kov::clearStopRequest()
{
    g_stopRequested = false;
}
