#pragma once

#include "model/QLXWord.h"

class QLXWordPopoverDelegate;
class QWidget;

namespace lexi {

// The form that edits words in a popover (the vocabulary list's word popover), as the pages of
// other features show it: its view goes into a QLXPopover, which then owns it, and the delegate
// hears how the edit ended.
class WordEditingForm
{
public:
    virtual ~WordEditingForm() = default;

    virtual QWidget *view() = 0;
    // Edits `words` of the open vocabulary.
    virtual void showEditWindowForWords(const WordList &words, QLXWordPopoverDelegate *delegate) = 0;
};

} // namespace lexi
