// Runs with TZ=Europe/Berlin (tests/statistics/CMakeLists.txt): clocks go forward on 29 March 2026.
#include "statistics/StatisticsGraphs.h"

#include "support/FakeVocabularyServices.h"

#include <QDate>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using lexi::GraphMode;
using lexi::test::localMidnight;
using Snapshot = QLXDailyStatisticsSnapshot;

namespace {

const QDate today(2026, 5, 20);
const lexi::GraphTexts texts{u"yyyy-MM-dd"_s, u"%ld words"_s};

struct GraphsTest : ::testing::Test
{
    lexi::test::FakeClock clock{lexi::test::localTime(2026, 5, 20, 16, 30)};
};

Snapshot snapshot(QDate day, qint64 known)
{
    Snapshot s(lexi::Date::fromDateTime(day.startOfDay()));
    s.setNumberOfWordsInLevel(0, 7);
    s.setNumberOfWordsInLevel(3, known);
    return s;
}

QLXStatistics history(const QList<Snapshot> &snapshots)
{
    QLXStatistics result;
    result.setDailySnapshots(snapshots);
    return result;
}

// One snapshot on each of the `count` days up to today, the known words growing by one a day.
QLXStatistics everyDay(qsizetype count)
{
    QList<Snapshot> snapshots;
    for (qsizetype i = 0; i < count; ++i)
        snapshots.append(snapshot(today.addDays(i - count + 1), 100 + i));
    return history(snapshots);
}

QDate dayOf(const Snapshot &s)
{
    return s.day().toDateTime().toLocalTime().date();
}

QList<qint64> knownCounts(const QList<Snapshot> &snapshots)
{
    QList<qint64> result;
    for (const Snapshot &s : snapshots)
        result.append(s.numberOfAllExceptUnknown());
    return result;
}

QList<double> values(const QLXGraph &graph)
{
    QList<double> result;
    for (const QLXDataInstance &point : graph.dataInstances())
        result.append(point.yValue);
    return result;
}

TEST(GraphModeTest, SegmentsChooseTheModes)
{
    EXPECT_EQ(lexi::graphModeForSegment(0), GraphMode::total);
    EXPECT_EQ(lexi::graphModeForSegment(1), GraphMode::last30Days);
    EXPECT_EQ(lexi::graphModeForSegment(2), GraphMode::last7Days);
    EXPECT_EQ(lexi::graphModeForSegment(-1), std::nullopt);
    EXPECT_EQ(lexi::graphModeForSegment(3), std::nullopt);
}

TEST_F(GraphsTest, EachModeShowsItsNumberOfDaysEndingToday)
{
    const struct
    {
        qsizetype days;
        qsizetype total, last30, last7;
    } cases[] = {{1, 1, 1, 1}, {6, 6, 6, 6}, {7, 7, 7, 7}, {8, 8, 8, 7},
                 {29, 29, 29, 7}, {30, 30, 30, 7}, {31, 30, 30, 7}, {400, 30, 30, 7}};
    for (const auto &c : cases) {
        const QList<Snapshot> days = lexi::dailySnapshotsUpToToday(everyDay(c.days), clock);
        ASSERT_EQ(days.size(), c.days);
        for (const auto &[mode, count] : {std::pair{GraphMode::total, c.total},
                                          {GraphMode::last30Days, c.last30}, {GraphMode::last7Days, c.last7}}) {
            const QList<Snapshot> shown = lexi::snapshotsForGraph(days, mode);
            ASSERT_EQ(shown.size(), count) << c.days << " days, mode " << int(mode);
            EXPECT_EQ(dayOf(shown.last()), today) << c.days << " days, mode " << int(mode);
            // The last 30 and 7 are whole days; in total the first day always stays.
            const qsizetype firstShown = mode == GraphMode::total ? c.days : count;
            EXPECT_EQ(dayOf(shown.first()), today.addDays(1 - firstShown)) << c.days << " days, mode " << int(mode);
        }
    }
}

// The points of the total graph stand evenly apart over every day from the first to today,
// however the days were recorded.
TEST_F(GraphsTest, TotalModeSpreadsThirtyPointsEvenlyOverTheFilledDays)
{
    QList<Snapshot> weekly;
    for (int week = 0; week < 52; ++week)
        weekly.append(snapshot(today.addDays(7 * (week - 51)), 10 * week));
    const struct
    {
        const char *what;
        QLXStatistics statistics;
    } cases[] = {{"31 days", everyDay(31)}, {"40 days", everyDay(40)}, {"a year weekly", history(weekly)}};
    for (const auto &c : cases) {
        const QList<Snapshot> days = lexi::dailySnapshotsUpToToday(c.statistics, clock);
        const QList<Snapshot> shown = lexi::snapshotsForGraph(days, GraphMode::total);
        ASSERT_EQ(shown.size(), 30) << c.what;
        EXPECT_EQ(shown.first(), days.first()) << c.what;
        EXPECT_EQ(shown.last(), days.last()) << c.what;
        const double step = double(days.size() - 1) / 29.0;
        for (qsizetype i = 1; i < shown.size(); ++i) {
            const qint64 gap = dayOf(shown[i - 1]).daysTo(dayOf(shown[i]));
            EXPECT_TRUE(gap == qint64(std::floor(step)) || gap == qint64(std::ceil(step)))
                << c.what << ": " << gap << " days before point " << i;
        }
    }
}

TEST_F(GraphsTest, TheDaysRunOnFlatUpToToday)
{
    const QDate lastPractised = today.addDays(-60);
    const QList<Snapshot> days = lexi::dailySnapshotsUpToToday(
        history({snapshot(lastPractised.addDays(-3), 40), snapshot(lastPractised, 52)}), clock);
    ASSERT_EQ(days.size(), 64);
    for (qsizetype i = 0; i < days.size(); ++i)
        EXPECT_EQ(dayOf(days[i]), lastPractised.addDays(i - 3)) << i;
    EXPECT_EQ(days.last().day(), localMidnight(2026, 5, 20));
    for (const GraphMode mode : {GraphMode::last30Days, GraphMode::last7Days}) {
        const QList<Snapshot> shown = lexi::snapshotsForGraph(days, mode);
        EXPECT_EQ(knownCounts(shown), QList<qint64>(shown.size(), 52));
        EXPECT_EQ(dayOf(shown.last()), today);
    }
    // Only days after the latest one recorded are added, also when the list left date order.
    const QList<Snapshot> unordered = lexi::dailySnapshotsUpToToday(
        history({snapshot(today.addDays(-2), 40), snapshot(today.addDays(-5), 30)}), clock);
    EXPECT_EQ(unordered.size(), 4);
    EXPECT_EQ(dayOf(unordered.last()), today);
    EXPECT_TRUE(lexi::dailySnapshotsUpToToday(QLXStatistics(), clock).isEmpty());
}

TEST_F(GraphsTest, TheWordsGraphShowsTheKnownWordsOfEachDay)
{
    const QList<Snapshot> days = {snapshot(QDate(2026, 3, 28), 30), snapshot(QDate(2026, 3, 29), 50),
                                  snapshot(QDate(2026, 3, 30), 41)};
    const lexi::StatisticsGraph words = lexi::wordsGraph(days, texts);
    ASSERT_EQ(words.graph.numberOfInstances(), 3);
    EXPECT_EQ(values(words.graph), (QList<double>{30, 50, 41}));
    const QLXDataInstance &second = words.graph.dataInstances()[1];
    EXPECT_EQ(second.xValue, 1.0);
    EXPECT_EQ(second.xlabel, u"2026-03-29"_s);
    EXPECT_EQ(second.ylabel, u"50 words"_s);
    EXPECT_TRUE(second.label.isEmpty());
    EXPECT_EQ(words.graph.maximumData(), 50.0);
    EXPECT_EQ(words.baseline, 10.0);

    const struct
    {
        QList<qint64> counts;
        double maximum, baseline;
    } cases[] = {{{0, 0, 0}, 8, 0}, {{12, 5}, 12, 0}, {{20, 25}, 25, 0}, {{21, 25}, 25, 1}, {{}, 8, 0}};
    for (const auto &c : cases) {
        QList<Snapshot> counted;
        for (qint64 count : c.counts)
            counted.append(snapshot(today, count));
        const lexi::StatisticsGraph graph = lexi::wordsGraph(counted, texts);
        EXPECT_EQ(graph.graph.maximumData(), c.maximum) << c.counts.value(0) << " words first";
        EXPECT_EQ(graph.baseline, c.baseline) << c.counts.value(0) << " words first";
    }
}

TEST_F(GraphsTest, TheUnderstandingGraphShowsTheShareOfTheLanguage)
{
    QList<Snapshot> week;
    for (const qint64 known : {142, 160, 175, 190, 205, 220, 233})
        week.append(snapshot(today.addDays(week.size() - 6), known));
    const double first = QLXStatistics::percentOfLanguage(142);
    const double last = QLXStatistics::percentOfLanguage(233);
    ASSERT_NEAR(first, 5.0, 0.02);
    ASSERT_NEAR(last, 7.5, 0.02);

    const lexi::StatisticsGraph inTotal = lexi::understandingGraph(week, GraphMode::total, texts);
    EXPECT_EQ(inTotal.graph.dataInstances().first().yValue, double(float(first)));
    EXPECT_EQ(inTotal.graph.dataInstances().first().ylabel, u"5.0%"_s);
    EXPECT_EQ(inTotal.graph.dataInstances().last().ylabel, u"7.5%"_s);
    EXPECT_EQ(inTotal.graph.dataInstances().last().xlabel, u"2026-05-20"_s);
    EXPECT_EQ(inTotal.graph.maximumData(), 100.0);
    EXPECT_EQ(inTotal.baseline, 0.0);
    EXPECT_EQ(lexi::understandingGraph(week, GraphMode::last30Days, texts).graph.maximumData(), 100.0);

    const lexi::StatisticsGraph lastWeek = lexi::understandingGraph(week, GraphMode::last7Days, texts);
    EXPECT_EQ(lastWeek.graph.maximumData(), std::max(last, double(float(last))));
    EXPECT_EQ(lastWeek.baseline, double(float(first)) - 2.0);
    EXPECT_NEAR(lastWeek.baseline, 3.0, 0.02);

    // A week that lost words keeps its higher days in the plot.
    QList<Snapshot> forgetting = week;
    std::reverse(forgetting.begin(), forgetting.end());
    EXPECT_EQ(lexi::understandingGraph(forgetting, GraphMode::last7Days, texts).graph.maximumData(),
              double(float(last)));

    // At 2 % or below the week starts at 0.
    const lexi::StatisticsGraph beginner =
        lexi::understandingGraph({snapshot(today, 0), snapshot(today, 40)}, GraphMode::last7Days, texts);
    EXPECT_EQ(beginner.baseline, 0.0);
    EXPECT_NEAR(beginner.graph.maximumData(), QLXStatistics::percentOfLanguage(40), 1e-6);
    EXPECT_EQ(lexi::understandingGraph({}, GraphMode::last7Days, texts).baseline, 0.0);
}

TEST(QLXGraphTest, MakesOnePointPerEntryOfTheFirstListGiven)
{
    const QLXGraph none = QLXGraph::initWithLabels(std::nullopt, std::nullopt, std::nullopt, std::nullopt);
    EXPECT_EQ(none.numberOfInstances(), 0);
    EXPECT_EQ(none.maximumData(), 0.0);
    EXPECT_EQ(none.minimumData(), 0x1p63);

    const QLXGraph graph =
        QLXGraph::initWithLabels(std::nullopt, QList<double>{0.1, -3, 2}, QStringList{u"a"_s}, std::nullopt);
    ASSERT_EQ(graph.numberOfInstances(), 3);
    EXPECT_EQ(graph.dataInstances()[0].yValue, double(0.1f));
    EXPECT_EQ(graph.dataInstances()[2].xValue, 2.0);
    EXPECT_EQ(graph.dataInstances()[0].xlabel, u"a"_s);
    EXPECT_TRUE(graph.dataInstances()[2].xlabel.isEmpty());
    EXPECT_EQ(graph.maximumData(), 2.0);
    EXPECT_EQ(graph.minimumData(), -3.0);

    const QLXGraph labelled = QLXGraph::initWithLabels(QStringList{u"x"_s, u"y"_s}, QList<double>{5}, std::nullopt,
                                                       QStringList{u"5"_s, u"6"_s});
    ASSERT_EQ(labelled.numberOfInstances(), 2);
    EXPECT_EQ(labelled.dataInstances()[1].label, u"y"_s);
    EXPECT_EQ(labelled.dataInstances()[1].yValue, 0.0);
    EXPECT_EQ(labelled.dataInstances()[1].ylabel, u"6"_s);
}

} // namespace
