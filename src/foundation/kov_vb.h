#pragma once
// The diagnostic channel and the small utilities of the general module `kov_vb`.
#include "messagebox.h"

#include <QString>
#include <QStringList>

#include <functional>

// --- Diagnostic channel ---------------------------------------------------------------
/// Sends Message to the trace channel (when on), shows a box when ShowBox; returns RetVal.
qint32 kov_DebugMessage(const QString& Message, bool ShowBox = false, qint32 RetVal = 0,
                        const QString& Title = QString(),
                        MessageStyle Style = MessageIcon::Information);
/// False: the product never runs inside its development environment.
bool kov_InDevelopment();
/// The source of the trace switch: true when the environment variable KOVFERRIT_TRACE is 1.
bool kov_TraceEnabled();
qint32 kov_IdeMessage(const QString& Message, qint32 RetVal = 0);
bool kov_ApiFailed(qint32 Code, const QString& CallName, bool ShowBox = false);
bool kov_ApiOk(qint32 Code, const QString& CallName);
/// The per-class wrapper: "<ClassName>::" + Message through kov_DebugMessage.
qint32 kov_ClassMessage(const char* ClassName, const QString& Message, bool ShowBox = false);

/// Tests observe every diagnostic message, whatever the trace switch says; no behaviour of the
/// program depends on an observer. An empty function removes it.
void kov_SetTraceObserver(std::function<void(const QString&)> observer);

// --- Text utilities -------------------------------------------------------------------
QString kov_URLEncode(const QString& Text);
bool kov_IsUrlSafe(QChar Char);
QString kov_SafeFileName(const QString& Name, const QString& Extension, bool ReplaceIllegal,
                         bool SpacesToUnderscore, bool FileNameOnly);
QString kov_StripNull(const QString& Text);
QString kov_LowerCase(const QString& Text);

// --- Other utilities ------------------------------------------------------------------
qint32 kov_RandomBetween(qint32 Low, qint32 High);
bool kov_FileExists(const QString& Path);
/// Runs CommandLine and waits for it; its exit code, or -1 when it could not be started.
qint32 kov_RunAndWait(const QString& CommandLine);
/// A copy of Source with the same index range.
template <typename T> QList<T> kov_ToVariantArray(const QList<T>& Source)
{
    return QList<T>(Source);
}

/// The leading number of a text: blanks skipped, the longest leading decimal number (sign,
/// digits, point, exponent), 0 when there is none. `ok` is false when nothing was read.
double kov_LeadingNumber(const QString& Text, bool* ok = nullptr);
/// The leading-number rule rounded to a whole number, halves to even; `inRange` false (and 0)
/// outside 32 bits.
qint32 kov_LeadingLong(const QString& Text, bool* inRange = nullptr);
/// kov_LeadingLong for the callers to whom a value outside 32 bits is a run-time
/// failure: throws std::overflow_error("Overflow").
qint32 kov_LeadingLongOrThrow(const QString& Text);
/// The platform's strict conversion of a whole text to a 32-bit number, halves to even:
/// throws std::runtime_error "Type mismatch" for text that is not a number, "Overflow" outside
/// 32 bits.
qint32 kov_CLng(const QString& Text);
/// Rounds to a whole number with halves to the even neighbour (the platform's rounding).
/// `ok` is false when the result lies outside the signed 32-bit range.
qint32 kov_RoundHalfEven(double Value, bool* ok = nullptr);
