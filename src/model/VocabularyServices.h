#pragma once

#include "platform/ports/AlertPresenter.h"
#include "platform/ports/Clock.h"
#include "platform/ports/InputSources.h"

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
