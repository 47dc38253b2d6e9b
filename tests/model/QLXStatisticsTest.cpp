// The tests of local days run in Europe/Berlin: clocks go forward on 29 March 2026 and back on
// 25 October 2026.
#include "support/FakeVocabularyServices.h"
#include "support/KeyedArchiveTesting.h"
#include "support/ScopedTimeZone.h"

#include "model/Lexicarta.h"
#include "model/QLXStatistics.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;
using lexi::Date;
using lexi::test::localMidnight;
using lexi::test::localTime;
using Snapshot = QLXDailyStatisticsSnapshot;

namespace {

QJsonObject json(const char *text)
{
    return QJsonDocument::fromJson(QByteArray(text)).object();
}

Snapshot snapshot(Date day, qint64 known, qint64 unknown = 0)
{
    Snapshot s(day);
    s.setNumberOfWordsInLevel(0, unknown);
    s.setNumberOfWordsInLevel(1, known);
    return s;
}

QLXStatistics statistics(const QList<Snapshot> &snapshots)
{
    QLXStatistics result;
    result.setDailySnapshots(snapshots);
    return result;
}

QList<Date> days(const QList<Snapshot> &snapshots)
{
    QList<Date> result;
    for (const Snapshot &s : snapshots)
        result.append(s.day());
    return result;
}

QList<qint64> knownCounts(const QList<Snapshot> &snapshots)
{
    QList<qint64> result;
    for (const Snapshot &s : snapshots)
        result.append(s.numberOfAllExceptUnknown());
    return result;
}

TEST(QLXDailyStatisticsSnapshotTest, CountsTheVocabularysLevelsOnTodaysMidnight)
{
    lexi::test::FakeVocabularyServices fakes;
    fakes.clock.setNow(localTime(2026, 3, 29, 15));
    const auto vocabulary = Lexicarta::create(fakes.services);
    for (quint64 level : {0, 1, 1, 4, 5, 8}) {
        auto word = std::make_shared<QLXWord>(u"w"_s, u"w"_s);
        word->setLevel(level);
        vocabulary->addWord(word);
    }
    const Snapshot today = Snapshot::initWithVocabulary(*vocabulary);
    EXPECT_EQ(today.day(), localMidnight(2026, 3, 29));
    const qint64 expected[] = {1, 2, 0, 0, 1, 2};
    for (quint64 level = 0; level < 6; ++level)
        EXPECT_EQ(today.numberOfWordsInLevel(level), expected[level]) << level;
    EXPECT_EQ(today.numberOfAllExceptUnknown(), 5);
}

TEST(QLXDailyStatisticsSnapshotTest, DatesWithinAnHourCompareTheSameByWholeSeconds)
{
    const struct
    {
        double secondsLater;
        std::weak_ordering order;
    } cases[] = {{0, std::weak_ordering::equivalent},   {3600, std::weak_ordering::equivalent},
                 {3600.9, std::weak_ordering::equivalent}, {3601, std::weak_ordering::less},
                 {-3600, std::weak_ordering::equivalent}, {-3601, std::weak_ordering::greater},
                 {86400, std::weak_ordering::less}};
    const Date day = localMidnight(2026, 1, 5);
    for (const auto &c : cases)
        EXPECT_EQ(Snapshot(day).compareDates(Snapshot(day.addingSeconds(c.secondsLater))), c.order) << c.secondsLater;
}

TEST(QLXDailyStatisticsSnapshotTest, DescriptionShowsTheDayAndTheSixCounts)
{
    Snapshot s(Date::fromSecondsSince1970(1430690400.0));
    for (quint64 level = 0; level < 6; ++level)
        s.setNumberOfWordsInLevel(level, qint64(level) + 1);
    EXPECT_EQ(s.description(), u"2015-05-03 22:00:00 +0000 [1 2 3  4 5 6]"_s);
}

TEST(QLXDailyStatisticsSnapshotTest, DictionaryWritesTheDayAndTheCountsAboveZero)
{
    Snapshot s = snapshot(Date::fromSecondsSince1970(1430690400.5), 7, 3);
    s.setNumberOfWordsInLevel(5, 2);
    EXPECT_EQ(s.dictionaryRepresentation(), json(R"({"day": 1430690400.5, "noU": 3, "noUST": 7, "noN": 2})"));
    EXPECT_EQ(Snapshot::initWithDictionary(s.dictionaryRepresentation()), s);
}

TEST(QLXDailyStatisticsSnapshotTest, DictionaryValuesOfTheWrongKindReadAsMissing)
{
    const Date zero = Date::fromSecondsSince1970(0);
    const struct
    {
        const char *dictionary;
        Date day;
        qint64 counts[6];
    } cases[] = {
        {R"({"day": 1430690400})", Date::fromSecondsSince1970(1430690400), {0, 0, 0, 0, 0, 0}},
        {R"({})", zero, {0, 0, 0, 0, 0, 0}},
        {R"({"day": "today", "noU": "3"})", zero, {0, 0, 0, 0, 0, 0}},
        {R"({"day": 1e300, "noST": -4, "noMT": 2.9})", zero, {0, 0, 0, 2, 0, 0}},
        {R"({"noU": 1, "noUST": 2, "noST": 3, "noMT": 4, "noLT": 5, "noN": 6})", zero, {1, 2, 3, 4, 5, 6}},
    };
    for (const auto &c : cases) {
        const Snapshot s = Snapshot::initWithDictionary(json(c.dictionary));
        EXPECT_EQ(s.day(), c.day) << c.dictionary;
        for (quint64 level = 0; level < 6; ++level)
            EXPECT_EQ(s.numberOfWordsInLevel(level), c.counts[level]) << c.dictionary << " level " << level;
    }
}

TEST(QLXDailyStatisticsSnapshotTest, KeyedArchiveRoundTripHoldsTheUltraShortCountTo32Bits)
{
    Snapshot s = snapshot(Date::fromSecondsSinceReferenceDate(452000000.25), 7, 3);
    s.setNumberOfWordsInLevel(4, 1);
    EXPECT_EQ(lexi::test::archiveRoundTrip(s), s);

    s.setNumberOfWordsInLevel(1, qint64(1) << 33);
    s.setNumberOfWordsInLevel(2, qint64(1) << 33);
    s.setNumberOfWordsInLevel(3, -5);
    const Snapshot read = lexi::test::archiveRoundTrip(s);
    EXPECT_EQ(read.numberOfWordsInLevel(1), 0);
    EXPECT_EQ(read.numberOfWordsInLevel(2), qint64(1) << 33);
    EXPECT_EQ(read.numberOfWordsInLevel(3), 0);
}

TEST(QLXStatisticsTest, DictionaryAndArchiveKeepTheSnapshotsInOrder)
{
    const QLXStatistics history =
        statistics({snapshot(localMidnight(2026, 1, 5), 1), snapshot(localMidnight(2026, 1, 7), 4)});
    const QJsonObject dictionary = history.dictionaryRepresentation();
    EXPECT_EQ(dictionary.keys(), QStringList{u"dailySnapshots"_s});
    EXPECT_EQ(QLXStatistics::initWithDictionary(dictionary).dailySnapshots(), history.dailySnapshots());
    EXPECT_EQ(lexi::test::archiveRoundTrip(history).dailySnapshots(), history.dailySnapshots());

    EXPECT_TRUE(QLXStatistics::initWithDictionary({}).dailySnapshots().isEmpty());
    const QLXStatistics notAList = QLXStatistics::initWithDictionary(json(R"({"dailySnapshots": {"day": 1}})"));
    EXPECT_TRUE(notAList.dailySnapshots().isEmpty());
    const QLXStatistics mixed =
        QLXStatistics::initWithDictionary(json(R"({"dailySnapshots": [7, {"day": 1e9}, null]})"));
    EXPECT_EQ(days(mixed.dailySnapshots()), QList<Date>{Date::fromSecondsSince1970(1e9)});
}

class AddDailySnapshotTest : public testing::Test
{
protected:
    // First, so that the day below is Berlin's midnight.
    lexi::test::ScopedTimeZone berlin{"Europe/Berlin"};
    lexi::test::RecordingAlertPresenter alerts;
    QLXStatistics history = statistics({snapshot(localMidnight(2026, 1, 10), 1)});
};

TEST_F(AddDailySnapshotTest, TheSameDayIsReplacedAndANewDayAppended)
{
    history.addDailySnapshot(snapshot(localMidnight(2026, 1, 10), 2), alerts);
    EXPECT_EQ(knownCounts(history.dailySnapshots()), QList<qint64>{2});
    history.addDailySnapshot(snapshot(localMidnight(2026, 1, 10).addingSeconds(-1800), 3), alerts);
    EXPECT_EQ(knownCounts(history.dailySnapshots()), QList<qint64>{3});
    history.addDailySnapshot(snapshot(localMidnight(2026, 1, 11), 4), alerts);
    EXPECT_EQ(knownCounts(history.dailySnapshots()), (QList<qint64>{3, 4}));
    EXPECT_TRUE(alerts.alerts.isEmpty());
    EXPECT_EQ(history.lastSnapshot()->numberOfAllExceptUnknown(), 4);
}

TEST_F(AddDailySnapshotTest, AnEarlierDayMeansTheClockWentBackAndIsAppendedAfterTheAlert)
{
    history.addDailySnapshot(snapshot(localMidnight(2026, 1, 8), 5), alerts);
    ASSERT_EQ(alerts.alerts.size(), 1);
    EXPECT_EQ(alerts.alerts[0].title, u"Check your Date and Time settings"_s);
    EXPECT_EQ(alerts.alerts[0].message,
              u"The last time we met was 2026-01-09 23:00:00 +0000 but now is 2026-01-07 23:00:00 +0000. So either "
              "your time settings are wrong or we are in the middle of a horrifying worm whole causing time and "
              "space to collapse. Anyway your statistics will not work proberly."_s);
    EXPECT_EQ(alerts.alerts[0].buttons, (QStringList{u"OK I change my settings"_s, u"OMG we're all gonna die!"_s}));
    EXPECT_EQ(knownCounts(history.dailySnapshots()), (QList<qint64>{1, 5}));

    // Later answers of that day replace it without another alert.
    history.addDailySnapshot(snapshot(localMidnight(2026, 1, 8), 6), alerts);
    EXPECT_EQ(alerts.alerts.size(), 1);
    EXPECT_EQ(knownCounts(history.dailySnapshots()), (QList<qint64>{1, 6}));
}

struct LearnedCase
{
    const char *what;
    QList<std::pair<Date, qint64>> history; // day, known words
    qint64 today, week, month, total;
};

TEST(QLXStatisticsTest, WordsLearnedTodayThisWeekThisMonthAndInTotal)
{
    // Today is Wednesday 1 April 2026; the Sunday before was 23 hours long.
    lexi::test::FakeClock clock(localTime(2026, 4, 1, 18));
    const LearnedCase cases[] = {
        {"no snapshots", {}, 0, 0, 0, 0},
        {"only today", {{localMidnight(2026, 4, 1), 5}}, 5, 5, 5, 5},
        {"only yesterday", {{localMidnight(2026, 3, 31), 5}}, 0, 5, 5, 5},
        {"yesterday then nothing", {{localMidnight(2026, 3, 30), 2}, {localMidnight(2026, 3, 31), 5}}, 0, 3, 3, 5},
        {"a busy month",
         {{localMidnight(2026, 2, 20), 1},
          {localMidnight(2026, 3, 3), 2},
          {localMidnight(2026, 3, 10), 4},
          {localMidnight(2026, 3, 26), 6},
          {localMidnight(2026, 3, 31), 9},
          {localMidnight(2026, 4, 1), 12}},
         3, 6, 10, 12},
        {"forgetting", {{localMidnight(2026, 3, 31), 10}, {localMidnight(2026, 4, 1), 7}}, -3, -3, -3, 7},
        {"the oldest when none is old enough",
         {{localMidnight(2026, 3, 29), 2}, {localMidnight(2026, 3, 30), 3}, {localMidnight(2026, 4, 1), 8}},
         5, 6, 6, 8},
    };
    for (const auto &c : cases) {
        QList<Snapshot> snapshots;
        for (const auto &[day, known] : c.history)
            snapshots.append(snapshot(day, known, 100));
        const QLXStatistics history = statistics(snapshots);
        EXPECT_EQ(history.wordsLearnedToday(clock), c.today) << c.what;
        EXPECT_EQ(history.wordsLearnedThisWeek(clock), c.week) << c.what;
        EXPECT_EQ(history.wordsLearnedThisMonth(clock), c.month) << c.what;
        EXPECT_EQ(history.wordsLearnedTotal(), c.total) << c.what;
        EXPECT_EQ(history.numberOfDaysRecorded(), c.history.size()) << c.what;
    }
}

TEST(QLXStatisticsTest, GapsAreFilledWithCopiesOfTheDayBefore)
{
    lexi::test::FakeClock clock(localTime(2026, 1, 20, 12));
    const QLXStatistics history = statistics({snapshot(localMidnight(2026, 1, 5), 1),
                                              snapshot(localMidnight(2026, 1, 8), 4),
                                              snapshot(localMidnight(2026, 1, 9), 5)});
    const QList<Snapshot> filled = history.dailySnapshotsIncludingNullDays(clock);
    EXPECT_EQ(days(filled), (QList<Date>{localMidnight(2026, 1, 5), localMidnight(2026, 1, 6),
                                         localMidnight(2026, 1, 7), localMidnight(2026, 1, 8),
                                         localMidnight(2026, 1, 9)}));
    EXPECT_EQ(knownCounts(filled), (QList<qint64>{1, 1, 1, 4, 5}));
}

TEST(QLXStatisticsTest, GapFillingCountsCalendarDaysAcrossDaylightSavingChanges)
{
    const lexi::test::ScopedTimeZone berlin("Europe/Berlin");
    lexi::test::FakeClock clock(localTime(2026, 11, 1, 12));
    const struct
    {
        Date from, to;
        QList<Date> copies;
    } cases[] = {
        // A gap made shorter by the 23-hour Sunday still misses two days.
        {localMidnight(2026, 3, 28),
         localMidnight(2026, 3, 31),
         {localMidnight(2026, 3, 29), localMidnight(2026, 3, 30)}},
        // After the 25-hour Sunday the Monday copy is Monday's midnight, not Sunday evening.
        {localMidnight(2026, 10, 24),
         localMidnight(2026, 10, 27),
         {localMidnight(2026, 10, 25), localMidnight(2026, 10, 26)}},
    };
    for (const auto &c : cases) {
        const QList<Snapshot> filled =
            statistics({snapshot(c.from, 1), snapshot(c.to, 2)}).dailySnapshotsIncludingNullDays(clock);
        EXPECT_EQ(days(filled), QList<Date>{c.from} + c.copies + QList<Date>{c.to});
    }
    EXPECT_EQ(localMidnight(2026, 3, 30).secondsSince(localMidnight(2026, 3, 29)), 23 * 3600);
}

TEST(QLXStatisticsTest, GapFillingIsBoundedByRealDaysAndToday)
{
    lexi::test::FakeClock clock(localTime(2026, 1, 10, 12));
    const Date missingDay = Date::fromSecondsSince1970(0);
    const Date nonsense = Date::fromSecondsSinceReferenceDate(std::numeric_limits<double>::quiet_NaN());
    const struct
    {
        const char *what;
        QList<Date> stored;
        qsizetype filledCount;
    } cases[] = {
        {"a missing day of 1970 first", {missingDay, localMidnight(2026, 1, 5)}, 2},
        {"not a number between", {localMidnight(2026, 1, 1), nonsense, localMidnight(2026, 1, 4)}, 3},
        {"far in the future", {localMidnight(2026, 1, 1), Date::fromSecondsSince1970(1e11)}, 2},
        {"a day in the year 8941",
         {localMidnight(2026, 1, 1), Date::fromSecondsSince1970(2.2e11), localMidnight(2026, 1, 3)},
         3},
        // 1 to 5 fills 2, 3, 4; 3 after 5 fills nothing; 7 after 3 fills only 6, the one day not
        // yet covered.
        {"out of order",
         {localMidnight(2026, 1, 1), localMidnight(2026, 1, 5), localMidnight(2026, 1, 3), localMidnight(2026, 1, 7)},
         8},
    };
    for (const auto &c : cases) {
        QList<Snapshot> stored;
        for (Date day : c.stored)
            stored.append(snapshot(day, 1));
        EXPECT_EQ(statistics(stored).dailySnapshotsIncludingNullDays(clock).size(), c.filledCount) << c.what;
    }
}

QList<Snapshot> consecutiveDays(int count)
{
    QList<Snapshot> snapshots;
    for (int i = 0; i < count; ++i)
        snapshots.append(snapshot(localMidnight(2025, 1, 1).addingSeconds(i * 86400.0), i));
    return snapshots;
}

TEST(QLXStatisticsTest, ThinningHalvesUntilCloseToTheTargetAndEndsWithTheNewest)
{
    const struct
    {
        int count;
        qint64 target;
        std::optional<QList<qint64>> kept; // known counts, which number the days; none: all of them
    } cases[] = {
        {25, 10, QList<qint64>{0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24}},
        {24, 10, QList<qint64>{0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 23}},
        {25, 16, std::nullopt},
        {25, 25, std::nullopt},
        {40, 5, QList<qint64>{0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 39}},
        {5, -100, QList<qint64>{0, 4}},
        {5, std::numeric_limits<qint64>::min(), QList<qint64>{0, 4}},
        {1, -100, QList<qint64>{0}},
        {0, -100, QList<qint64>{}},
    };
    for (const auto &c : cases) {
        const QLXStatistics history = statistics(consecutiveDays(c.count));
        EXPECT_EQ(knownCounts(history.interpolatedSnapshots(c.target)),
                  c.kept.value_or(knownCounts(history.dailySnapshots())))
            << c.count << " snapshots, target " << c.target;
    }
}

TEST(QLXStatisticsTest, PercentOfLanguageFollowsTheSCurve)
{
    const struct
    {
        qint64 words;
        double percent;
        double tolerance;
    } cases[] = {{0, 0, 0},        {1, 0.19, 0.01},     {750, 50, 1e-4},    {1000, 77.8, 0.05},
                 {100000, 99.8, 0.02}, {-50, 0, 0.2}};
    for (const auto &c : cases)
        EXPECT_NEAR(QLXStatistics::percentOfLanguage(c.words), c.percent, c.tolerance) << c.words;
    EXPECT_EQ(QLXStatistics::percentOfLanguage(100000),
              QLXStatistics::percentOfLanguage(std::numeric_limits<qint64>::max()));
    // The scale has no jumps where its pieces meet.
    for (qint64 boundary : {100, 500, 1000, 2000, 10000, 20000, 100000})
        EXPECT_NEAR(QLXStatistics::percentOfLanguage(boundary), QLXStatistics::percentOfLanguage(boundary - 1), 0.5)
            << boundary;
}

} // namespace
