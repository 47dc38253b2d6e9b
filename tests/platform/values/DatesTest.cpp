#include "support/FakeClock.h"

#include "platform/values/Dates.h"

#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace Qt::StringLiterals;
using lexi::Date;
using lexi::test::FakeClock;

namespace {

struct RelativeCase
{
    double secondsAgo;
    const char *expected;
};

void PrintTo(const RelativeCase &c, std::ostream *out)
{
    *out << c.secondsAgo << " s ago";
}

class TimeSinceDateTest : public testing::TestWithParam<RelativeCase>
{
};

TEST_P(TimeSinceDateTest, WordsTheIntervalByTheFirstMatchingRow)
{
    FakeClock clock;
    const Date date = clock.now().addingSeconds(-GetParam().secondsAgo);
    EXPECT_EQ(lexi::timeSinceDate(date, clock), QString::fromUtf8(GetParam().expected));
}

constexpr double minute = 60, hour = 3600, day = 86400;

INSTANTIATE_TEST_SUITE_P(
    Table, TimeSinceDateTest,
    testing::Values(RelativeCase{0, "1 Minute"}, RelativeCase{30, "1 Minute"}, RelativeCase{90, "1 Minute"},
                    RelativeCase{120, "2 Minutes"}, RelativeCase{59 * minute + 59, "59 Minutes"},
                    RelativeCase{119 * minute, "1 Hour"}, RelativeCase{3 * hour, "3 Hours"},
                    RelativeCase{-3 * hour, "3 Hours"}, RelativeCase{23 * hour + 59 * minute, "23 Hours"},
                    RelativeCase{47 * hour, "1 Day"}, RelativeCase{6 * day, "6 Days"}, RelativeCase{13 * day, "1 Week"},
                    RelativeCase{14 * day, "2 Weeks"}, RelativeCase{29 * day, "4 Weeks"},
                    RelativeCase{59 * day, "1 Month"}, RelativeCase{60 * day, "2 Months"},
                    RelativeCase{364 * day, "12 Months"}, RelativeCase{729 * day, "1 Year"},
                    RelativeCase{730 * day, "2 Years"}, RelativeCase{1e300, "31709791 Years"}));

TEST(TimeSinceDateTest, NoDateIsNever)
{
    EXPECT_EQ(lexi::timeSinceDate(std::nullopt), u"never"_s);
}

class TodaysDateTest : public testing::Test
{
protected:
    void SetUp() override
    {
        const char *zone = std::getenv("TZ");
        m_savedZone = zone ? std::optional<std::string>(zone) : std::nullopt;
    }
    void TearDown() override
    {
        if (m_savedZone)
            setenv("TZ", m_savedZone->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    static void useZone(const char *zone)
    {
        setenv("TZ", zone, 1);
        tzset();
    }

private:
    std::optional<std::string> m_savedZone;
};

Date utc(int year, int month, int dayOfMonth, int hours, int minutes)
{
    return Date::fromDateTime(QDateTime(QDate(year, month, dayOfMonth), QTime(hours, minutes), QTimeZone::utc()));
}

TEST_F(TodaysDateTest, IsLocalMidnightAlsoAcrossADaylightSavingChange)
{
    useZone("Europe/Berlin");
    // 29 March 2026: clocks go from 02:00 to 03:00, so that day has 23 hours.
    FakeClock clock(utc(2026, 3, 29, 10, 0));
    const Date changeDay = lexi::todaysDate(clock);
    EXPECT_EQ(changeDay, utc(2026, 3, 28, 23, 0));
    clock.setNow(utc(2026, 3, 30, 10, 0));
    EXPECT_EQ(lexi::todaysDate(clock), utc(2026, 3, 29, 22, 0));
    EXPECT_EQ(lexi::todaysDate(clock).secondsSince(changeDay), 23 * 3600);
}

TEST_F(TodaysDateTest, FollowsTheLocalDayNotTheUtcDay)
{
    useZone("Asia/Tokyo");
    FakeClock clock(utc(2026, 12, 10, 20, 0)); // already 11 December in Tokyo
    EXPECT_EQ(lexi::todaysDate(clock), utc(2026, 12, 10, 15, 0));
}

} // namespace
