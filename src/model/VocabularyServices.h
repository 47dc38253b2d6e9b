#pragma once

#include "platform/AlertPresenter.h"
#include "platform/Clock.h"
#include "platform/InputSources.h"

namespace lexi {

// What a vocabulary takes from the program around it: the time, a way to tell the learner, the
// keyboard input sources. They must outlive every vocabulary made with them.
struct VocabularyServices
{
    const Clock &clock;
    AlertPresenter &alertPresenter;
    InputSources &inputSources;
};

} // namespace lexi
