#pragma once

#include "platform/values/Date.h"

#include <QString>

#include <optional>

namespace lexi {

// When the rating prompt may appear: thresholds the program chooses.
struct RatingPolicy
{
    double daysUntilPrompt = 10.0;
    quint64 usesUntilPrompt = 10;
    quint64 eventsUntilPrompt = 10;
    double usesPerWeekForPrompt = 0.0;
    // Days after "remind me later" before the prompt may come again.
    double remindPeriod = 1.0;
    bool previewMode = false;
};

// What the settings remember of the learner's use and answers, per application version.
struct RatingHistory
{
    QString applicationVersion;
    QString ratedVersion;
    QString declinedVersion;
    std::optional<Date> firstUsed;
    std::optional<Date> lastReminded;
    quint64 usesCount = 0;
    quint64 eventCount = 0;

    bool ratedAnyVersion() const { return !ratedVersion.isEmpty(); }
    bool declinedAnyVersion() const { return !declinedVersion.isEmpty(); }
    // Uses per week since the first use; 0 before any.
    double usesPerWeek(Date now) const;
};

struct RatingDecision
{
    bool shouldPrompt = false;
    // Why, as a console line; empty when there is nothing to say.
    QString reason;
    // Written even without verbose logging (the preview warning).
    bool isAlwaysLogged = false;
};

// Decides whether the prompt may show now. The first test that decides answers, in this order:
// preview, rated, declined, first launch, days since first use, uses and events (either is
// enough), uses per week, reminder period.
RatingDecision decideRatingPrompt(const RatingPolicy &policy, const RatingHistory &history, Date now);

} // namespace lexi
