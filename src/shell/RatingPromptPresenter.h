#pragma once

#include "platform/ports/AlertPresenter.h"

#include <functional>

namespace lexi {

// Shows the rating prompt as a sheet over the main window without waiting for it: `finished`
// gets the index of the chosen button once the learner answers. The program shows a Qt message
// box; tests answer when they like.
class RatingPromptPresenter
{
public:
    virtual ~RatingPromptPresenter() = default;

    // Whether there is a main window to show the prompt over.
    virtual bool hasMainWindow() const = 0;
    virtual void showPrompt(const Alert &alert, std::function<void(int button)> finished) = 0;
};

} // namespace lexi
