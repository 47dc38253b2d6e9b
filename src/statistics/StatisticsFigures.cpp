#include "StatisticsFigures.h"

#include "StatisticsTable.h"

#include "logging/QLXLogMacros.h"
#include "platform/values/Format.h"
#include "platform/values/WholeNumbers.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

constexpr int qlxLogLevel = QLXLogLevelInfo;

// The words known after `coming` more: at least the words known today.
Outlook outlook(qint64 total, qint64 coming)
{
    const qint64 words = std::max(total, saturatingAdd(total, coming));
    return {words, QLXStatistics::percentOfLanguage(words)};
}

} // namespace

LearningCounts LearningCounts::of(const QLXStatistics &statistics, const Clock &clock)
{
    return {.today = statistics.wordsLearnedToday(clock),
            .thisWeek = statistics.wordsLearnedThisWeek(clock),
            .thisMonth = statistics.wordsLearnedThisMonth(clock),
            .total = statistics.wordsLearnedTotal(),
            .daysRecorded = statistics.numberOfDaysRecorded()};
}

StatisticsFigures statisticsFigures(const LearningCounts &counts)
{
    qint64 days = counts.daysRecorded;
    if (days <= 0) {
        QLXLogError("statisticsController > total days is zero");
        days = 1;
    }
    const qint64 total = counts.total;
    const qint64 totalPerDay = total / days;

    StatisticsFigures figures;
    figures.learntToday = counts.today;
    figures.learntThisWeek = counts.thisWeek;
    figures.learntThisWeekPerDay = counts.thisWeek / std::min<qint64>(days, 7);
    figures.learntThisMonth = counts.thisMonth;
    figures.learntThisMonthPerDay = counts.thisMonth / std::min<qint64>(days, 30);
    figures.learntTotal = total;
    figures.learntTotalPerDay = totalPerDay;
    figures.analysisPercent = QLXStatistics::percentOfLanguage(total);
    figures.analysisPlus100Percent = QLXStatistics::percentOfLanguage(saturatingAdd(total, 100));

    const bool hasAMonth = days >= 30;
    figures.outlookWeek = outlook(total, days >= 7 ? counts.thisWeek : saturatingMultiply(7, totalPerDay));
    figures.outlookMonth = outlook(total, hasAMonth ? counts.thisMonth : saturatingMultiply(30, totalPerDay));
    figures.outlook3Month =
        outlook(total, hasAMonth ? saturatingMultiply(3, counts.thisMonth) : saturatingMultiply(90, totalPerDay));
    figures.outlookYear =
        outlook(total, hasAMonth ? saturatingMultiply(12, counts.thisMonth) : saturatingMultiply(360, totalPerDay));
    return figures;
}

QString percentText(double percent)
{
    return format(u"%.2f%%", percent);
}

QString outlookText(const Outlook &outlook)
{
    return format(statisticsText(u"%ld words (%.2f%%)"_s), outlook.words, outlook.percent);
}

} // namespace lexi
