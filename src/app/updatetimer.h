#pragma once
// The update timer's tick, kept in the core so that the desktop window and
// `kovferrit-cli tick` / `daemon` run the same logic.
#include <QDateTime>
#include <QString>

class SyncFrontEnd;

namespace kov {
/// The sentinel date long past that makes the next tick sync.
inline QString syncSentinel()
{
    return QStringLiteral("July 4, 1776");
}

/// A date-time text read by the locale rules; the zero date-time when it is none.
QDateTime dateOrZero(const QString& text);
/// Minute boundaries from now until `due`, plus 1.
qint64 minutesUntil(const QDateTime& now, const QDateTime& due);
/// "Next Update: N Minutes.", translated.
QString countdownText(const QDateTime& now, const QDateTime& due);

/// One tick of `minuteTimer`; a timed sync when `NextSync` has passed. False when a sync of the
/// tick failed.
bool runMinuteTick(SyncFrontEnd& frontEnd, bool adminMode);
} // namespace kov
