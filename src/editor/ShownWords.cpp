#include "ShownWords.h"

#include "model/Lexicarta.h"

#include <QSet>

#include <algorithm>

namespace lexi {

void ShownWords::recalculate(Lexicarta &vocabulary, const ShownWordsQuery &query)
{
    // Every step only keeps or drops words, so the words are taken from the order of all words:
    // the result is sorted without sorting.
    QSet<const QLXWord *> synonyms;
    if (query.synonyms) {
        for (const std::shared_ptr<QLXWord> &word : vocabulary.synonyms())
            synonyms.insert(word.get());
    }
    const std::optional<QString> term = query.searchTerm;
    const bool byLevel = !query.synonyms && query.level < allWordsLevel;
    const auto isShown = [&](const QLXWord &word) {
        if (query.synonyms && !synonyms.contains(&word))
            return false;
        if (byLevel && word.effectiveLevel() != query.level)
            return false;
        if (!query.searchTerm.isEmpty() && !word.matchesSearchTerm(term))
            return false;
        return query.tags.isEmpty()
               || std::any_of(query.tags.cbegin(), query.tags.cend(),
                              [&word](const QString &tag) { return word.tags().contains(tag); });
    };

    const WordList &sorted = m_order.sortedWords(vocabulary, query.column);
    m_words.clear();
    for (const std::shared_ptr<QLXWord> &word : sorted) {
        if (isShown(*word))
            m_words.append(word);
    }
}

std::shared_ptr<QLXWord> ShownWords::wordAtRow(qsizetype row) const
{
    if (row < 0 || row >= count())
        return nullptr;
    return m_words.at(wordIndexForRow(row));
}

std::optional<qsizetype> ShownWords::rowOfWord(const QLXWord *word) const
{
    const auto found = std::find_if(m_words.cbegin(), m_words.cend(),
                                    [word](const std::shared_ptr<QLXWord> &shown) { return shown.get() == word; });
    if (found == m_words.cend())
        return std::nullopt;
    return rowForWordIndex(found - m_words.cbegin());
}

} // namespace lexi
