#pragma once

#include "QLXDailyStatisticsSnapshot.h"

#include "platform/plist/KeyedDecoder.h"
#include "platform/plist/KeyedEncoder.h"
#include "platform/ports/AlertPresenter.h"
#include "platform/ports/Clock.h"

#include <QJsonObject>
#include <QList>

#include <optional>

// The learning history of one vocabulary: one snapshot of the level counts per calendar day,
// oldest first. The day's snapshot is replaced while the day lasts.
class QLXStatistics
{
public:
    static constexpr const char *archiveClassName = "QLXStatistics";

    QLXStatistics();

    // {"dailySnapshots": [snapshot dictionaries]}; a missing or mistyped list reads as empty, and
    // elements that are not dictionaries are skipped.
    static QLXStatistics initWithDictionary(const QJsonObject &dictionary);
    QJsonObject dictionaryRepresentation() const;
    static QLXStatistics initWithCoder(const lexi::KeyedDecoder &coder);
    void encodeWithCoder(lexi::KeyedEncoder &coder) const;

    const QList<QLXDailyStatisticsSnapshot> &dailySnapshots() const { return m_dailySnapshots; }
    void setDailySnapshots(const QList<QLXDailyStatisticsSnapshot> &snapshots) { m_dailySnapshots = snapshots; }

    // Replaces the newest snapshot when `snapshot` is of the same day (within an hour), else
    // appends it. A snapshot more than an hour before the newest means the clock went back: the
    // learner is told through `alerts`, and the snapshot is appended all the same.
    void addDailySnapshot(const QLXDailyStatisticsSnapshot &snapshot, lexi::AlertPresenter &alerts);
    std::optional<QLXDailyStatisticsSnapshot> lastSnapshot() const;
    qsizetype numberOfDaysRecorded() const { return m_dailySnapshots.size(); }

    // Changes in the number of known words (levels 1 to 5); each may be negative.
    // The newest count.
    qint64 wordsLearnedTotal() const;
    // Since the snapshot before today's; 0 when there is none of today.
    qint64 wordsLearnedToday(const lexi::Clock &clock) const;
    // Since the newest snapshot of a day at least 6 (29) calendar days before today, else since
    // the oldest.
    qint64 wordsLearnedThisWeek(const lexi::Clock &clock) const;
    qint64 wordsLearnedThisMonth(const lexi::Clock &clock) const;

    // The snapshots with every day missing between two of them filled in by a copy of the earlier
    // one, dated that day's local midnight. Days are filled only up to today and only between
    // snapshots of real days (after 1970 and plausible); a day already covered is never filled
    // again, so a list out of order cannot multiply the copies.
    QList<QLXDailyStatisticsSnapshot> dailySnapshotsIncludingNullDays(const lexi::Clock &clock) const;
    // The snapshots thinned for a graph of about `count` points: while 10 or more too many, every
    // second one is dropped (the oldest always stays); the newest is kept or put back at the end.
    QList<QLXDailyStatisticsSnapshot> interpolatedSnapshots(qint64 count) const;

    // A rough share of a language, from 0 to 100, that `knownWords` words stand for: an S-curve
    // through 50 at 750 words.
    static double percentOfLanguage(qint64 knownWords);

private:
    qint64 wordsLearnedSince(const lexi::Clock &clock, int daysBeforeToday) const;

    QList<QLXDailyStatisticsSnapshot> m_dailySnapshots;
};
