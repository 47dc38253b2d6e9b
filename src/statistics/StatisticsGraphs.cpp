#include "StatisticsGraphs.h"

#include "GraphGeometry.h"
#include "StatisticsTable.h"

#include "platform/values/Format.h"

#include <QDate>
#include <QLocale>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

using Snapshot = QLXDailyStatisticsSnapshot;

constexpr qsizetype pointsInTotal = 30;

QDate localDay(const Snapshot &snapshot)
{
    return snapshot.day().toDateTime().toLocalTime().date();
}

QString dayText(const Snapshot &snapshot, const GraphTexts &texts)
{
    return QLocale().toString(localDay(snapshot), texts.dateFormat);
}

QStringList dayTexts(const QList<Snapshot> &days, const GraphTexts &texts)
{
    QStringList result;
    result.reserve(days.size());
    for (const Snapshot &day : days)
        result.append(dayText(day, texts));
    return result;
}

// `count` indices spread evenly from the first to the last of `size` (size > count > 1), each
// the nearest to its exact place.
QList<Snapshot> evenlySpread(const QList<Snapshot> &days, qsizetype count)
{
    QList<Snapshot> result;
    result.reserve(count);
    const qsizetype last = days.size() - 1;
    for (qsizetype i = 0; i < count; ++i)
        result.append(days[(2 * i * last + (count - 1)) / (2 * (count - 1))]);
    return result;
}

void finishWithBaseline(StatisticsGraph &result, double baseline)
{
    result.baseline = GraphGeometry::acceptedBaseline(baseline, result.graph.maximumData());
}

} // namespace

std::optional<GraphMode> graphModeForSegment(int segment)
{
    switch (segment) {
    case 0:
        return GraphMode::total;
    case 1:
        return GraphMode::last30Days;
    case 2:
        return GraphMode::last7Days;
    default:
        return std::nullopt;
    }
}

GraphTexts GraphTexts::fromStringTable()
{
    return {statisticsText(u"dateFormat"_s), statisticsText(u"%ld words"_s)};
}

QList<Snapshot> dailySnapshotsUpToToday(const QLXStatistics &statistics, const Clock &clock)
{
    QList<Snapshot> days = statistics.dailySnapshotsIncludingNullDays(clock);
    if (days.isEmpty())
        return days;
    // The latest real day (the stored forms' zero stands for a missing one), also in a list that
    // left date order when the clock went back.
    std::optional<Date> latest;
    for (const Snapshot &snapshot : days) {
        if (snapshot.day().isPlausible() && snapshot.day() > Snapshot::missingDay)
            latest = latest ? std::max(*latest, snapshot.day()) : snapshot.day();
    }
    if (!latest)
        return days;
    const Snapshot newest = days.last();
    const QDate today = clock.now().toDateTime().toLocalTime().date();
    for (QDate day = latest->toDateTime().toLocalTime().date().addDays(1); day <= today; day = day.addDays(1)) {
        Snapshot copy = newest;
        copy.setDay(Date::fromDateTime(day.startOfDay()));
        days.append(copy);
    }
    return days;
}

QList<Snapshot> snapshotsForGraph(const QList<Snapshot> &days, GraphMode mode)
{
    switch (mode) {
    case GraphMode::total:
        return days.size() <= pointsInTotal ? days : evenlySpread(days, pointsInTotal);
    case GraphMode::last30Days:
        return days.mid(std::max<qsizetype>(0, days.size() - 30));
    case GraphMode::last7Days:
        return days.mid(std::max<qsizetype>(0, days.size() - 7));
    }
    return days;
}

StatisticsGraph wordsGraph(const QList<Snapshot> &days, const GraphTexts &texts)
{
    QList<double> values;
    QStringList valueTexts;
    values.reserve(days.size());
    valueTexts.reserve(days.size());
    for (const Snapshot &day : days) {
        const qint64 known = day.numberOfAllExceptUnknown();
        values.append(double(known));
        valueTexts.append(format(texts.wordsFormat, known));
    }
    StatisticsGraph result{QLXGraph::initWithLabels(std::nullopt, values, dayTexts(days, texts), valueTexts)};
    if (result.graph.maximumData() == 0.0)
        result.graph.setMaximumData(8.0);
    finishWithBaseline(result, result.graph.minimumData() - 20.0);
    return result;
}

StatisticsGraph understandingGraph(const QList<Snapshot> &days, GraphMode mode, const GraphTexts &texts)
{
    QList<double> values;
    QStringList valueTexts;
    values.reserve(days.size());
    valueTexts.reserve(days.size());
    for (const Snapshot &day : days) {
        const float percent = float(QLXStatistics::percentOfLanguage(day.numberOfAllExceptUnknown()));
        values.append(percent);
        valueTexts.append(format(u"%.1f%%", percent));
    }
    StatisticsGraph result{QLXGraph::initWithLabels(std::nullopt, values, dayTexts(days, texts), valueTexts)};
    const bool lastWeek = mode == GraphMode::last7Days;
    double baseline = 0.0;
    if (lastWeek && !days.isEmpty()) {
        // The series' own maximum too, so that no earlier, higher day falls out of the plot.
        const double lastDay = QLXStatistics::percentOfLanguage(days.last().numberOfAllExceptUnknown());
        result.graph.setMaximumData(std::max(lastDay, result.graph.maximumData()));
    } else {
        result.graph.setMaximumData(100.0);
    }
    if (lastWeek && result.graph.minimumData() > 2.0)
        baseline = result.graph.minimumData() - 2.0;
    finishWithBaseline(result, baseline);
    return result;
}

} // namespace lexi
