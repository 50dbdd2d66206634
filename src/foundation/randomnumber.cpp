#include "randomnumber.h"

#include <QDateTime>

#include <cmath>

namespace {
// The last draw and a counter, zeroed at start and never reset: both go into the next seed.
qint32 g_randomSeed = 0;
qint32 g_randomCounter = 0;

quint64 splitMix(quint64 x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}
} // namespace

qint32 kov::randomBetween(qint32 low, qint32 high)
{
    const auto tick = static_cast<quint32>(QDateTime::currentMSecsSinceEpoch());
    const quint32 seed =
        static_cast<quint32>(g_randomCounter) ^ static_cast<quint32>(g_randomSeed) ^ tick;
    // Every draw seeds afresh, through a strong mix of the seed, so that neighbouring seeds (the
    // counter steps by one) give unrelated draws. 24 bits: single precision, 0 <= r < 1.
    const float r = static_cast<float>(splitMix(seed) >> 40) / 16777216.0f;
    const double span = static_cast<double>(high) - static_cast<double>(low) + 1.0;
    double value = std::floor(static_cast<double>(r) * span + static_cast<double>(low));
    // Guard against rounding at the ends of very wide ranges.
    if (value > high)
        value = high;
    if (value < low)
        value = low;
    const auto result = static_cast<qint32>(value);
    g_randomSeed = result;
    if (++g_randomCounter > 32768)
        g_randomCounter = 0;
    return result;
}
