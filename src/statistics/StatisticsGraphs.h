#pragma once

#include "QLXGraph.h"

#include "model/QLXStatistics.h"
#include "platform/ports/Clock.h"

#include <QList>
#include <QString>

#include <optional>

namespace lexi {

// How much of the history a graph shows.
enum class GraphMode { total, last30Days, last7Days };

// The mode of a mode control's segment: 0 total, 1 the last 30 days, 2 the last 7; none for
// any other segment.
std::optional<GraphMode> graphModeForSegment(int segment);

// The texts the graphs' labels are made with.
struct GraphTexts
{
    // A Qt date pattern for the days ("d MMM").
    QString dateFormat;
    // "%ld words".
    QString wordsFormat;

    // From the "Statistics" table.
    static GraphTexts fromStringTable();
};

// One snapshot per calendar day from the first recorded day up to today: missing days, and the
// days since the newest snapshot, are copies of the snapshot before them.
QList<QLXDailyStatisticsSnapshot> dailySnapshotsUpToToday(const QLXStatistics &statistics, const Clock &clock);

// The days a graph of `mode` shows: the last 30 or 7 (all when there are fewer), or in total mode
// 30 spread evenly over all of them, the first and the last among them (all when there are no
// more than 30).
QList<QLXDailyStatisticsSnapshot> snapshotsForGraph(const QList<QLXDailyStatisticsSnapshot> &days, GraphMode mode);

// A graph and the value drawn at the bottom of its plot.
struct StatisticsGraph
{
    QLXGraph graph;
    double baseline = 0.0;
};

// The known words of each day; its maximum is at least 8, its baseline 20 words below the
// smallest count (not below 0).
StatisticsGraph wordsGraph(const QList<QLXDailyStatisticsSnapshot> &days, const GraphTexts &texts);
// The share of the language understood on each day, up to 100 %. The 7-day graph reaches from
// 2 % below its smallest value (when that is above 2 %) up to its largest or the last day's value.
StatisticsGraph understandingGraph(const QList<QLXDailyStatisticsSnapshot> &days, GraphMode mode,
                                   const GraphTexts &texts);

} // namespace lexi
