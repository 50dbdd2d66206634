#include "trace.h"

#include "messagebox.h"
#include "programname.h"

#include <cstdio>

namespace {
// Read once, on the first message, and kept for the life of the process.
bool g_traceSwitch = false;
bool g_traceSwitchRead = false;

std::function<void(const QString&)>& traceObserver()
{
    static std::function<void(const QString&)> observer;
    return observer;
}
} // namespace

void kov_SetTraceObserver(std::function<void(const QString&)> observer)
{
    traceObserver() = std::move(observer);
}

qint32 kov_DebugMessage(const QString& Message, bool ShowBox, qint32 RetVal, const QString& Title,
                        MessageStyle Style)
{
    if (!g_traceSwitchRead) {
        g_traceSwitch = kov_TraceEnabled();
        g_traceSwitchRead = true;
    }
    if (traceObserver())
        traceObserver()(Message);
    if (g_traceSwitch) {
        const QByteArray line = "##B## " + Message.toLocal8Bit() + " ##B##\n";
        std::fputs(line.constData(), stderr);
    }
    if (ShowBox)
        kov_MessageBoxSink().messageBox(Message, Style, Title.isEmpty() ? kov_AppTitle() : Title);
    return RetVal;
}

bool kov_TraceEnabled()
{
    return qEnvironmentVariable("KOVFERRIT_TRACE") == QLatin1String("1");
}

// A failed call is traced only: its box was meant for a developer's environment, which the
// program never runs in.
bool kov_ApiFailed(qint32 Code, const QString& CallName)
{
    if (Code == 0)
        return false;
    kov_DebugMessage(CallName + QStringLiteral(" FAILED : ") + QString::number(Code), false, 0,
                     QString(), MessageIcon::Information);
    return true;
}

qint32 kov_ClassMessage(const char* ClassName, const QString& Message, bool ShowBox)
{
    return kov_DebugMessage(QLatin1String(ClassName) + QStringLiteral("::") + Message, ShowBox, 0,
                            QString(), MessageIcon::Information);
}
