#pragma once
// Numbers read from text: the leading number of a field, its whole-number forms, the strict
// conversion of a whole text, and rounding halves to even.
#include <QString>

namespace kov {
/// The leading number of a text: blanks skipped, the longest leading decimal number (sign,
/// digits, point, exponent), 0 when there is none. `ok` is false when nothing was read.
double leadingNumber(const QString& text, bool* ok = nullptr);
/// The leading-number rule rounded to a whole number, halves to even; `inRange` false (and 0)
/// outside 32 bits.
qint32 leadingLong(const QString& text, bool* inRange = nullptr);
/// kov::leadingLong for the callers to whom a value outside 32 bits is a run-time
/// failure: throws std::overflow_error("Overflow").
qint32 leadingLongOrThrow(const QString& text);
/// The strict conversion of a whole text (blanks around it allowed) to a 32-bit number, halves
/// to even: throws std::runtime_error "Type mismatch" for text that is not a number, "Overflow"
/// outside 32 bits.
qint32 toInt32Strict(const QString& text);
/// Rounds to a whole number with halves to the even neighbour (2.5 to 2, 3.5 to 4).
/// `ok` is false when the result lies outside the signed 32-bit range.
qint32 roundHalfEven(double value, bool* ok = nullptr);
} // namespace kov
