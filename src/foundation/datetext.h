#pragma once
// Date-time conventions: the zero date-time, the "general date and time" text
// form (locale short date with a four-digit year, a blank, HH:mm:ss; date alone at midnight)
// and the lenient reading of date-time texts.
#include <QDateTime>
#include <QString>

namespace kov {
/// Makes the C library read the local-time rules once per process instead of once per
/// conversion (it otherwise checks /etc/localtime each time). Called by the programs before
/// any thread starts, and by the date functions below on their first use.
void cacheLocalTimeRules();
/// 1899-12-30 00:00:00 local time: the zero date-time, the value of a date that is not set or
/// could not be read.
QDateTime zeroDate();
/// The general date-and-time text of a value in the current default locale.
QString dateText(const QDateTime& value);
/// "yyyy-MM-ddTHH:mm:ss": the form the local scheduler stores.
QString isoText(const QDateTime& value);
/// "yyyy-MM-ddTHH:mm:ss+HH:mm": the value with its offset from UTC, so that a script reading it
/// needs no idea of the writer's time zone.
QString isoTextWithOffset(const QDateTime& value);
/// Reads a date-time text; an invalid QDateTime (and ok false) when no form fits.
QDateTime parseDate(const QString& text, bool* ok = nullptr);
} // namespace kov
