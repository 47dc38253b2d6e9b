#pragma once

#include "model/QLXStatistics.h"
#include "platform/ports/Clock.h"

#include <QString>

namespace lexi {

// What the statistics tab's figures are made of: the known words learnt today, this week, this
// month and in total, and the number of days recorded.
struct LearningCounts
{
    qint64 today = 0;
    qint64 thisWeek = 0;
    qint64 thisMonth = 0;
    qint64 total = 0;
    qint64 daysRecorded = 0;

    static LearningCounts of(const QLXStatistics &statistics, const Clock &clock);
};

// A number of known words some time from now, and the share of the language it stands for.
struct Outlook
{
    qint64 words = 0;
    double percent = 0.0;
};

// The overview page's figures. Averages are whole words per day, divided as integers.
struct StatisticsFigures
{
    qint64 learntToday = 0;
    qint64 learntThisWeek = 0;
    qint64 learntThisWeekPerDay = 0;
    qint64 learntThisMonth = 0;
    qint64 learntThisMonthPerDay = 0;
    qint64 learntTotal = 0;
    qint64 learntTotalPerDay = 0;
    double analysisPercent = 0.0;
    double analysisPlus100Percent = 0.0;
    Outlook outlookWeek;
    Outlook outlookMonth;
    Outlook outlook3Month;
    Outlook outlookYear;
};

// The figures of `counts`. Without a day recorded it logs an error and divides by one day. An
// outlook never falls below the words known today, even when the recent days lost words.
StatisticsFigures statisticsFigures(const LearningCounts &counts);

// "12.34%".
QString percentText(double percent);
// "%ld words (%.2f%%)" of the "Statistics" table, filled with the outlook.
QString outlookText(const Outlook &outlook);

} // namespace lexi
