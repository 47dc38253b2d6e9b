#pragma once

#include "platform/ports/Clock.h"
#include "platform/files/Defaults.h"
#include "platform/dispatch/Scheduler.h"

class QLXColorTheme;

namespace lexi {

class VocabularyKeeper;

// What the quiz pages ask of the rating prompt (QLXRate), which implements it: counting the events
// after which it may ask the learner for a rating, and the set-up page's own rating button.
class RatingPrompt
{
public:
    virtual ~RatingPrompt() = default;

    // One significant event; with `deferPrompt` the prompt waits for a later moment to ask.
    virtual void logEvent(bool deferPrompt) = 0;
    virtual void openRatingsPageInAppStore() = 0;
    virtual void setRatedThisVersion(bool rated) = 0;
};

// What the quiz pages take from the program around them; all of it must outlive them.
struct QuizServices
{
    Defaults &defaults;
    dispatch::Scheduler &scheduler;
    const Clock &clock;
    // The open vocabulary: quizzes ask from it and record every answer through it.
    VocabularyKeeper &keeper;
    RatingPrompt &ratingPrompt;
    QLXColorTheme &theme;
};

} // namespace lexi
