#pragma once

#include "quiz/QuizServices.h"

#include <QList>

namespace lexi::test {

// Counts what the quiz pages ask of the rating prompt.
class RecordingRatingPrompt final : public RatingPrompt
{
public:
    void logEvent(bool deferPrompt) override { events.append(deferPrompt); }
    void openRatingsPageInAppStore() override { ++ratingPagesOpened; }
    void setRatedThisVersion(bool rated) override { ratedThisVersion = rated; }

    QList<bool> events;
    int ratingPagesOpened = 0;
    bool ratedThisVersion = false;
};

} // namespace lexi::test
