#pragma once

#include "QLXWord.h"

#include "platform/dispatch/Dispatch.h"

namespace lexi {

// Lists longer than this that nothing else shares are let go on a worker by letGo().
inline constexpr qsizetype mostWordsLetGoHere = 20000;

// Lets go of a list that is no longer needed. Dropping the last copy of a large list drops a share
// of every word, one pass over all of them: that pass is left to a worker, so that an edit of a
// few words does not pay for the list it replaced. Words whose last share it was go there too.
inline void letGo(WordList &&words)
{
    if (words.size() > mostWordsLetGoHere && words.isDetached())
        dispatch::globalAsync([words = std::move(words)]() mutable { words = {}; });
}

} // namespace lexi
