#pragma once

// What the set popover asks of the page that shows it.
class QLXQuizletPopupControllerDelegate
{
public:
    virtual ~QLXQuizletPopupControllerDelegate() = default;

    // The learner closed the popover.
    virtual void popoverShallClose() = 0;
};
