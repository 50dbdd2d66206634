#include "trace.h"

#include "journalstream.h"
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

void kov::setTraceObserver(std::function<void(const QString&)> observer)
{
    traceObserver() = std::move(observer);
}

qint32 kov::trace(const QString& message, bool showBox, qint32 result, const QString& title,
                  MessageStyle style)
{
    if (!g_traceSwitchRead) {
        g_traceSwitch = kov::traceEnabled();
        g_traceSwitchRead = true;
    }
    if (traceObserver())
        traceObserver()(message);
    if (g_traceSwitch) {
        const QByteArray line = kov::stderrLine(
            kov::LogPriority::Debug, QStringLiteral("##B## ") + message + QStringLiteral(" ##B##"));
        std::fputs(line.constData(), stderr);
    }
    if (showBox)
        kov::messageBoxSink().messageBox(message, style, title.isEmpty() ? kov::appTitle() : title);
    return result;
}

bool kov::traceEnabled()
{
    return qEnvironmentVariable("KOVFERRIT_TRACE") == QLatin1String("1");
}

// A failed call is only traced, never shown in a box: the name of an internal call means
// nothing to the user, and a write that failed is reported on its own (kov::noteWriteFailure).
bool kov::callFailed(qint32 code, const QString& callName)
{
    if (code == 0)
        return false;
    kov::trace(callName + QStringLiteral(" FAILED : ") + QString::number(code), false, 0, QString(),
               MessageIcon::Information);
    return true;
}

qint32 kov::traceFrom(const char* className, const QString& message, bool showBox)
{
    return kov::trace(QLatin1String(className) + QStringLiteral("::") + message, showBox, 0,
                      QString(), MessageIcon::Information);
}
