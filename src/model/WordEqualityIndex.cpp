#include "WordEqualityIndex.h"

namespace lexi {

WordEqualityIndex::WordEqualityIndex(const WordList &words)
{
    m_texts.reserve(words.size());
    for (const std::shared_ptr<QLXWord> &word : words)
        m_texts.insert({word->foreignWord(), word->yourWord()});
}

bool WordEqualityIndex::containsWordEqualTo(const QLXWord &word) const
{
    return m_texts.contains({word.foreignWord(), word.yourWord()});
}

} // namespace lexi
