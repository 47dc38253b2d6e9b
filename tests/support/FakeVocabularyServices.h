#pragma once

#include "support/FakeClock.h"
#include "support/RecordingAlertPresenter.h"

#include "model/VocabularyServices.h"
#include "platform/ports/InputSources.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QTimeZone>

namespace lexi::test {

// The services a vocabulary needs, all of them fakes a test can set and read.
struct FakeVocabularyServices
{
    FakeVocabularyServices() = default;
    FakeVocabularyServices(const FakeVocabularyServices &) = delete;
    FakeVocabularyServices &operator=(const FakeVocabularyServices &) = delete;

    FakeClock clock;
    RecordingAlertPresenter alerts;
    NullInputSources inputSources;
    VocabularyServices services{clock, alerts, inputSources};
};

// Local midnight of a calendar day in the time zone the test runs in.
inline Date localMidnight(int year, int month, int day)
{
    return Date::fromDateTime(QDate(year, month, day).startOfDay());
}

inline Date localTime(int year, int month, int day, int hours, int minutes = 0)
{
    return Date::fromDateTime(QDateTime(QDate(year, month, day), QTime(hours, minutes)));
}

} // namespace lexi::test
