#include "support/GeneratedVocabulary.h"

#include "statistics/StatisticsFigures.h"
#include "statistics/StatisticsGraphs.h"

#include <QDate>

#include <benchmark/benchmark.h>

namespace {

// Ten years of statistics, one snapshot a day up to today, the known words slowly growing.
QLXStatistics tenYearsOfDays(const lexi::Clock &clock)
{
    const QDate today = clock.now().toDateTime().toLocalTime().date();
    QList<QLXDailyStatisticsSnapshot> days;
    const int count = 3650;
    days.reserve(count);
    for (int i = 0; i < count; ++i) {
        QLXDailyStatisticsSnapshot day(lexi::Date::fromDateTime(today.addDays(i - count + 1).startOfDay()));
        day.setNumberOfWordsInLevel(0, 50000 - 12 * i);
        day.setNumberOfWordsInLevel(2, 5 * i);
        day.setNumberOfWordsInLevel(5, 7 * i);
        days.append(day);
    }
    QLXStatistics statistics;
    statistics.setDailySnapshots(days);
    return statistics;
}

// What the statistics tab works out when it shows: the overview's figures and both graphs, each
// graph from its own days as it is rebuilt on its own after a mode change.
void BM_StatisticsTabFigures(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services());
    const lexi::Clock &clock = services.services().clock;
    vocabulary->setStatistics(tenYearsOfDays(clock));
    const lexi::GraphTexts texts = lexi::GraphTexts::fromStringTable();
    for (auto _ : state) {
        const QLXStatistics &statistics = vocabulary->statistics();
        benchmark::DoNotOptimize(lexi::statisticsFigures(lexi::LearningCounts::of(statistics, clock)));
        const auto wordDays =
            lexi::snapshotsForGraph(lexi::dailySnapshotsUpToToday(statistics, clock), lexi::GraphMode::total);
        benchmark::DoNotOptimize(lexi::wordsGraph(wordDays, texts));
        const auto understandingDays =
            lexi::snapshotsForGraph(lexi::dailySnapshotsUpToToday(statistics, clock), lexi::GraphMode::last7Days);
        benchmark::DoNotOptimize(lexi::understandingGraph(understandingDays, lexi::GraphMode::last7Days, texts));
    }
}
BENCHMARK(BM_StatisticsTabFigures)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
