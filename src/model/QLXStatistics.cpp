#include "QLXStatistics.h"

#include "DateDescription.h"
#include "StoredFormKeys.h"

#include "platform/files/StringTables.h"
#include "platform/values/Dates.h"
#include "platform/values/Format.h"
#include "platform/values/WholeNumbers.h"

#include <QDate>
#include <QDateTime>
#include <QJsonArray>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr double secondsInAnHour = 3600.0;

QDate localDate(lexi::Date date)
{
    return date.toDateTime().toLocalTime().date();
}

// The local calendar day of a snapshot's day, when it is a real day no later than `today`:
// plausible and after the stored form's zero of 1970, which stands for a missing day.
std::optional<QDate> calendarDay(lexi::Date day, QDate today)
{
    if (!day.isPlausible() || day.secondsSince1970() <= 0.0)
        return std::nullopt;
    const QDate date = localDate(day);
    if (!date.isValid() || date > today)
        return std::nullopt;
    return date;
}

} // namespace

QLXStatistics::QLXStatistics()
{
    m_dailySnapshots.reserve(30);
}

QLXStatistics QLXStatistics::initWithDictionary(const QJsonObject &dictionary)
{
    QLXStatistics statistics;
    const QJsonArray snapshots = dictionary[lexi::storedKey::dailySnapshots].toArray();
    statistics.m_dailySnapshots.reserve(snapshots.size());
    for (const QJsonValue &snapshot : snapshots) {
        if (snapshot.isObject())
            statistics.m_dailySnapshots.append(QLXDailyStatisticsSnapshot::initWithDictionary(snapshot.toObject()));
    }
    return statistics;
}

QJsonObject QLXStatistics::dictionaryRepresentation() const
{
    QJsonArray snapshots;
    for (const QLXDailyStatisticsSnapshot &snapshot : m_dailySnapshots)
        snapshots.append(snapshot.dictionaryRepresentation());
    return QJsonObject{{lexi::storedKey::dailySnapshots, snapshots}};
}

QLXStatistics QLXStatistics::initWithCoder(const lexi::KeyedDecoder &coder)
{
    QLXStatistics statistics;
    const auto snapshots = coder.decodeObjectArray<QLXDailyStatisticsSnapshot>("dailySnapshots");
    if (snapshots) {
        for (const std::shared_ptr<QLXDailyStatisticsSnapshot> &snapshot : *snapshots)
            statistics.m_dailySnapshots.append(*snapshot);
    }
    return statistics;
}

void QLXStatistics::encodeWithCoder(lexi::KeyedEncoder &coder) const
{
    coder.encodeObjectArray("dailySnapshots", m_dailySnapshots);
}

void QLXStatistics::addDailySnapshot(const QLXDailyStatisticsSnapshot &snapshot, lexi::AlertPresenter &alerts)
{
    if (m_dailySnapshots.isEmpty()) {
        m_dailySnapshots.append(snapshot);
        return;
    }
    const QLXDailyStatisticsSnapshot &newest = m_dailySnapshots.last();
    const std::weak_ordering order = newest.compareDates(snapshot);
    if (order > 0) {
        const auto text = [](const QString &key) { return lexi::StringTables::text(key); };
        alerts.runModal({text(u"Check your Date and Time settings"_s),
                         lexi::format(text(u"The last time we met was %@ but now is %@. So either your time settings "
                                           "are wrong or we are in the middle of a horrifying worm whole causing time "
                                           "and space to collapse. Anyway your statistics will not work proberly."_s),
                                      lexi::dateDescription(newest.day()), lexi::dateDescription(snapshot.day())),
                         {text(u"OK I change my settings"_s), text(u"OMG we're all gonna die!"_s)},
                         0});
    }
    if (order == 0)
        m_dailySnapshots.last() = snapshot;
    else
        m_dailySnapshots.append(snapshot);
}

std::optional<QLXDailyStatisticsSnapshot> QLXStatistics::lastSnapshot() const
{
    if (m_dailySnapshots.isEmpty())
        return std::nullopt;
    return m_dailySnapshots.last();
}

qint64 QLXStatistics::wordsLearnedTotal() const
{
    return m_dailySnapshots.isEmpty() ? 0 : m_dailySnapshots.last().numberOfAllExceptUnknown();
}

qint64 QLXStatistics::wordsLearnedToday(const lexi::Clock &clock) const
{
    if (m_dailySnapshots.isEmpty())
        return 0;
    const QLXDailyStatisticsSnapshot &newest = m_dailySnapshots.last();
    if (lexi::todaysDate(clock).secondsSince(newest.day()) > secondsInAnHour)
        return 0;
    if (m_dailySnapshots.size() == 1)
        return newest.numberOfAllExceptUnknown();
    return lexi::saturatingSubtract(newest.numberOfAllExceptUnknown(),
                                    m_dailySnapshots[m_dailySnapshots.size() - 2].numberOfAllExceptUnknown());
}

