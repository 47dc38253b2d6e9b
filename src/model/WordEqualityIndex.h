#pragma once

#include "Lexicarta.h"
#include "QLXWord.h"

#include <QSet>
#include <QString>

#include <utility>
#include <vector>

namespace lexi {

// The texts of a vocabulary's words (foreign and your word, exactly), built once, so that telling
// whether it holds a word equal to another takes constant time, not a scan of the words.
class WordEqualityIndex
{
public:
    explicit WordEqualityIndex(const std::vector<Lexicarta::PreparedAddition::ListedWord> &words);

    // Whether one of the words has the same foreign and your word as `word`.
    bool containsWordEqualTo(const QLXWord &word) const;
    // Takes the text of `word` in; false when it was there already.
    bool insert(const QLXWord &word);

private:
    QSet<std::pair<QString, QString>> m_texts;
};

} // namespace lexi
