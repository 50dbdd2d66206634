#pragma once
// The diagnostic channel: trace lines on standard error while KOVFERRIT_TRACE is 1, a box
// when a caller asks for one, and an observer that lets tests see every line.
#include "messagebox.h"

#include <QString>

#include <functional>

/// Sends Message to the trace channel (when on), shows a box when ShowBox; returns RetVal.
qint32 kov_DebugMessage(const QString& Message, bool ShowBox = false, qint32 RetVal = 0,
                        const QString& Title = QString(),
                        MessageStyle Style = MessageIcon::Information);
/// The source of the trace switch: true when the environment variable KOVFERRIT_TRACE is 1.
bool kov_TraceEnabled();
/// Traces "<CallName> FAILED : <Code>" when Code is not 0; true when it is not.
bool kov_ApiFailed(qint32 Code, const QString& CallName);
/// The per-class wrapper: "<ClassName>::" + Message through kov_DebugMessage.
qint32 kov_ClassMessage(const char* ClassName, const QString& Message, bool ShowBox = false);

/// Tests observe every diagnostic message, whatever the trace switch says; no behaviour of the
/// program depends on an observer. An empty function removes it.
void kov_SetTraceObserver(std::function<void(const QString&)> observer);
