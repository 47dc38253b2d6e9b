#include "ShownWords.h"

#include "model/Lexicarta.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace lexi {

bool ShownWords::isSource(const SearchText &text, const QLXWord &word)
{
    return isSameObject(text.yourWord, word.yourWord()) && isSameObject(text.foreignWord, word.foreignWord())
           && isSameObject(text.comment, word.comment()) && isSameObject(text.tags, word.tags());
}

ShownWords::SearchText ShownWords::makeSearchText(const QLXWord &word)
{
    SearchText text{word.yourWord(), word.foreignWord(), word.comment(), word.tags(), {}};
    const QChar separator(1);
    QString all;
    all.reserve(text.yourWord.size() + text.foreignWord.size() + text.comment.size() + 4 + 8 * text.tags.size());
    for (const QString *part : {&text.yourWord, &text.foreignWord, &text.comment})
        all.append(separator).append(*part);
    // Read through a const view: a detached copy would no longer tell whether the tags changed.
    for (const QString &tag : std::as_const(text.tags))
        all.append(separator).append(tag);
    text.folded = all.toCaseFolded();
    return text;
}

void ShownWords::updateSearchTexts(const WordList &sorted)
{
    if (isSameObject(m_searchOrder, sorted) && m_searchTexts.size() == std::size_t(sorted.size())) {
        for (qsizetype i = 0; i < sorted.size(); ++i) {
            if (!isSource(m_searchTexts[std::size_t(i)], *sorted[i]))
                m_searchTexts[std::size_t(i)] = makeSearchText(*sorted[i]);
        }
        return;
    }
    QHash<const QLXWord *, std::size_t> previous;
    previous.reserve(m_searchOrder.size());
    for (qsizetype i = 0; i < m_searchOrder.size() && std::size_t(i) < m_searchTexts.size(); ++i)
        previous.insert(m_searchOrder[i].get(), std::size_t(i));
    std::vector<SearchText> texts;
    texts.reserve(std::size_t(sorted.size()));
    for (const std::shared_ptr<QLXWord> &word : sorted) {
        const auto found = previous.constFind(word.get());
        if (found != previous.cend() && isSource(m_searchTexts[*found], *word))
            texts.push_back(std::move(m_searchTexts[*found]));
        else
            texts.push_back(makeSearchText(*word));
    }
    m_searchTexts = std::move(texts);
    m_searchOrder = sorted;
}

void ShownWords::recalculate(Lexicarta &vocabulary, const ShownWordsQuery &query)
{
    // Every step only keeps or drops words, so the words are taken from the order of all words:
    // the result is sorted without sorting.
    QSet<const QLXWord *> synonyms;
    if (query.synonyms) {
        for (const std::shared_ptr<QLXWord> &word : vocabulary.synonyms())
            synonyms.insert(word.get());
    }
    const QSet<QString> tags(query.tags.cbegin(), query.tags.cend());
    const bool byLevel = !query.synonyms && query.level < allWordsLevel;
    // The search ignores case, as QLXWord::matchesSearchTerm() does: here on texts folded once.
    const bool searching = !query.searchTerm.isEmpty();
    const QString term = query.searchTerm.toCaseFolded();

    const WordList &sorted = m_order.sortedWords(vocabulary, query.column);
    if (!query.synonyms && !byLevel && !searching && tags.isEmpty()) {
        // Nothing narrows the words down: the order's list is shared.
        m_words = sorted;
        return;
    }
    if (searching)
        updateSearchTexts(sorted);
    m_words.clear();
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        const QLXWord &word = *sorted[i];
        if (query.synonyms && !synonyms.contains(&word))
            continue;
        if (byLevel && word.effectiveLevel() != query.level)
            continue;
        if (searching && !m_searchTexts[std::size_t(i)].folded.contains(term))
            continue;
        if (!tags.isEmpty()
            && std::none_of(word.tags().cbegin(), word.tags().cend(),
                            [&tags](const QString &tag) { return tags.contains(tag); }))
            continue;
        m_words.append(sorted[i]);
    }
}

std::shared_ptr<QLXWord> ShownWords::wordAtRow(qsizetype row) const
{
    if (row < 0 || row >= count())
        return nullptr;
    return m_words.at(wordIndexForRow(row));
}

WordList ShownWords::wordsInRowOrder() const
{
    if (!m_sortDescending)
        return m_words;
    return WordList(m_words.crbegin(), m_words.crend());
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
