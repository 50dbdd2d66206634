#pragma once
// The clock is injected so that tests of due times, stamps and month arithmetic never sleep.
#include <QDateTime>

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

/// The process-wide clock: local system time unless a test installs another.
const Clock& kov_Clock();
void kov_SetClock(const Clock* clock);
/// kov_Clock().now()
QDateTime kov_Now();
