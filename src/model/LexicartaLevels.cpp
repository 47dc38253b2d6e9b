#include "Lexicarta.h"

#include <QSet>

#include <algorithm>
#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

// The level scheme: the words of each level, answers moving words between levels, and the words
// that are due again.

const Lexicarta::LevelLists &Lexicarta::levelLists() const
{
    if (!m_levelLists) {
        LevelLists lists;
        // Waiting for words to come from memory is most of the work; asking for them a few
        // words ahead lets those waits overlap.
        constexpr qsizetype wordsAhead = 16;
        for (qsizetype i = 0; i < m_allWords.size(); ++i) {
            if (i + wordsAhead < m_allWords.size())
                __builtin_prefetch(m_allWords[i + wordsAhead].get(), 1);
            const std::shared_ptr<QLXWord> &word = m_allWords[i];
            const quint64 level = word->effectiveLevel();
            lists.levels[level].append(word);
            if (level == QLXWord::nativeLevel && !word->dontAskAgain())
                lists.nativeWithoutDontAsk.append(word);
        }
        m_levelLists = std::move(lists);
    }
    return *m_levelLists;
}

std::optional<qsizetype> Lexicarta::insertInStoredOrder(lexi::WordList &list,
                                                        const std::shared_ptr<QLXWord> &word) const
{
    const lexi::WordPositions &positions = this->positions();
    const std::optional<qint64> position = positions.positionOf(*word);
    if (!position)
        return std::nullopt;
    bool known = true;
    const auto place = std::upper_bound(list.begin(), list.end(), *position,
                                        [&](qint64 wanted, const std::shared_ptr<QLXWord> &listed) {
                                            const std::optional<qint64> at = positions.positionOf(*listed);
                                            known = known && at.has_value();
                                            return wanted < at.value_or(0);
                                        });
    if (!known)
        return std::nullopt;
    const qsizetype index = place - list.begin();
    list.insert(index, word);
    return index;
}

void Lexicarta::wordLevelChanged(const QLXWord &word, quint64 previousLevel, bool previousDontAskAgain)
{
    wordsChanged();
    if (!m_levelLists)
        return;
    LevelLists &lists = *m_levelLists;
    const quint64 from = QLXWord::effectiveLevel(previousLevel);
    const quint64 to = word.effectiveLevel();
    const bool wasAskedNative = from == QLXWord::nativeLevel && !previousDontAskAgain;
    const bool isAskedNative = to == QLXWord::nativeLevel && !word.dontAskAgain();
    if (from == to && wasAskedNative == isAskedNative)
        return;
    lexi::WordList &fromList = lists.levels[from];
    const auto isTheWord = [&word](const std::shared_ptr<QLXWord> &listed) { return listed.get() == &word; };
    const auto listing = std::find_if(fromList.begin(), fromList.end(), isTheWord);
    // A word not listed here changes nothing; one listed more than once is sorted in anew.
    if (listing == fromList.end())
        return;
    const std::shared_ptr<QLXWord> moved = *listing;
    if (positions().listings(word) > 1) {
        m_levelLists.reset();
        return;
    }
    bool followed = true;
    if (from != to) {
        const qsizetype fromIndex = listing - fromList.begin();
        fromList.erase(listing);
        const std::optional<qsizetype> toIndex = insertInStoredOrder(lists.levels[to], moved);
        followed = toIndex.has_value();
        if (followed && lists.stored) {
            (*lists.stored)[from].remove({fromIndex});
            (*lists.stored)[to].insert(*toIndex, moved->storedForm());
        }
    }
    if (wasAskedNative && !isAskedNative)
        lists.nativeWithoutDontAsk.removeIf(isTheWord);
    else if (isAskedNative && !wasAskedNative)
        followed = followed && insertInStoredOrder(lists.nativeWithoutDontAsk, moved).has_value();
    if (!followed)
        m_levelLists.reset();
}

namespace {

// The changes of words listed for wordsChangedSince(); half of them are let go when there are more.
constexpr std::size_t mostChangesLogged = 8192;

} // namespace

void Lexicarta::wordStoredFormChanged(const QLXWord &word)
{
    wordsChanged();
    ++m_storedFormChanges;
    takeIdentifier(word);
    m_changedWords.push_back(&word);
    if (m_changedWords.size() > mostChangesLogged) {
        const std::size_t dropped = mostChangesLogged / 2;
        m_changedWords.erase(m_changedWords.begin(), m_changedWords.begin() + std::ptrdiff_t(dropped));
        m_firstLoggedChange += dropped;
    }
    if (!m_levelLists || !m_levelLists->stored)
        return;
    std::vector<const QLXWord *> &changed = m_levelLists->storedFormsChanged;
    // An answer changes a word's date and then its level.
    if (changed.empty() || changed.back() != &word)
        changed.push_back(&word);
    // Changes of many words are taken over by taking every stored form anew.
    if (qsizetype(changed.size()) > std::max<qsizetype>(64, m_allWords.size() / 16)) {
        m_levelLists->stored.reset();
        changed.clear();
    }
}

