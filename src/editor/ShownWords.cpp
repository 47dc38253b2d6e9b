#include "ShownWords.h"

#include "model/Lexicarta.h"
#include "model/WordListRelease.h"
#include "model/WordObjectSet.h"
#include "platform/dispatch/ConcurrentSlices.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <utility>

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
    // Folded in place: the joined text is not needed as it was.
    text.folded = std::move(all).toCaseFolded();
    return text;
}

void ShownWords::updateSearchTexts(const Lexicarta &vocabulary, const WordList &sorted)
{
    const Lexicarta::WordChangeMark now = vocabulary.wordChangeMark();
    if (isSameObject(m_searchOrder, sorted) && m_searchTexts.size() == std::size_t(sorted.size())) {
        if (m_searchChanges == now)
            return;
        // The vocabulary tells which words changed since the texts were last brought up to date;
        // when it no longer knows, every word is looked at.
        const std::optional<std::vector<const QLXWord *>> changed = vocabulary.wordsChangedSince(m_searchChanges);
        m_searchChanges = now;
        const QSet<const QLXWord *> candidates =
            changed ? QSet<const QLXWord *>(changed->cbegin(), changed->cend()) : QSet<const QLXWord *>();
        if (changed && candidates.isEmpty())
            return;
        for (qsizetype i = 0; i < sorted.size(); ++i) {
            if (changed && !candidates.contains(sorted[i].get()))
                continue;
            if (!isSource(m_searchTexts[std::size_t(i)], *sorted[i]))
                m_searchTexts[std::size_t(i)] = makeSearchText(*sorted[i]);
        }
        return;
    }
    QHash<const QLXWord *, std::size_t> previous;
    previous.reserve(m_searchOrder.size());
    for (qsizetype i = 0; i < m_searchOrder.size() && std::size_t(i) < m_searchTexts.size(); ++i)
        previous.insert(m_searchOrder[i].get(), std::size_t(i));
    // Texts of words still there and unchanged are taken over; the others are folded, a large
    // vocabulary's in slices at once (the slices only read the words and the texts kept).
    std::vector<SearchText> texts(std::size_t(sorted.size()));
    dispatch::forSlices(sorted.size(), [&](qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i) {
            const QLXWord &word = *sorted[i];
            const auto found = previous.constFind(&word);
            if (found != previous.cend() && isSource(m_searchTexts[*found], word))
                texts[std::size_t(i)] = m_searchTexts[*found];
            else
                texts[std::size_t(i)] = makeSearchText(word);
        }
    });
    m_searchTexts = std::move(texts);
    m_searchOrder = sorted;
    m_searchChanges = now;
}

bool ShownWords::SearchBase::isSameAs(const SearchBase &other) const
{
    return isSameObject(sorted, other.sorted) && changes == other.changes && level == other.level
           && synonyms == other.synonyms && tags == other.tags;
}

const ShownWords::Found *ShownWords::narrowestFoundWithin(const QString &foldedTerm) const
{
    const Found *narrowest = nullptr;
    for (const Found &found : m_found) {
        if (foldedTerm.contains(found.foldedTerm) && (!narrowest || found.places.size() < narrowest->places.size()))
            narrowest = &found;
    }
    return narrowest;
}

namespace {

// The terms whose words found are kept: enough for typing a word and taking some of it back.
constexpr std::size_t mostTermsKept = 8;

} // namespace

void ShownWords::rememberFound(Found found)
{
    if (m_found.size() == mostTermsKept)
        m_found.erase(m_found.begin());
    m_found.push_back(std::move(found));
}

void ShownWords::recalculate(Lexicarta &vocabulary, const ShownWordsQuery &query)
{
    const WordList &sorted = m_order.sortedWords(vocabulary, query.column);
    const quint64 identity = vocabulary.wordChangeMark().vocabulary;
    m_rowEdits.reset();
    // Rows numbered in another direction than the last ones cannot be followed.
    const bool followed = m_query == query && m_vocabulary == identity && m_rowsDescending == m_sortDescending
                          && followChanges(vocabulary, query, m_order.lastFollowed(query.column));
    if (!followed)
        narrowDown(vocabulary, query, sorted);
    m_query = query;
    m_vocabulary = identity;
    m_rowsDescending = m_sortDescending;
}

