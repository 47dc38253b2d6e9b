#pragma once

#include <QDateTime>

#include <compare>
#include <optional>

namespace lexi {

// A point in time as seconds since 2001-01-01 00:00:00 UTC, the reference date of the stored
// formats. The value is a plain double, as in the files, so no precision is added or lost on a
// round trip. "No date" is std::optional<Date>.
class Date
{
public:
    // Seconds between 1970-01-01 and 2001-01-01.
    static constexpr double secondsFrom1970ToReferenceDate = 978307200.0;

    constexpr Date() = default;
    static constexpr Date fromSecondsSinceReferenceDate(double seconds) { return Date(seconds); }
    static constexpr Date fromSecondsSince1970(double seconds)
    {
        return Date(seconds - secondsFrom1970ToReferenceDate);
    }
    static Date fromDateTime(const QDateTime &dateTime);

    constexpr double secondsSinceReferenceDate() const { return m_seconds; }
    constexpr double secondsSince1970() const { return m_seconds + secondsFrom1970ToReferenceDate; }
    // Whole milliseconds since 1970, rounded to the nearest millisecond.
    qint64 millisecondsSince1970() const;
    QDateTime toDateTime() const;

    // Seconds from `other` to this date; positive when this date is later.
    constexpr double secondsSince(Date other) const { return m_seconds - other.m_seconds; }
    constexpr Date addingSeconds(double seconds) const { return Date(m_seconds + seconds); }

    // Dates the program can work with: finite and within a few thousand years of the reference
    // date. Values read from files that fail this count as no date.
    bool isPlausible() const;

    friend constexpr auto operator<=>(Date, Date) = default;

private:
    constexpr explicit Date(double seconds) : m_seconds(seconds) {}

    double m_seconds = 0.0;
};

} // namespace lexi
