#include "QLXRandom.h"

#include "logging/QLXLogMacros.h"

#include <stdlib.h>

namespace {
constexpr int qlxLogLevel = QLXLogLevelWarn;
}

QLXRandom::QLXRandom() : QLXRandom([] { return quint32(arc4random()); }) {}

QLXRandom::QLXRandom(Source source) : m_source(std::move(source)) {}

qint64 QLXRandom::randomIntBetween(qint64 low, qint64 high)
{
    if (high < low) {
        QLXLogWarn("QLXRandom > randomIntBetween > empty range %lld to %lld, giving %lld", low, high, low);
        return low;
    }
    // Unsigned arithmetic: the width of a range may exceed what a signed number holds.
    const quint64 width = quint64(high) - quint64(low) + 1;
    const quint64 r = m_source();
    if (width == 0)
        return qint64(quint64(low) + r);
    return qint64(quint64(low) + r % width);
}

double QLXRandom::randomFloatBetween(double low, double high)
{
    return low + double(m_source()) * 0x1p-32 * (high - low);
}
