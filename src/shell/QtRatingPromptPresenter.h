#pragma once

#include "RatingPromptPresenter.h"

#include <functional>

class QWidget;

namespace lexi {

// Shows the rating prompt as a window-modal message box over the main window.
class QtRatingPromptPresenter final : public RatingPromptPresenter
{
public:
    // `mainWindow` answers the window to show the prompt over, or none while there is none.
    explicit QtRatingPromptPresenter(std::function<QWidget *()> mainWindow);

    bool hasMainWindow() const override;
    void showPrompt(const Alert &alert, std::function<void(int button)> finished) override;

private:
    std::function<QWidget *()> m_mainWindow;
};

} // namespace lexi
