#include "Lexicarta.h"

#include "platform/dispatch/ConcurrentSlices.h"
#include "platform/ports/Console.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

// The tag index and the synonyms: derived from the words when first asked for, then kept up to
// date word by word.

lexi::WordList Lexicarta::wordsWithTags(const QStringList &tags, bool mustHaveAll) const
{
    return filteredWords(m_allWords, tags, mustHaveAll);
}

const lexi::TagIndex &Lexicarta::tagIndex() const
{
    if (!m_tagIndex) {
        const lexi::WordPositions &positions = this->positions();
        m_tagIndex.emplace(m_allWords, [this, &positions](qsizetype index) {
            return positions.positionOf(*m_allWords[index]).value_or(index);
        });
    }
    return *m_tagIndex;
}

QStringList Lexicarta::allTags() const
{
    return tagIndex().allTags();
}

void Lexicarta::buildTagsIndex()
{
    wordsChanged();
    m_tagIndex.reset();
    tagIndex();
}

std::optional<QStringList> Lexicarta::completionTagsForPrefix(const QString &prefix) const
{
    lexi::Console::writeLine(u"completionTagsForPrefix: %1"_s.arg(prefix));
    return tagIndex().completions(prefix);
}

void Lexicarta::wordTagsChanged(const QLXWord &word, const QStringList &previousTags)
{
    wordsChanged();
    if (!m_tagIndex)
        return;
    const std::optional<qint64> position = positions().positionOf(word);
    if (!position)
        return;
    if (positions().listings(word) > 1 || !m_tagIndex->changeTags(word, *position, previousTags))
        m_tagIndex.reset();
}

const Lexicarta::Synonyms &Lexicarta::synonymGroups()
{
    if (!m_synonyms)
        buildSynonyms();
    return *m_synonyms;
}

lexi::WordList Lexicarta::synonyms()
{
    const Synonyms &groups = synonymGroups();
    lexi::WordList words;
    for (const std::shared_ptr<QLXWord> &word : std::as_const(m_allWords)) {
        if (groups.sharesASide(*word))
            words.append(word);
    }
    return words;
}

void Lexicarta::buildSynonyms()
{
    wordsChanged();
    // Grouping each exact side finds every pair, whatever the order of the words.
    Synonyms &synonyms = m_synonyms.emplace();
    synonyms.yourWords.reserve(m_allWords.size());
    synonyms.foreignWords.reserve(m_allWords.size());
    for (const std::shared_ptr<QLXWord> &word : std::as_const(m_allWords))
        synonyms.add(word);
    if (m_allWords.size() >= 2)
        sortByForeignThenYourWord();
}

void Lexicarta::Synonyms::add(const std::shared_ptr<QLXWord> &word)
{
    yourWords[word->yourWord()].append(word);
    foreignWords[word->foreignWord()].append(word);
}

void Lexicarta::Synonyms::remove(const QLXWord &word, const QString &yourWord, const QString &foreignWord)
{
    const auto leave = [&word](QHash<QString, Group> &groups, const QString &side) {
        const auto group = groups.find(side);
        if (group == groups.end())
            return;
        const auto listing = std::find_if(group->begin(), group->end(),
                                          [&word](const std::shared_ptr<QLXWord> &member) { return member.get() == &word; });
        if (listing != group->end())
            group->erase(listing);
        if (group->isEmpty())
            groups.erase(group);
    };
    leave(yourWords, yourWord);
    leave(foreignWords, foreignWord);
}

bool Lexicarta::Synonyms::sharesASide(const QLXWord &word) const
{
    const auto shared = [](const QHash<QString, Group> &groups, const QString &side) {
        const auto group = groups.constFind(side);
        return group != groups.cend() && group->size() > 1;
    };
    return shared(yourWords, word.yourWord()) || shared(foreignWords, word.foreignWord());
}

std::shared_ptr<QLXWord> Lexicarta::Synonyms::listed(const QLXWord &word, const QString &yourWord) const
{
    const auto group = yourWords.constFind(yourWord);
    if (group == yourWords.cend())
        return nullptr;
    const auto listing = std::find_if(group->cbegin(), group->cend(),
                                      [&word](const std::shared_ptr<QLXWord> &member) { return member.get() == &word; });
    return listing != group->cend() ? *listing : nullptr;
}