std::optional<std::vector<const QLXWord *>> Lexicarta::wordsChangedSince(const WordChangeMark &mark) const
{
    if (mark.vocabulary != m_identity || mark.changes < m_firstLoggedChange || mark.changes > m_storedFormChanges)
        return std::nullopt;
    return std::vector<const QLXWord *>(m_changedWords.cbegin() + std::ptrdiff_t(mark.changes - m_firstLoggedChange),
                                        m_changedWords.cend());
}

std::array<lexi::StoredWordList, QLXWord::nativeLevel + 1> Lexicarta::storedWordLists() const
{
    levelLists();
    LevelLists &lists = *m_levelLists;
    if (!lists.stored) {
        lists.stored.emplace();
        for (std::size_t level = 0; level < lists.levels.size(); ++level)
            (*lists.stored)[level] = lexi::StoredWordList(lists.levels[level]);
        lists.storedFormsChanged.clear();
        return *lists.stored;
    }
    if (lists.storedFormsChanged.empty())
        return *lists.stored;
    if (!replaceStoredFormsInPlace(lists))
        replaceStoredFormsByPass(lists);
    lists.storedFormsChanged.clear();
    return *lists.stored;
}

bool Lexicarta::prepareDerivedData(qsizetype wordCount)
{
    if (!m_preparation) {
        if (m_positions && m_levelLists && m_levelLists->stored)
            return false;
        Preparation &preparation = m_preparation.emplace(Preparation{m_allWords, 0, m_wordChanges, {}, {}});
        // A vocabulary just loaded has its lists of stored forms already: the load checked them.
        if (!m_positions)
            preparation.positions.emplace(lexi::WordList());
        if (!m_levelLists || !m_levelLists->stored)
            preparation.levelLists.emplace().stored.emplace();
    }
    Preparation &preparation = *m_preparation;
    if (preparation.wordChanges != m_wordChanges) {
        // The stored forms made so far stay: each word drops its own when it changes.
        preparation.positions.reset();
        preparation.levelLists.reset();
    }
    const lexi::WordList &words = preparation.words;
    const qsizetype end = std::min(words.size(), preparation.next + std::max<qsizetype>(1, wordCount));
    for (qsizetype i = preparation.next; i < end; ++i) {
        const std::shared_ptr<QLXWord> &word = words[i];
        std::shared_ptr<const lexi::StoredWord> stored = word->storedForm();
        if (preparation.positions)
            preparation.positions->append(*word);
        if (preparation.levelLists) {
            LevelLists &lists = *preparation.levelLists;
            const quint64 level = word->effectiveLevel();
            lists.levels[level].append(word);
            (*lists.stored)[level].append(std::move(stored));
            if (level == QLXWord::nativeLevel && !word->dontAskAgain())
                lists.nativeWithoutDontAsk.append(word);
        }
    }
    preparation.next = end;
    if (end < words.size())
        return true;
    // What was made while nothing changed is what would be made now; what the vocabulary made
    // meanwhile is the same and stays.
    if (!m_positions && preparation.positions)
        m_positions = std::move(preparation.positions);
    if ((!m_levelLists || !m_levelLists->stored) && preparation.levelLists)
        m_levelLists = std::move(preparation.levelLists);
    m_preparation.reset();
    return false;
}

std::optional<qsizetype> Lexicarta::indexInStoredOrder(const lexi::WordList &list, const QLXWord &word) const
{
    const lexi::WordPositions &positions = *m_positions;
    const std::optional<qint64> position = positions.positionOf(word);
    if (!position)
        return std::nullopt;
    bool known = true;
    const auto place = std::lower_bound(list.begin(), list.end(), *position,
                                        [&](const std::shared_ptr<QLXWord> &listed, qint64 wanted) {
                                            const std::optional<qint64> at = positions.positionOf(*listed);
                                            known = known && at.has_value();
                                            return at.value_or(0) < wanted;
                                        });
    if (!known || place == list.end() || place->get() != &word)
        return std::nullopt;
    return place - list.begin();
}

bool Lexicarta::replaceStoredFormsInPlace(LevelLists &lists) const
{
    // Without the positions, building them would cost more than the pass.
    if (!m_positions)
        return false;
    for (const QLXWord *changed : lists.storedFormsChanged) {
        // The address alone tells whether the word is listed: one removed since may be gone.
        const qsizetype listings = m_positions->listingsAt(changed);
        if (listings == 0)
            continue;
        if (listings > 1)
            return false;
        const QLXWord &word = *changed;
        const quint64 level = word.effectiveLevel();
        const std::optional<qsizetype> index = indexInStoredOrder(lists.levels[level], word);
        if (!index)
            return false;
        (*lists.stored)[level].replace(*index, word.storedForm());
    }
    return true;
}

