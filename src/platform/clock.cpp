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

const Clock& kov::clock()
{
    static SystemClock system;
    return installed() ? *installed() : system;
}

void kov::setClock(const Clock* clock)
{
    installed() = clock;
}

QDateTime kov::now()
{
    return kov::clock().now();
}
