#pragma once
// The diagnostic channel: trace lines on standard error while KOVFERRIT_TRACE is 1, a box
// when a caller asks for one, and an observer that lets tests see every line.
#include "messagebox.h"

#include <QString>

#include <functional>

namespace kov {
/// Sends `message` to the trace channel (when on), shows a box when `showBox`; returns
/// `result`.
qint32 trace(const QString& message, bool showBox = false, qint32 result = 0,
             const QString& title = QString(), MessageStyle style = MessageIcon::Information);
/// The source of the trace switch: true when the environment variable KOVFERRIT_TRACE is 1.
bool traceEnabled();
/// Traces "<callName> FAILED : <code>" when `code` is not 0; true when it is not.
bool callFailed(qint32 code, const QString& callName);
/// The per-class wrapper: "<className>::" + `message` through kov::trace.
qint32 traceFrom(const char* className, const QString& message, bool showBox = false);

/// Tests observe every diagnostic message, whatever the trace switch says; no behaviour of the
/// program depends on an observer. An empty function removes it.
void setTraceObserver(std::function<void(const QString&)> observer);
} // namespace kov
