#pragma once

#include "QLXWord.h"

// The host of the word popover: hears how an edit, an add or a deletion ended. The popover has
// saved the vocabulary before it reports a change; the host refreshes, marks the vocabulary for
// synchronisation and closes the popover.
class QLXWordPopoverDelegate
{
public:
    virtual ~QLXWordPopoverDelegate() = default;

    virtual void wordPopoverDidDeleteWords(const lexi::WordList &words) = 0;
    virtual void wordPopoverDidCancelEditWords(const lexi::WordList &words) = 0;
    virtual void wordPopoverDidEditWords(const lexi::WordList &words) = 0;
    // Only in adding mode, which only hosts that add words use. `shallAddMore`: the learner
    // chose to add another word.
    virtual void wordPopoverDidAddWords(const lexi::WordList &words, bool shallAddMore)
    {
        Q_UNUSED(words);
        Q_UNUSED(shallAddMore);
    }
    virtual void wordPopoverDidCancelAddingWords(const lexi::WordList &words) { Q_UNUSED(words); }
};
