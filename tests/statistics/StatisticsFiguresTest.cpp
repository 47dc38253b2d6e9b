#include "statistics/StatisticsFigures.h"

#include "support/FakeVocabularyServices.h"
#include "support/RecordingLogger.h"

#include "logging/QLXLog.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;
using lexi::LearningCounts;
using lexi::StatisticsFigures;

namespace {

double percent(qint64 words)
{
    return QLXStatistics::percentOfLanguage(words);
}

TEST(StatisticsFiguresTest, DividesAsIntegersAndLooksAheadByTheRecentPace)
{
    const struct
    {
        const char *what;
        LearningCounts counts;
        qint64 weekPerDay, monthPerDay, totalPerDay;
        qint64 week, month, threeMonths, year;
    } cases[] = {
        // Without a day, each average is its count over one day and the outlook goes by the total.
        {"no day", {.today = 5, .thisWeek = 6, .thisMonth = 7, .total = 5, .daysRecorded = 0},
         6, 7, 5, 5 + 7 * 5, 5 + 30 * 5, 5 + 90 * 5, 5 + 360 * 5},
        {"three days", {.today = 2, .thisWeek = 10, .thisMonth = 10, .total = 10, .daysRecorded = 3},
         3, 3, 3, 10 + 7 * 3, 10 + 30 * 3, 10 + 90 * 3, 10 + 360 * 3},
        {"45 days", {.today = 0, .thisWeek = 14, .thisMonth = 60, .total = 500, .daysRecorded = 45},
         2, 2, 11, 500 + 14, 500 + 60, 500 + 180, 500 + 720},
        // A week divides by the days up to 6, by 7 from then on; its outlook takes the week's own
        // count from 7 days on.
        {"6 days", {.today = 0, .thisWeek = 13, .thisMonth = 13, .total = 60, .daysRecorded = 6},
         2, 2, 10, 60 + 70, 60 + 300, 60 + 900, 60 + 3600},
        {"7 days", {.today = 0, .thisWeek = 13, .thisMonth = 13, .total = 60, .daysRecorded = 7},
         1, 1, 8, 60 + 13, 60 + 240, 60 + 720, 60 + 2880},
        // A month likewise: by the days up to 29, by 30 from then on, and its own count from 30.
        {"29 days", {.today = 0, .thisWeek = 7, .thisMonth = 59, .total = 290, .daysRecorded = 29},
         1, 2, 10, 290 + 7, 290 + 300, 290 + 900, 290 + 3600},
        {"30 days", {.today = 0, .thisWeek = 7, .thisMonth = 59, .total = 290, .daysRecorded = 30},
         1, 1, 9, 290 + 7, 290 + 59, 290 + 177, 290 + 708},
        // Division truncates towards zero, also for words lost.
        {"words lost", {.today = -1, .thisWeek = -13, .thisMonth = -13, .total = 40, .daysRecorded = 3},
         -4, -4, 13, 40 + 91, 40 + 390, 40 + 1170, 40 + 4680},
        // Counts from a damaged file stay in range.
        {"huge total", {.today = 0, .thisWeek = 0, .thisMonth = 0, .total = std::numeric_limits<qint64>::max(),
                        .daysRecorded = 1},
         0, 0, std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max(),
         std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max()},
    };
    for (const auto &c : cases) {
        const StatisticsFigures figures = lexi::statisticsFigures(c.counts);
        EXPECT_EQ(figures.learntToday, c.counts.today) << c.what;
        EXPECT_EQ(figures.learntThisWeek, c.counts.thisWeek) << c.what;
        EXPECT_EQ(figures.learntThisMonth, c.counts.thisMonth) << c.what;
        EXPECT_EQ(figures.learntTotal, c.counts.total) << c.what;
        EXPECT_EQ(figures.learntThisWeekPerDay, c.weekPerDay) << c.what;
        EXPECT_EQ(figures.learntThisMonthPerDay, c.monthPerDay) << c.what;
        EXPECT_EQ(figures.learntTotalPerDay, c.totalPerDay) << c.what;
        EXPECT_EQ(figures.outlookWeek.words, c.week) << c.what;
        EXPECT_EQ(figures.outlookMonth.words, c.month) << c.what;
        EXPECT_EQ(figures.outlook3Month.words, c.threeMonths) << c.what;
        EXPECT_EQ(figures.outlookYear.words, c.year) << c.what;
        EXPECT_EQ(figures.outlookYear.percent, percent(c.year)) << c.what;
        EXPECT_EQ(figures.analysisPercent, percent(c.counts.total)) << c.what;
    }
}

TEST(StatisticsFiguresTest, TheAnalysisLooksAtTheTotalAndAHundredWordsMore)
{
    const StatisticsFigures figures = lexi::statisticsFigures({.total = 650, .daysRecorded = 10});
    EXPECT_EQ(figures.analysisPercent, percent(650));
    EXPECT_DOUBLE_EQ(figures.analysisPlus100Percent, 50.0);
    EXPECT_EQ(lexi::percentText(figures.analysisPlus100Percent), u"50.00%"_s);
    EXPECT_EQ(lexi::outlookText({1234, 77.776}), u"1234 words (77.78%)"_s);
}

// Weeks and months that lost words would otherwise forecast fewer words than the learner knows.
TEST(StatisticsFiguresTest, AnOutlookNeverFallsBelowTheWordsKnownToday)
{
    const StatisticsFigures figures =
        lexi::statisticsFigures({.thisWeek = -30, .thisMonth = -45, .total = 200, .daysRecorded = 40});
    for (const lexi::Outlook &outlook :
         {figures.outlookWeek, figures.outlookMonth, figures.outlook3Month, figures.outlookYear}) {
        EXPECT_EQ(outlook.words, 200);
        EXPECT_EQ(outlook.percent, percent(200));
    }
}

TEST(StatisticsFiguresTest, NoDayRecordedIsLoggedOncePerRefresh)
{
    auto logger = std::make_shared<RecordingLogger>();
    QLXLog::addLogger(logger);
    lexi::statisticsFigures({.daysRecorded = 0});
    lexi::statisticsFigures({.daysRecorded = 1});
    lexi::statisticsFigures({.daysRecorded = 0});
    QLXLog::flushLog();
    EXPECT_EQ(logger->texts(), QStringList(2, u"statisticsController > total days is zero"_s));
    QLXLog::removeAllLoggers();
}

TEST(StatisticsFiguresTest, CountsComeFromTheHistory)
{
    lexi::test::FakeClock clock(lexi::test::localTime(2026, 5, 20, 18));
    QLXStatistics history;
    QList<QLXDailyStatisticsSnapshot> days;
    for (const auto &[day, known] : {std::pair{1, 10}, {12, 25}, {14, 31}, {19, 40}, {20, 44}}) {
        QLXDailyStatisticsSnapshot snapshot(lexi::test::localMidnight(2026, 5, day));
        snapshot.setNumberOfWordsInLevel(2, known);
        snapshot.setNumberOfWordsInLevel(0, 100);
        days.append(snapshot);
    }
    history.setDailySnapshots(days);
    const LearningCounts counts = LearningCounts::of(history, clock);
    EXPECT_EQ(counts.today, 4);
    EXPECT_EQ(counts.thisWeek, 44 - 31);
    EXPECT_EQ(counts.thisMonth, 44 - 10);
    EXPECT_EQ(counts.total, 44);
    EXPECT_EQ(counts.daysRecorded, 5);
}

} // namespace
