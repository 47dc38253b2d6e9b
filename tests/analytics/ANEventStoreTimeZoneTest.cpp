#include "AnalyticsTestSupport.h"

#include "analytics/ANEventStore.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>

using namespace Qt::StringLiterals;

namespace {

// The program runs once per zone, with TZ set by its test registration.
TEST(ANEventStoreTimeZoneTest, WritesLocalTimeWithTheZonesOffset)
{
    struct Zone
    {
        const char *tz;
        const char16_t *march2015;
        const char16_t *epoch;
    };
    const Zone zones[] = {
        {"UTC0", u"2015-03-01T14:05:09+00:00", u"1970-01-01T00:00:00+00:00"},
        {"<+01>-1", u"2015-03-01T15:05:09+01:00", u"1970-01-01T01:00:00+01:00"},
        {"<+0530>-5:30", u"2015-03-01T19:35:09+05:30", u"1970-01-01T05:30:00+05:30"},
        {"<-0330>+3:30", u"2015-03-01T10:35:09-03:30", u"1969-12-31T20:30:00-03:30"},
        {"<-0030>+0:30", u"2015-03-01T13:35:09-00:30", u"1969-12-31T23:30:00-00:30"},
        {"<+0520>-5:20", u"2015-03-01T19:25:09+05:20", u"1970-01-01T05:20:00+05:20"},
    };
    const QByteArray tz = qgetenv("TZ");
    const auto zone = std::find_if(std::begin(zones), std::end(zones), [&](const Zone &zone) { return tz == zone.tz; });
    ASSERT_NE(zone, std::end(zones)) << "no expectations for TZ=" << tz.constData();

    // A locale that writes decimal commas (where the machine has one) changes nothing.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8");

    lexi::test::AnalyticsInstallation installation;
    ANEventStore store(installation.databasePath());
    EXPECT_EQ(store.convertNSDateToISO8601(lexi::Date::fromSecondsSince1970(1425218709.25)),
              QString::fromUtf16(zone->march2015));
    EXPECT_EQ(store.convertNSDateToISO8601(lexi::Date::fromSecondsSince1970(0)), QString::fromUtf16(zone->epoch));
}

} // namespace
