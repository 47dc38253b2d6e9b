#include "Dates.h"

#include "Format.h"
#include "platform/files/StringTables.h"

#include <QDateTime>
#include <QTimeZone>

#include <cmath>

using namespace Qt::StringLiterals;

namespace lexi {

Date todaysDate(const Clock &clock)
{
    const QDate today = clock.now().toDateTime().toLocalTime().date();
    return Date::fromDateTime(today.startOfDay());
}

QString timeSinceDate(const std::optional<Date> &date, const Clock &clock)
{
    if (!date)
        return StringTables::text(u"never"_s);

    double interval = std::fabs(clock.now().secondsSince(*date));
    if (!std::isfinite(interval))
        interval = 0.0;
    // Long past the last row of the table; keeps the whole numbers below from overflowing.
    interval = std::min(interval, 1.0e15);
    const qint64 minutes = qint64(interval / 60.0);
    const qint64 hours = qint64(interval / 3600.0);
    const qint64 days = qint64(interval / 86400.0);

    const auto text = [](const char *key) { return StringTables::text(QString::fromUtf8(key)); };
    const auto counted = [](const char *key, qint64 number) {
        return format(StringTables::text(QString::fromUtf8(key)), number);
    };

    if (minutes <= 1)
        return text("1 Minute");
    if (minutes <= 59)
        return counted("%ld Minutes", minutes);
    if (hours <= 1)
        return text("1 Hour");
    if (hours <= 23)
        return counted("%ld Hours", hours);
    if (days <= 1)
        return text("1 Day");
    if (days <= 6)
        return counted("%ld Days", days);
    if (days <= 13)
        return text("1 Week");
    if (days <= 29)
        return counted("%ld Weeks", days / 7);
    if (days <= 59)
        return text("1 Month");
    if (days <= 364)
        return counted("%ld Months", days / 30);
    if (days <= 729)
        return text("1 Year");
    return counted("%ld Years", days / 365);
}

} // namespace lexi
