#pragma once

#include "model/Lexicarta.h"
#include "platform/ports/Clock.h"
#include "platform/files/Defaults.h"
#include "platform/dispatch/Scheduler.h"

#include <memory>

class QLXColorTheme;

namespace lexi {

// Where a quiz hands the vocabulary it records answers in: the save (handed to the background
// saver, so the learner never waits for it), the note that its file must be synchronised, and the
// request for a synchronisation at the end of a run.
class QuizVocabularyKeeper
{
public:
    virtual ~QuizVocabularyKeeper() = default;

    virtual void saveVocabulary(const std::shared_ptr<Lexicarta> &vocabulary) = 0;
    virtual void markFileAsNeedsSync(const Lexicarta &vocabulary) = 0;
    virtual void syncWithDropbox() = 0;
};

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
    QuizVocabularyKeeper &keeper;
    RatingPrompt &ratingPrompt;
    QLXColorTheme &theme;
};

} // namespace lexi
