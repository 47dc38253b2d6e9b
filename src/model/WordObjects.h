#pragma once

#include "QLXWord.h"

#include <QSet>

namespace lexi {

// The word objects of a list, for telling words apart by identity.
inline QSet<const QLXWord *> wordObjects(const WordList &words)
{
    QSet<const QLXWord *> objects;
    objects.reserve(words.size());
    for (const std::shared_ptr<QLXWord> &word : words)
        objects.insert(word.get());
    return objects;
}

} // namespace lexi