bool ShownWords::passes(const QLXWord &word, const ShownWordsQuery &query, const QString &foldedTerm)
{
    if (query.level < allWordsLevel && word.effectiveLevel() != query.level)
        return false;
    if (!foldedTerm.isEmpty() && !makeSearchText(word).folded.contains(foldedTerm))
        return false;
    return query.tags.isEmpty()
           || std::any_of(word.tags().cbegin(), word.tags().cend(),
                          [&query](const QString &tag) { return query.tags.contains(tag); });
}

namespace {

// Changes of up to this many words are followed one by one; more are found anew.
constexpr qsizetype mostWordsFollowed = 64;

} // namespace

bool ShownWords::followChanges(const Lexicarta &vocabulary, const ShownWordsQuery &query,
                               const WordOrder::Followed &followed)
{
    // Whether a word is a synonym depends on other words: the synonyms are always found anew.
    if (!followed.isKnown || query.synonyms)
        return false;
    // Every word that went, came or changed leaves the shown words; those listed now come back
    // where they pass and belong.
    QSet<const QLXWord *> affected = followed.removed;
    QSet<const QLXWord *> listedNow;
    WordList candidates;
    for (const WordList *words : {&followed.added, &followed.changed}) {
        for (const std::shared_ptr<QLXWord> &word : *words) {
            if (!listedNow.contains(word.get())) {
                listedNow.insert(word.get());
                candidates.append(word);
                affected.insert(word.get());
            }
        }
    }
    if (affected.size() > mostWordsFollowed)
        return false;
    // A word listed twice is shown twice, which its one entry here cannot follow.
    for (const std::shared_ptr<QLXWord> &word : std::as_const(candidates)) {
        if (vocabulary.listingsOf(*word) != 1)
            return false;
    }

    std::vector<RowEdit> edits;
    const WordObjectSet leaving(std::move(affected));
    std::vector<qsizetype> indexes;
    for (qsizetype i = 0; i < m_words.size(); ++i) {
        if (leaving.contains(m_words[i].get()))
            indexes.push_back(i);
    }
    const QString term = query.searchTerm.toCaseFolded();
    // A word that changed where it stands leaves the words as they are: the list may be shared
    // with the order of all words, which taking it out and putting it back would copy.
    if (indexes.size() == 1 && candidates.size() == 1 && m_words[indexes.front()] == candidates.front()
        && passes(*candidates.front(), query, term) && staysInPlace(vocabulary, query.column, indexes.front())) {
        m_rowEdits = std::vector<RowEdit>{{RowEdit::Kind::Changed, rowForWordIndex(indexes.front()), candidates.front()}};
        return true;
    }
    // From the bottom, so that each row is numbered as the rows are when it goes.
    for (auto index = indexes.crbegin(); index != indexes.crend(); ++index) {
        edits.push_back({RowEdit::Kind::Removed, rowForWordIndex(*index), m_words[*index]});
        m_words.remove(*index);
    }
    for (const std::shared_ptr<QLXWord> &word : std::as_const(candidates)) {
        if (!passes(*word, query, term))
            continue;
        const WordOrder::Place place = m_order.placeOf(vocabulary, *word, query.column);
        // Both listings of a word listed twice have the place of its first, so the shown words
        // around it are not ordered by their places: a search that meets one is not followed.
        // One that meets none ends between the two words it met last, which are in order.
        bool metWordListedTwice = false;
        const auto at = std::lower_bound(m_words.cbegin(), m_words.cend(), place,
                                         [&](const std::shared_ptr<QLXWord> &shown, const WordOrder::Place &place) {
                                             metWordListedTwice |= vocabulary.listingsOf(*shown) != 1;
                                             return WordOrder::isBefore(
                                                 m_order.placeOf(vocabulary, *shown, query.column), place);
                                         });
        if (metWordListedTwice)
            return false;
        const qsizetype index = at - m_words.cbegin();
        m_words.insert(index, word);
        edits.push_back({RowEdit::Kind::Inserted, rowForWordIndex(index), word});
    }
    // A word that stays where it was is a row that changed.
    if (edits.size() == 2 && edits[0].kind == RowEdit::Kind::Removed && edits[1].kind == RowEdit::Kind::Inserted
        && edits[0].word == edits[1].word && edits[0].row == edits[1].row)
        edits = {{RowEdit::Kind::Changed, edits[0].row, edits[0].word}};
    m_rowEdits = std::move(edits);
    return true;
}

