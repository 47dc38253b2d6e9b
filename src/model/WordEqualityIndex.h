#pragma once

#include "QLXWord.h"

#include <QSet>
#include <QString>

#include <utility>

namespace lexi {

// The texts of a list of words (foreign and your word, exactly), built once, so that telling
// whether the list holds a word equal to another takes constant time, not a scan of the list.
class WordEqualityIndex
{
public:
    explicit WordEqualityIndex(const WordList &words);

    // Whether one of the words has the same foreign and your word as `word`.
    bool containsWordEqualTo(const QLXWord &word) const;

private:
    QSet<std::pair<QString, QString>> m_texts;
};

} // namespace lexi