void Lexicarta::wordSidesChanged(const QLXWord &word, const QString &previousYourWord,
                                 const QString &previousForeignWord)
{
    wordsChanged();
    if (m_wordTexts)
        m_wordTexts->moved(word, previousForeignWord, previousYourWord);
    if (!m_synonyms)
        return;
    const std::shared_ptr<QLXWord> listed = m_synonyms->listed(word, previousYourWord);
    if (!listed)
        return;
    const auto &group = m_synonyms->yourWords[previousYourWord];
    if (std::count(group.cbegin(), group.cend(), listed) > 1) {
        // Each listing of a word object listed more than once would move: found anew instead.
        m_synonyms.reset();
        return;
    }
    m_synonyms->remove(word, previousYourWord, previousForeignWord);
    m_synonyms->add(listed);
}

void Lexicarta::updateSynonymsWithWord(const std::shared_ptr<QLXWord> &word)
{
    if (!word || (word->yourWord().isEmpty() && word->foreignWord().isEmpty()))
        return;
    // The groups hold every word listed here, so a word listed is in them already.
    synonymGroups();
}

lexi::WordList Lexicarta::synonymsForWord(const QLXWord &word)
{
    if (!m_synonyms) {
        if (std::optional<lexi::WordList> partners = partnersOfListedWord(word))
            return *std::move(partners);
    }
    const Synonyms &groups = synonymGroups();
    lexi::WordList partners;
    const auto collect = [&](const QHash<QString, Synonyms::Group> &sides, const QString &side) {
        const auto group = sides.constFind(side);
        if (group == sides.cend())
            return;
        for (const std::shared_ptr<QLXWord> &candidate : *group) {
            if (!candidate->isEqualToWord(word) && groups.sharesASide(*candidate) && !partners.contains(candidate))
                partners.append(candidate);
        }
    };
    collect(groups.yourWords, word.yourWord());
    collect(groups.foreignWords, word.foreignWord());
    // In stored order.
    const lexi::WordPositions &positions = this->positions();
    std::sort(partners.begin(), partners.end(),
              [&positions](const std::shared_ptr<QLXWord> &left, const std::shared_ptr<QLXWord> &right) {
                  return positions.positionOf(*left) < positions.positionOf(*right);
              });
    return partners;
}

std::optional<lexi::WordList> Lexicarta::partnersOfListedWord(const QLXWord &word) const
{
    // A word sharing a side with a word listed here is a synonym through it, so one pass in
    // stored order finds the partners without grouping (and sorting) every word, as the first
    // quiz answer after a load would otherwise do. Waiting for the words to come from memory is
    // most of the pass: a large vocabulary is read in slices at once, each asking for the words a
    // few ahead, while this thread waits.
    struct Found
    {
        lexi::WordList partners;
        bool isListed = false;
    };
    const std::vector<Found> slices = lexi::dispatch::mapSlices(m_allWords.size(), [&](qsizetype begin, qsizetype end) {
        Found found;
        constexpr qsizetype wordsAhead = 16;
        for (qsizetype i = begin; i < end; ++i) {
            if (i + wordsAhead < end)
                __builtin_prefetch(m_allWords[i + wordsAhead].get());
            const std::shared_ptr<QLXWord> &candidate = m_allWords[i];
            if (candidate.get() == &word)
                found.isListed = true;
            else if ((candidate->yourWord() == word.yourWord() || candidate->foreignWord() == word.foreignWord())
                     && !candidate->isEqualToWord(word))
                found.partners.append(candidate);
        }
        return found;
    });
    lexi::WordList partners;
    bool isListed = false;
    for (const Found &slice : slices) {
        isListed = isListed || slice.isListed;
        for (const std::shared_ptr<QLXWord> &partner : slice.partners) {
            if (!partners.contains(partner))
                partners.append(partner);
        }
    }
    if (!isListed)
        return std::nullopt;
    return partners;
}
