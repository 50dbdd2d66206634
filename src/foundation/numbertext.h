#pragma once
// Numbers read from text: the leading number of a field, its whole-number forms, the strict
// conversion of a whole text, and rounding halves to even.
#include <QString>

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
