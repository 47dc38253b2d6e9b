#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <limits>

namespace lexi {

// `value` with its fraction cut off, held to the range of a signed 64-bit integer; not-a-number
// gives 0. Plain conversion is undefined for values out of range, which files may hold.
constexpr qint64 truncatedToInt64(double value)
{
    if (!(value == value))
        return 0;
    if (value >= 0x1p63)
        return std::numeric_limits<qint64>::max();
    if (value < -0x1p63)
        return std::numeric_limits<qint64>::min();
    return qint64(value);
}

// An unsigned count held to the signed 64-bit range that stored forms have.
constexpr qint64 clampedToInt64(quint64 value)
{
    return qint64(std::min<quint64>(value, std::numeric_limits<qint64>::max()));
}

// Sums and differences held to the signed 64-bit range: counts read from files may be anything.
constexpr qint64 saturatingAdd(qint64 left, qint64 right)
{
    qint64 result = 0;
    if (__builtin_add_overflow(left, right, &result))
        return right > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return result;
}

constexpr qint64 saturatingSubtract(qint64 left, qint64 right)
{
    qint64 result = 0;
    if (__builtin_sub_overflow(left, right, &result))
        return right < 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return result;
}

constexpr qint64 saturatingMultiply(qint64 left, qint64 right)
{
    qint64 result = 0;
    if (__builtin_mul_overflow(left, right, &result))
        return (left < 0) == (right < 0) ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return result;
}

} // namespace lexi
