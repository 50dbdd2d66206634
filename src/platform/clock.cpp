#include "clock.h"

namespace {
class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

const Clock*& installed()
{
    static const Clock* clock = nullptr;
    return clock;
}
} // namespace

const Clock& kov_Clock()
{
    static SystemClock system;
    return installed() ? *installed() : system;
}

void kov_SetClock(const Clock* clock)
{
    installed() = clock;
}

QDateTime kov_Now()
{
    return kov_Clock().now();
}