qint64 QLXStatistics::wordsLearnedThisWeek(const lexi::Clock &clock) const
{
    return wordsLearnedSince(clock, 6);
}

qint64 QLXStatistics::wordsLearnedThisMonth(const lexi::Clock &clock) const
{
    return wordsLearnedSince(clock, 29);
}

qint64 QLXStatistics::wordsLearnedSince(const lexi::Clock &clock, int daysBeforeToday) const
{
    if (m_dailySnapshots.isEmpty())
        return 0;
    const qint64 newest = m_dailySnapshots.last().numberOfAllExceptUnknown();
    if (m_dailySnapshots.size() == 1)
        return newest;
    // Calendar days, so that a week with a daylight-saving change still reaches back six days.
    const QDate baseDay = localDate(clock.now()).addDays(-daysBeforeToday);
    const auto base = std::find_if(m_dailySnapshots.crbegin(), m_dailySnapshots.crend(),
                                   [baseDay](const QLXDailyStatisticsSnapshot &snapshot) {
                                       return snapshot.day().isPlausible() && localDate(snapshot.day()) <= baseDay;
                                   });
    const QLXDailyStatisticsSnapshot &since = base != m_dailySnapshots.crend() ? *base : m_dailySnapshots.first();
    return lexi::saturatingSubtract(newest, since.numberOfAllExceptUnknown());
}

QList<QLXDailyStatisticsSnapshot> QLXStatistics::dailySnapshotsIncludingNullDays(const lexi::Clock &clock) const
{
    const QDate today = localDate(clock.now());
    QList<QLXDailyStatisticsSnapshot> result;
    result.reserve(m_dailySnapshots.size());
    std::optional<QDate> covered;
    std::optional<QDate> previousDay;
    for (const QLXDailyStatisticsSnapshot &snapshot : m_dailySnapshots) {
        const std::optional<QDate> day = calendarDay(snapshot.day(), today);
        if (day && previousDay) {
            // Days counted on the calendar, so a daylight-saving change neither drops nor
            // doubles one; each copy starts at its own local midnight.
            const QLXDailyStatisticsSnapshot previous = result.last();
            for (QDate missing = std::max(*previousDay, *covered).addDays(1); missing < *day;
                 missing = missing.addDays(1)) {
                QLXDailyStatisticsSnapshot copy = previous;
                copy.setDay(lexi::Date::fromDateTime(missing.startOfDay()));
                result.append(copy);
            }
        }
        result.append(snapshot);
        if (day)
            covered = covered ? std::max(*covered, *day) : *day;
        previousDay = day;
    }
    return result;
}

QList<QLXDailyStatisticsSnapshot> QLXStatistics::interpolatedSnapshots(qint64 count) const
{
    QList<QLXDailyStatisticsSnapshot> result = m_dailySnapshots;
    // Any target below the smallest list already asks for every pass there can be.
    qint64 surplus = qint64(result.size()) - std::max<qint64>(count, std::numeric_limits<qint32>::min());
    bool keepsNewest = true;
    // A list of one has nothing left to drop, whatever the target.
    while (surplus >= 10 && result.size() >= 2) {
        QList<QLXDailyStatisticsSnapshot> thinned;
        thinned.reserve((result.size() + 1) / 2);
        for (qsizetype i = 0; i < result.size(); i += 2)
            thinned.append(result[i]);
        if ((result.size() - 1) % 2 != 0)
            keepsNewest = false;
        surplus -= result.size() - thinned.size();
        result = std::move(thinned);
    }
    if (!keepsNewest)
        result.append(m_dailySnapshots.last());
    return result;
}

double QLXStatistics::percentOfLanguage(qint64 knownWords)
{
    if (knownWords == 0)
        return 0.0;
    const double n = double(knownWords);
    double x = 1.0;
    if (knownWords < 100)
        x = n * 0.0025;
    else if (knownWords < 500)
        x = 0.25 + (n - 100) * 0.000375;
    else if (knownWords < 1000)
        x = 0.4 + (n - 500) * 0.0004;
    else if (knownWords < 2000)
        x = 0.6 + (n - 1000) * 0.0001;
    else if (knownWords < 10000)
        x = 0.7 + (n - 2000) * 0.0000125;
    else if (knownWords < 20000)
        x = 0.8 + (n - 10000) * 0.00001;
    else if (knownWords < 100000)
        x = 0.9 + (n - 20000) * 0.00000125;
    // The curve is computed in single precision.
    const float t = std::tanh(float(x * 6.28318530718 - 3.14159265359));
    return (t * 0.5 + 0.5) * 100.0;
}