void Lexicarta::replaceStoredFormsByPass(LevelLists &lists) const
{
    // The words changed are found among the listed ones by their address alone: one removed since
    // may be gone.
    const std::vector<const QLXWord *> &changed = lists.storedFormsChanged;
    constexpr std::size_t mostComparedOneByOne = 8;
    const QSet<const QLXWord *> changedSet = changed.size() > mostComparedOneByOne
                                                 ? QSet<const QLXWord *>(changed.cbegin(), changed.cend())
                                                 : QSet<const QLXWord *>();
    const auto isChanged = [&](const QLXWord *word) {
        if (changed.size() > mostComparedOneByOne)
            return changedSet.contains(word);
        return std::find(changed.cbegin(), changed.cend(), word) != changed.cend();
    };
    for (std::size_t level = 0; level < lists.levels.size(); ++level) {
        const lexi::WordList &words = lists.levels[level];
        for (qsizetype i = 0; i < words.size(); ++i) {
            if (isChanged(words[i].get()))
                (*lists.stored)[level].replace(i, words[i]->storedForm());
        }
    }
}

lexi::WordList Lexicarta::wordsInLevel(quint64 level) const
{
    return levelLists().levels[QLXWord::effectiveLevel(level)];
}

lexi::WordList Lexicarta::nativeWithoutDontAsk() const
{
    return levelLists().nativeWithoutDontAsk;
}

void Lexicarta::answeredWord(QLXWord &word, int correct)
{
    word.setLastAsked(m_services.clock.now());
    const quint64 level = word.level();
    if (correct == 1) {
        word.setLevel(level < QLXWord::nativeLevel ? level + 1 : QLXWord::nativeLevel);
    } else if (correct == -1) {
        if (level != 0 && word.fallenDownCounter() < std::numeric_limits<quint64>::max())
            word.setFallenDownCounter(word.fallenDownCounter() + 1);
        if (level >= 4)
            word.setLevel(2);
        else if (level >= 1)
            word.setLevel(level - 1);
    }
    makeDailyStatisticsSnapshot();
}

void Lexicarta::makeDailyStatisticsSnapshot()
{
    m_statistics.addDailySnapshot(QLXDailyStatisticsSnapshot::initWithVocabulary(*this), m_services.alertPresenter);
}

qint64 Lexicarta::rehearseTimeInSec(quint64 level)
{
    static constexpr std::array<qint64, 6> restTimes = {
        rehearseTimeInSecLevel0(), rehearseTimeInSecLevel1(), rehearseTimeInSecLevel2(),
        rehearseTimeInSecLevel3(), rehearseTimeInSecLevel4(), rehearseTimeInSecLevel5()};
    return restTimes[QLXWord::effectiveLevel(level)];
}

bool Lexicarta::isDue(const QLXWord &word, const lexi::Date &now)
{
    if (word.dontAskAgain())
        return false;
    const std::optional<lexi::Date> &lastAsked = word.lastAsked();
    // Not "at most the rest time": a date that is not a number is never due.
    return !lastAsked || now.secondsSince(*lastAsked) > double(rehearseTimeInSec(word.effectiveLevel()));
}

lexi::WordList Lexicarta::wordsOverDueFromLevel(quint64 level, const QStringList &tags, bool mustHaveAll) const
{
    const lexi::Date now = m_services.clock.now();
    const lexi::WordList candidates = filteredWords(wordsInLevel(level), tags, mustHaveAll);
    // Sorted by a key taken once per word: the order of QLXWord::compareLastAsked(), ties in
    // stored order, without visiting the words again while sorting.
    struct Due
    {
        bool asked;
        double lastAsked;
        qsizetype position;
        auto operator<=>(const Due &) const = default;
    };
    std::vector<Due> due;
    due.reserve(candidates.size());
    for (qsizetype position = 0; position < candidates.size(); ++position) {
        const QLXWord &word = *candidates[position];
        if (!isDue(word, now))
            continue;
        const std::optional<lexi::Date> &lastAsked = word.lastAsked();
        due.push_back({lastAsked.has_value(), lastAsked ? lastAsked->secondsSinceReferenceDate() : 0.0, position});
    }
    std::sort(due.begin(), due.end());
    lexi::WordList sorted;
    sorted.reserve(qsizetype(due.size()));
    for (const Due &entry : due)
        sorted.append(candidates[entry.position]);
    return sorted;
}

lexi::WordList Lexicarta::randomlyPick(qint64 count, quint64 level, const QStringList &tags, bool mustHaveAll)
{
    // Distinct word objects: a word in the list twice must not stand for two of the words asked.
    lexi::WordList candidates;
    QSet<const QLXWord *> seen;
    for (const std::shared_ptr<QLXWord> &word : filteredWords(wordsInLevel(level), tags, mustHaveAll)) {
        if (!seen.contains(word.get())) {
            seen.insert(word.get());
            candidates.append(word);
        }
    }
    const qint64 wanted = std::min<qint64>(count, candidates.size());
    lexi::WordList picked;
    if (wanted <= 0)
        return picked;
    picked.reserve(wanted);
    // A partial Fisher-Yates shuffle: each draw takes one of the words not taken yet.
    for (qint64 next = 0; next < wanted; ++next) {
        candidates.swapItemsAt(next, m_random.randomIntBetween(next, candidates.size() - 1));
        picked.append(candidates[next]);
    }
    return picked;
}
