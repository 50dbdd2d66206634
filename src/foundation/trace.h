#pragma once
// The diagnostic channel: each line goes to its layer's logging category (debug level, shown
// when a QT_LOGGING_RULES rule switches the category on), to standard error as
// "##B## <message> ##B##" while KOVFERRIT_TRACE is 1, to a box when a caller asks for one, and
// to an observer that lets tests see every line.
#include "logcategories.h"
#include "messagebox.h"

#include <QString>

#include <functional>

namespace kov {
/// Sends `message` to `category` and the trace switch's channel (when on), shows a box when
/// `showBox`; returns `result`.
qint32 traceTo(const QLoggingCategory& category, const QString& message, bool showBox = false,
               qint32 result = 0, const QString& title = QString(),
               MessageStyle style = MessageIcon::Information);
/// The source of the trace switch: true when the environment variable KOVFERRIT_TRACE is 1.
bool traceEnabled();

/// Tests observe every diagnostic message, whatever the trace switch says; no behaviour of the
/// program depends on an observer. An empty function removes it.
void setTraceObserver(std::function<void(const QString&)> observer);

#ifdef KOV_LOG_CATEGORY
// The build defines KOV_LOG_CATEGORY for each layer's source files as that layer's category
// (cmake/KovLayers.cmake). These helpers have internal linkage, so each source file binds them
// to its own layer; code outside a layer has no category and calls traceTo.

/// Sends `message` to this layer's category and the trace channel, shows a box when `showBox`;
/// returns `result`.
static inline qint32 trace(const QString& message, bool showBox = false, qint32 result = 0,
                           const QString& title = QString(),
                           MessageStyle style = MessageIcon::Information)
{
    return traceTo(KOV_LOG_CATEGORY(), message, showBox, result, title, style);
}

/// Traces "<callName> FAILED : <code>" when `code` is not 0; true when it is not. A failed call
/// is only traced, never shown in a box: the name of an internal call means nothing to the
/// user, and a write that failed is reported on its own (kov::noteWriteFailure).
static inline bool callFailed(qint32 code, const QString& callName)
{
    if (code == 0)
        return false;
    trace(callName + QStringLiteral(" FAILED : ") + QString::number(code));
    return true;
}

/// The per-class wrapper: "<className>::" + `message` through kov::trace.
static inline qint32 traceFrom(const char* className, const QString& message, bool showBox = false)
{
    return trace(QLatin1String(className) + QStringLiteral("::") + message, showBox);
}
#endif
} // namespace kov
