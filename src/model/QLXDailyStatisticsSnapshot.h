#pragma once

#include "QLXWord.h"

#include "platform/plist/KeyedDecoder.h"
#include "platform/plist/KeyedEncoder.h"
#include "platform/values/Date.h"

#include <QJsonObject>
#include <QString>

#include <array>
#include <compare>

class Lexicarta;

// How many words one vocabulary had in each of the six levels on one day.
class QLXDailyStatisticsSnapshot
{
public:
    static constexpr const char *archiveClassName = "QLXDailyStatisticsSnapshot";

    // All counts 0.
    explicit QLXDailyStatisticsSnapshot(lexi::Date day);
    // The sizes of the vocabulary's per-level lists, today.
    static QLXDailyStatisticsSnapshot initWithVocabulary(const Lexicarta &vocabulary);

    // The element of "dailySnapshots" in the own file format. A missing, mistyped or implausible
    // "day" reads as 1970-01-01 00:00:00 UTC; missing, mistyped or negative counts as 0.
    static QLXDailyStatisticsSnapshot initWithDictionary(const QJsonObject &dictionary);
    QJsonObject dictionaryRepresentation() const;
    // The older product's keyed-archive form, read by the same rules.
    static QLXDailyStatisticsSnapshot initWithCoder(const lexi::KeyedDecoder &coder);
    void encodeWithCoder(lexi::KeyedEncoder &coder) const;

    // What a snapshot without a usable day is dated: the stored forms' zero.
    static constexpr lexi::Date missingDay = lexi::Date::fromSecondsSince1970(0.0);

    // The local midnight that starts the day.
    lexi::Date day() const { return m_day; }
    void setDay(lexi::Date day) { m_day = day; }
    // The day as the stored forms hold it: missingDay for one that is not plausible.
    lexi::Date storedDay() const { return m_day.isPlausible() ? m_day : missingDay; }
    // The count of `level`; level 5 counts every word of level 5 or more, and so does 5 here.
    qint64 numberOfWordsInLevel(quint64 level) const;
    void setNumberOfWordsInLevel(quint64 level, qint64 count);
    // The words known at all: levels 1 to 5.
    qint64 numberOfAllExceptUnknown() const;

    // Ascending when this day is more than an hour before the other's (whole seconds), descending
    // when more than an hour after, else the same. Tolerant of a daylight-saving hour, so it is
    // no ordering to sort by.
    std::weak_ordering compareDates(const QLXDailyStatisticsSnapshot &other) const;

    // "day [level0 level1 level2  level3 level4 level5]".
    QString description() const;

    friend bool operator==(const QLXDailyStatisticsSnapshot &, const QLXDailyStatisticsSnapshot &) = default;

private:
    static constexpr qsizetype levelCount = QLXWord::nativeLevel + 1;

    lexi::Date m_day;
    std::array<qint64, levelCount> m_counts{};
};
