#include "QLXDailyStatisticsSnapshot.h"

#include "DateDescription.h"
#include "JsonValues.h"
#include "Lexicarta.h"
#include "StoredFormKeys.h"

#include "platform/values/Dates.h"
#include "platform/values/WholeNumbers.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr std::array<const char *, 6> archiveKeys = {"numberOfUnknownWords", "numberOfUltraShortTermWords",
                                                     "numberOfShortTermWords", "numberOfMidTermWords",
                                                     "numberOfLongTermWords", "numberOfNativeWords"};

} // namespace

QLXDailyStatisticsSnapshot::QLXDailyStatisticsSnapshot(lexi::Date day) : m_day(day) {}

QLXDailyStatisticsSnapshot QLXDailyStatisticsSnapshot::initWithVocabulary(const Lexicarta &vocabulary)
{
    QLXDailyStatisticsSnapshot snapshot(lexi::todaysDate(vocabulary.services().clock));
    // Every quiz answer takes a snapshot just after its level move, which kept the per-level lists
    // up to date: their sizes are the counts.
    for (quint64 level = 0; level <= QLXWord::nativeLevel; ++level)
        snapshot.m_counts[qsizetype(level)] = vocabulary.wordsInLevel(level).size();
    return snapshot;
}

QLXDailyStatisticsSnapshot QLXDailyStatisticsSnapshot::initWithDictionary(const QJsonObject &dictionary)
{
    QLXDailyStatisticsSnapshot snapshot(lexi::json::dateValue(dictionary[lexi::storedKey::day]).value_or(missingDay));
    for (qsizetype level = 0; level < levelCount; ++level)
        snapshot.m_counts[level] = lexi::json::counterValue(dictionary[lexi::storedKey::levelCounts[level]]);
    return snapshot;
}

QJsonObject QLXDailyStatisticsSnapshot::dictionaryRepresentation() const
{
    QJsonObject dictionary;
    dictionary[lexi::storedKey::day] = storedDay().secondsSince1970();
    for (qsizetype level = 0; level < levelCount; ++level) {
        if (m_counts[level] > 0)
            dictionary[lexi::storedKey::levelCounts[level]] = m_counts[level];
    }
    return dictionary;
}

QLXDailyStatisticsSnapshot QLXDailyStatisticsSnapshot::initWithCoder(const lexi::KeyedDecoder &coder)
{
    QLXDailyStatisticsSnapshot snapshot(coder.decodeDate("day").value_or(missingDay));
    for (qsizetype level = 0; level < levelCount; ++level) {
        // The older product wrote the ultra-short-term count as a 32-bit number.
        const qint64 count = level == 1 ? coder.decodeInt32(archiveKeys[level]) : coder.decodeInt64(archiveKeys[level]);
        snapshot.m_counts[level] = std::max<qint64>(0, count);
    }
    return snapshot;
}

void QLXDailyStatisticsSnapshot::encodeWithCoder(lexi::KeyedEncoder &coder) const
{
    for (qsizetype level = 0; level < levelCount; ++level)
        coder.encodeInt64(archiveKeys[level], m_counts[level]);
    coder.encodeDate("day", m_day);
}

qint64 QLXDailyStatisticsSnapshot::numberOfWordsInLevel(quint64 level) const
{
    return m_counts[QLXWord::effectiveLevel(level)];
}

void QLXDailyStatisticsSnapshot::setNumberOfWordsInLevel(quint64 level, qint64 count)
{
    m_counts[QLXWord::effectiveLevel(level)] = count;
}

qint64 QLXDailyStatisticsSnapshot::numberOfAllExceptUnknown() const
{
    qint64 known = 0;
    for (qsizetype level = 1; level < levelCount; ++level)
        known = lexi::saturatingAdd(known, m_counts[level]);
    return known;
}

std::weak_ordering QLXDailyStatisticsSnapshot::compareDates(const QLXDailyStatisticsSnapshot &other) const
{
    // In floating point: whole seconds of any stored value, without overflow.
    const double difference = std::trunc(m_day.secondsSince1970()) - std::trunc(other.m_day.secondsSince1970());
    if (difference < -3600.0)
        return std::weak_ordering::less;
    if (difference > 3600.0)
        return std::weak_ordering::greater;
    return std::weak_ordering::equivalent;
}

QString QLXDailyStatisticsSnapshot::description() const
{
    const auto count = [this](int level) { return QString::number(m_counts[level]); };
    return u"%1 [%2 %3 %4  %5 %6 %7]"_s.arg(lexi::dateDescription(m_day), count(0), count(1), count(2), count(3),
                                          count(4), count(5));
}
