#pragma once
// The clock is injected so that tests of due times, stamps and month arithmetic never sleep.
#include <QDateTime>

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

namespace kov {
/// The process-wide clock: local system time unless a test installs another.
const Clock& clock();
void setClock(const Clock* clock);
/// kov::clock().now()
QDateTime now();
} // namespace kov
