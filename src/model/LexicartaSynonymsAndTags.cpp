#include "Lexicarta.h"

#include "platform/ports/Console.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

// The tag index and the synonyms: derived from the words when first asked for, dropped by every
// change that can affect them.

lexi::WordList Lexicarta::wordsWithTags(const QStringList &tags, bool mustHaveAll) const
{
    return filteredWords(m_allWords, tags, mustHaveAll);
}

const lexi::TagIndex &Lexicarta::tagIndex() const
{
    if (!m_tagIndex)
        m_tagIndex.emplace(m_allWords);
    return *m_tagIndex;
}

QStringList Lexicarta::allTags() const
{
    return tagIndex().allTags();
}

void Lexicarta::buildTagsIndex()
{
    m_tagIndex.emplace(m_allWords);
}

std::optional<QStringList> Lexicarta::completionTagsForPrefix(const QString &prefix) const
{
    lexi::Console::writeLine(u"completionTagsForPrefix: %1"_s.arg(prefix));
    return tagIndex().completions(prefix);
}

const std::unordered_set<std::shared_ptr<QLXWord>> &Lexicarta::synonymSet()
{
    if (!m_synonyms)
        buildSynonyms();
    return m_synonyms->members;
}

lexi::WordList Lexicarta::synonyms()
{
    const auto &members = synonymSet();
    lexi::WordList words;
    for (const std::shared_ptr<QLXWord> &word : m_allWords) {
        if (members.contains(word))
            words.append(word);
    }
    return words;
}

void Lexicarta::buildSynonyms()
{
    // Counting each exact side finds every pair, whatever the order of the words.
    Synonyms &synonyms = m_synonyms.emplace();
    synonyms.yourWordCounts.reserve(m_allWords.size());
    synonyms.foreignWordCounts.reserve(m_allWords.size());
    for (const std::shared_ptr<QLXWord> &word : std::as_const(m_allWords))
        synonyms.count(*word);
    if (m_allWords.size() < 2)
        return;
    sortByForeignThenYourWord();
    synonyms.members.reserve(m_allWords.size());
    for (const std::shared_ptr<QLXWord> &word : std::as_const(m_allWords)) {
        if (synonyms.sharesASide(*word))
            synonyms.members.insert(word);
    }
}

void Lexicarta::Synonyms::count(const QLXWord &word)
{
    ++yourWordCounts[word.yourWord()];
    ++foreignWordCounts[word.foreignWord()];
}

bool Lexicarta::Synonyms::sharesASide(const QLXWord &word) const
{
    return yourWordCounts.value(word.yourWord()) > 1 || foreignWordCounts.value(word.foreignWord()) > 1;
}

void Lexicarta::Synonyms::remove(const lexi::WordList &removed)
{
    const auto uncount = [](QHash<QString, qsizetype> &counts, const QString &side) {
        const auto found = counts.find(side);
        if (found != counts.end() && --*found <= 0)
            counts.erase(found);
    };
    for (const std::shared_ptr<QLXWord> &word : removed) {
        members.erase(word);
        uncount(yourWordCounts, word->yourWord());
        uncount(foreignWordCounts, word->foreignWord());
    }
    // A word left alone with a side it shared is a synonym no more, unless its other side is
    // shared too.
    const bool sideLeftAlone = std::any_of(removed.cbegin(), removed.cend(), [this](const std::shared_ptr<QLXWord> &word) {
        return yourWordCounts.value(word->yourWord()) == 1 || foreignWordCounts.value(word->foreignWord()) == 1;
    });
    if (sideLeftAlone)
        std::erase_if(members, [this](const std::shared_ptr<QLXWord> &word) { return !sharesASide(*word); });
}

void Lexicarta::updateSynonymsWithWord(const std::shared_ptr<QLXWord> &word)
{
    if (!word || (word->yourWord().isEmpty() && word->foreignWord().isEmpty()))
        return;
    if (!m_synonyms)
        buildSynonyms();
    for (const std::shared_ptr<QLXWord> &other : std::as_const(m_allWords)) {
        if (other != word && (other->yourWord() == word->yourWord() || other->foreignWord() == word->foreignWord())) {
            m_synonyms->members.insert(other);
            m_synonyms->members.insert(word);
        }
    }
}

lexi::WordList Lexicarta::synonymsForWord(const QLXWord &word)
{
    const auto &members = synonymSet();
    lexi::WordList partners;
    for (const std::shared_ptr<QLXWord> &candidate : m_allWords) {
        if ((candidate->yourWord() == word.yourWord() || candidate->foreignWord() == word.foreignWord())
            && !candidate->isEqualToWord(word) && members.contains(candidate))
            partners.append(candidate);
    }
    return partners;
}
