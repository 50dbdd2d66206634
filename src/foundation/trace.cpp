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

qint32 kov::traceTo(const QLoggingCategory& category, const QString& message, bool showBox,
                    qint32 result, const QString& title, MessageStyle style)
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
    if (category.isDebugEnabled())
        QMessageLogger(QT_MESSAGELOG_FILE, QT_MESSAGELOG_LINE, QT_MESSAGELOG_FUNC,
                       category.categoryName())
                .debug()
                .noquote()
            << message;
    if (showBox)
        kov::messageBoxSink().messageBox(message, style, title.isEmpty() ? kov::appTitle() : title);
    return result;
}

bool kov::traceEnabled()
{
    return qEnvironmentVariable("KOVFERRIT_TRACE") == QLatin1String("1");
}
