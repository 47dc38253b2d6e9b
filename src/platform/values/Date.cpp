#include "Date.h"

#include <cmath>

namespace lexi {

namespace {
// About 10,000 years either side of 2001: far beyond any real date, well inside what QDateTime
// and a 64-bit millisecond count can hold.
constexpr double plausibleRangeInSeconds = 10000.0 * 366.0 * 86400.0;
}

Date Date::fromDateTime(const QDateTime &dateTime)
{
    return fromSecondsSince1970(double(dateTime.toMSecsSinceEpoch()) / 1000.0);
}

qint64 Date::millisecondsSince1970() const
{
    return std::llround(secondsSince1970() * 1000.0);
}

QDateTime Date::toDateTime() const
{
    return QDateTime::fromMSecsSinceEpoch(millisecondsSince1970());
}

bool Date::isPlausible() const
{
    return std::isfinite(m_seconds) && std::fabs(m_seconds) < plausibleRangeInSeconds;
}

} // namespace lexi