bool ShownWords::staysInPlace(const Lexicarta &vocabulary, WordColumn column, qsizetype index) const
{
    // A neighbour listed twice has the place of its first listing, which may not be where it is
    // shown: the words are then followed as any change is.
    const auto isListedOnce = [&](qsizetype other) { return vocabulary.listingsOf(*m_words[other]) == 1; };
    if ((index > 0 && !isListedOnce(index - 1)) || (index + 1 < m_words.size() && !isListedOnce(index + 1)))
        return false;
    const WordOrder::Place place = m_order.placeOf(vocabulary, *m_words[index], column);
    const auto isBefore = [&](qsizetype other) {
        return WordOrder::isBefore(m_order.placeOf(vocabulary, *m_words[other], column), place);
    };
    return (index == 0 || isBefore(index - 1)) && (index + 1 == m_words.size() || !isBefore(index + 1));
}

void ShownWords::narrowDown(Lexicarta &vocabulary, const ShownWordsQuery &query, const WordList &sorted)
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

    if (!searching && !m_found.empty()) {
        // The words found while searching are let go with the search; so is the list they were
        // found in, which would otherwise be copied by the next change of the order.
        m_found.clear();
        letGo(std::exchange(m_foundBase.sorted, {}));
    }
    if (!query.synonyms && !byLevel && !searching && tags.isEmpty()) {
        // Nothing narrows the words down: the order's list is shared.
        m_words = sorted;
        return;
    }
    const auto isFound = [this, &term](qsizetype place) {
        return m_searchTexts[std::size_t(place)].folded.contains(term);
    };
    const auto passes = [&](qsizetype place) {
        const QLXWord &word = *sorted[place];
        if (query.synonyms && !synonyms.contains(&word))
            return false;
        if (byLevel && word.effectiveLevel() != query.level)
            return false;
        if (searching && !isFound(place))
            return false;
        return tags.isEmpty()
               || std::any_of(word.tags().cbegin(), word.tags().cend(),
                              [&tags](const QString &tag) { return tags.contains(tag); });
    };

    const Found *narrowed = nullptr;
    if (searching) {
        updateSearchTexts(vocabulary, sorted);
        SearchBase base{sorted, vocabulary.wordChangeMark(), query.level, query.synonyms, query.tags};
        if (!base.isSameAs(m_foundBase)) {
            m_found.clear();
            m_foundBase = std::move(base);
        }
        narrowed = narrowestFoundWithin(term);
    }
    // The words to look at: those found for a term within this one (they passed every other
    // test already), else every word. A large list is looked at in slices at once, which only
    // read the words and the texts.
    const qsizetype candidates = narrowed ? qsizetype(narrowed->places.size()) : sorted.size();
    const std::vector<std::vector<qint32>> slices =
        dispatch::mapSlices(candidates, [&](qsizetype begin, qsizetype end) {
            std::vector<qint32> kept;
            for (qsizetype i = begin; i < end; ++i) {
                if (narrowed) {
                    const qint32 place = narrowed->places[std::size_t(i)];
                    if (narrowed->foldedTerm == term || isFound(place))
                        kept.push_back(place);
                } else if (passes(i)) {
                    kept.push_back(qint32(i));
                }
            }
            return kept;
        });
    Found found{term, {}};
    for (const std::vector<qint32> &slice : slices)
        found.places.insert(found.places.end(), slice.cbegin(), slice.cend());
    m_words.clear();
    m_words.reserve(qsizetype(found.places.size()));
    for (const qint32 place : found.places)
        m_words.append(sorted[place]);
    if (searching && !(narrowed && narrowed->foldedTerm == term))
        rememberFound(std::move(found));
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
