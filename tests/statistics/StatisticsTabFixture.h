#pragma once

#include "support/FakeVocabularyServices.h"
#include "support/ManualScheduler.h"
#include "support/RecordingKeeper.h"

#include "model/Lexicarta.h"
#include "platform/files/Defaults.h"
#include "statistics/QLXStatisticsController.h"
#include "views/QLXColorTheme.h"

#include <QDate>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace lexi::test {

// The statistics tab with fake services, showing a vocabulary the keeper holds. The clock stands
// at 20 May 2026, 16:30.
class StatisticsTabFixture : public testing::Test
{
protected:
    static inline const QDate today{2026, 5, 20};

    StatisticsTabFixture()
    {
        fakes.clock.setNow(localTime(2026, 5, 20, 16, 30));
        keeper.setVocabulary(vocabulary);
    }

    // `known` words on each of the days before and up to today, the last one today.
    static QLXStatistics history(const QList<qint64> &known)
    {
        QList<QLXDailyStatisticsSnapshot> days;
        for (qsizetype i = 0; i < known.size(); ++i) {
            QLXDailyStatisticsSnapshot day(Date::fromDateTime(today.addDays(i - known.size() + 1).startOfDay()));
            day.setNumberOfWordsInLevel(0, 40);
            day.setNumberOfWordsInLevel(2, known[i]);
            days.append(day);
        }
        QLXStatistics result;
        result.setDailySnapshots(days);
        return result;
    }

    QTemporaryDir folder;
    Defaults defaults{folder.filePath(QString::fromUtf8("Lexicarta.conf"))};
    FakeVocabularyServices fakes;
    ManualScheduler scheduler{fakes.clock};
    QLXColorTheme theme{defaults};
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    RecordingKeeper recording;
    VocabularyKeeper &keeper = recording.keeper;
    StatisticsServices services{keeper, fakes.clock, scheduler, theme};
};

} // namespace lexi::test
