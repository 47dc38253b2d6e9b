#include "WordEqualityIndex.h"

namespace lexi {

WordEqualityIndex::WordEqualityIndex(const std::vector<Lexicarta::PreparedAddition::ListedWord> &words)
{
    m_texts.reserve(qsizetype(words.size()));
    for (const Lexicarta::PreparedAddition::ListedWord &word : words)
        m_texts.insert({word.foreignWord, word.yourWord});
}

bool WordEqualityIndex::containsWordEqualTo(const QLXWord &word) const
{
    return m_texts.contains({word.foreignWord(), word.yourWord()});
}

bool WordEqualityIndex::insert(const QLXWord &word)
{
    const qsizetype before = m_texts.size();
    m_texts.insert({word.foreignWord(), word.yourWord()});
    return m_texts.size() > before;
}

} // namespace lexi
