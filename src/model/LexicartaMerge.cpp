#include "Lexicarta.h"

#include "CreationIdentifiers.h"
#include "VocabularySnapshot.h"
#include "WordEqualityIndex.h"
#include "WordObjects.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

// Merging with another version of the same vocabulary, joining another vocabulary in, and
// removing duplicates.

namespace {

// What makes two words duplicates: the same foreign and your word, exactly.
std::pair<QString, QString> wordText(const QLXWord &word)
{
    return {word.foreignWord(), word.yourWord()};
}

// Of two duplicates, the one to keep and the one to remove: the higher level wins; at the same
// level one with a comment or tags wins over one without; otherwise the one met first stays.
std::pair<std::shared_ptr<QLXWord>, std::shared_ptr<QLXWord>> keptAndRemoved(const std::shared_ptr<QLXWord> &first,
                                                                             const std::shared_ptr<QLXWord> &next)
{
    const bool sameLevel = first->effectiveLevel() == next->effectiveLevel();
    std::shared_ptr<QLXWord> kept = next->effectiveLevel() > first->effectiveLevel() ? next : first;
    std::shared_ptr<QLXWord> removed = kept == next ? first : next;
    if (sameLevel
        && ((kept->comment().isEmpty() && !removed->comment().isEmpty())
            || (kept->tags().isEmpty() && !removed->tags().isEmpty())))
        std::swap(kept, removed);
    return {kept, removed};
}

// Whether the other version's word replaces its counterpart here: it was edited later, or it
// has the higher level.
bool supersedes(const QLXWord &incoming, const QLXWord &local)
{
    return (incoming.modificationID() > 0 && incoming.modificationID() > local.modificationID())
           || incoming.effectiveLevel() > local.effectiveLevel();
}

// Whether `incoming` and `local` are two different words that merely share their identifier:
// their texts differ and neither was ever edited, so no edit can have made one out of the other.
// Two installations, or an older version's clock, made the identifier twice.
bool sharesOnlyItsIdentifier(const QLXWord &incoming, const QLXWord &local)
{
    return incoming.modificationID() == 0 && local.modificationID() == 0 && wordText(incoming) != wordText(local);
}

// The words of a vocabulary while a merge replaces and adds words, by creationID and by exact
// text, with those an incoming word has already been paired with, so that every incoming word
// finds the word it stands for at once, also where many words share an identifier.
class Counterparts
{
public:
    explicit Counterparts(const lexi::WordList &words) : m_words(words)
    {
        m_positions.reserve(words.size());
        m_byText.reserve(words.size());
        for (const std::shared_ptr<QLXWord> &word : words)
            hold(word, false);
    }

    // The word with the identifier of `incoming` that is equal to it in text, preferably one not
    // paired yet; else the only one with the identifier not paired yet. None when no word has the
    // identifier, when all are paired, or when several are left and none is equal in text: then
    // no word here can be told to be the one `incoming` stands for. Of several, the one that came
    // first.
    std::shared_ptr<QLXWord> counterpart(const QLXWord &incoming) const
    {
        return counterpart(incoming, incoming.creationID());
    }
    // The same for `incoming` under the identifier `identifier`.
    std::shared_ptr<QLXWord> counterpart(const QLXWord &incoming, qint64 identifier) const
    {
        const auto sameText = m_byText.constFind({identifier, wordText(incoming)});
        if (sameText != m_byText.cend()) {
            if (!sameText->unpaired.empty())
                return sameText->unpaired.begin()->second;
            if (!sameText->paired.empty())
                return sameText->paired.begin()->second;
        }
        const auto unpaired = m_unpairedByID.constFind(identifier);
        return unpaired != m_unpairedByID.cend() && unpaired->size() == 1 ? unpaired->begin()->second : nullptr;
    }

    // The word here, of those there were at first, from whose identifier and text `identifier`
    // is derived: the word that another installation gave that identifier when it met another
    // word with the same one. None when there is none, or it was replaced.
    std::shared_ptr<QLXWord> derivedFrom(qint64 identifier)
    {
        if (!m_derived) {
            m_derived.emplace();
            for (const std::shared_ptr<QLXWord> &word : m_words) {
                if (!lexi::CreationIdentifierMaker::isDerived(word->creationID()))
                    m_derived->insert(lexi::derivedCreationID(*word), word);
            }
        }
        const std::shared_ptr<QLXWord> word = m_derived->value(identifier);
        return word && holds(word) ? word : nullptr;
    }

    // Whether that very word object is one of the words here.
    bool holds(const std::shared_ptr<QLXWord> &word) const { return m_positions.contains(word.get()); }

    // `word`, one of the words here, has been paired with an incoming word.
    void pair(const std::shared_ptr<QLXWord> &word)
    {
        const qsizetype position = m_positions.value(word.get());
        SameText &sameText = m_byText[{word->creationID(), wordText(*word)}];
        if (auto node = sameText.unpaired.extract(position)) {
            sameText.paired.insert(std::move(node));
            m_unpairedByID[word->creationID()].erase(position);
        }
    }

    // `incoming` takes the place of `local` (none: it is new here).
    void replace(const std::shared_ptr<QLXWord> &local, const std::shared_ptr<QLXWord> &incoming)
    {
        if (local) {
            const qsizetype position = m_positions.take(local.get());
            SameText &sameText = m_byText[{local->creationID(), wordText(*local)}];
            sameText.unpaired.erase(position);
            sameText.paired.erase(position);
            m_unpairedByID[local->creationID()].erase(position);
        }
        hold(incoming, true);
    }

private:
    // Words by the order they came in.
    using ByPosition = std::map<qsizetype, std::shared_ptr<QLXWord>>;
    struct SameText
    {
        ByPosition unpaired;
        ByPosition paired;
    };
    using Key = std::pair<qint64, std::pair<QString, QString>>;

    // A word object listed twice is one word.
    void hold(const std::shared_ptr<QLXWord> &word, bool paired)
    {
        if (m_positions.contains(word.get()))
            return;
        const qsizetype position = m_nextPosition++;
        m_positions.insert(word.get(), position);
        SameText &sameText = m_byText[{word->creationID(), wordText(*word)}];
        if (paired) {
            sameText.paired.emplace(position, word);
        } else {
            sameText.unpaired.emplace(position, word);
            m_unpairedByID[word->creationID()].emplace(position, word);
        }
    }

    const lexi::WordList m_words;
    // Made when first asked for.
    std::optional<QHash<qint64, std::shared_ptr<QLXWord>>> m_derived;
    QHash<const QLXWord *, qsizetype> m_positions;
    qsizetype m_nextPosition = 0;
    QHash<Key, SameText> m_byText;
    QHash<qint64, ByPosition> m_unpairedByID;
};

using Snapshots = QList<QLXDailyStatisticsSnapshot>;

Snapshots byDay(Snapshots snapshots)
{
    std::stable_sort(snapshots.begin(), snapshots.end(), [](const auto &first, const auto &second) {
        return first.day() < second.day();
    });
    return snapshots;
}

// Every day either history recorded, in the order of the days. Of a day both recorded, the
// snapshot of the history that goes on past it: its copy was used after that day ended, and the
// program synchronises first, so its snapshot is the later one; else the snapshot here.
Snapshots mergedHistory(const Snapshots &unsortedHere, const Snapshots &unsortedThere)
{
    const Snapshots here = byDay(unsortedHere);
    const Snapshots there = byDay(unsortedThere);
    Snapshots merged;
    merged.reserve(here.size() + there.size());
    qsizetype h = 0;
    qsizetype t = 0;
    while (h < here.size() || t < there.size()) {
        if (t == there.size() || (h < here.size() && here[h].compareDates(there[t]) < 0)) {
            merged.append(here[h++]);
        } else if (h == here.size() || here[h].compareDates(there[t]) > 0) {
            merged.append(there[t++]);
        } else {
            const bool thereGoesOn = t + 1 < there.size();
            const bool hereGoesOn = h + 1 < here.size();
            merged.append(thereGoesOn && !hereGoesOn ? there[t] : here[h]);
            ++h;
            ++t;
        }
    }
    return merged;
}

} // namespace

qsizetype Lexicarta::deleteDuplicates()
{
    // Every duplicate shares its your word with another word, so grouping all words by their two
    // sides finds the same groups as grouping the synonyms, and finds all of them.
    QHash<std::pair<QString, QString>, std::shared_ptr<QLXWord>> keptSoFar;
    QSet<const QLXWord *> removed;
    for (const std::shared_ptr<QLXWord> &word : m_allWords) {
        // A word object listed twice is never compared with itself, and a removed one stays
        // removed.
        if (removed.contains(word.get()))
            continue;
        const std::pair<QString, QString> text = wordText(*word);
        const auto kept = keptSoFar.find(text);
        if (kept == keptSoFar.end()) {
            keptSoFar.insert(text, word);
            continue;
        }
        if (*kept == word)
            continue;
        auto [winner, loser] = keptAndRemoved(*kept, word);
        removed.insert(loser.get());
        *kept = std::move(winner);
    }
    // A word object listed again is the same word, listed once from now on.
    const qsizetype before = m_allWords.size();
    QSet<const QLXWord *> listed;
    listed.reserve(before);
    m_allWords.removeIf([&removed, &listed](const std::shared_ptr<QLXWord> &word) {
        if (removed.contains(word.get()) || listed.contains(word.get()))
            return true;
        listed.insert(word.get());
        return false;
    });
    rebuildDerivedData();
    return before - m_allWords.size();
}

bool Lexicarta::mergeWithOtherVersion(Lexicarta &other)
{
    if (&other == this)
        return false;
    Counterparts counterparts(m_allWords);
    QSet<const QLXWord *> replaced;
    lexi::WordList taken;
    bool changed = false;
    for (const std::shared_ptr<QLXWord> &incoming : other.m_allWords) {
        // A word object both versions hold has nothing to take over.
        if (counterparts.holds(incoming) || replaced.contains(incoming.get()))
            continue;
        std::shared_ptr<QLXWord> local = counterparts.counterpart(*incoming);
        if (local && sharesOnlyItsIdentifier(*incoming, *local)) {
            // It comes in under the identifier every installation derives for it, under which it
            // may have come in before.
            incoming->setCreationID(lexi::derivedCreationID(*incoming));
            local = counterparts.counterpart(*incoming);
            if (local && sharesOnlyItsIdentifier(*incoming, *local))
                local = nullptr;
        } else if (!local && !lexi::CreationIdentifierMaker::isMadeHere(incoming->creationID())) {
            // An older identifier, which the word may have here under its derived one.
            const qint64 derived = lexi::derivedCreationID(*incoming);
            local = counterparts.counterpart(*incoming, derived);
            if (local && !sharesOnlyItsIdentifier(*incoming, *local))
                incoming->setCreationID(derived);
            else
                local = nullptr;
        } else if (!local && lexi::CreationIdentifierMaker::isDerived(incoming->creationID())) {
            // Derived elsewhere from a word that has its older identifier here.
            local = counterparts.derivedFrom(incoming->creationID());
        }
        if (local && !supersedes(*incoming, *local)) {
            counterparts.pair(local);
            if (incoming->effectiveLevel() == local->effectiveLevel()) {
                if (incoming->dontAskAgain() && !local->dontAskAgain()) {
                    local->setDontAskAgain(true);
                    changed = true;
                }
                if (local->lastAsked() && incoming->lastAsked() && *local->lastAsked() < *incoming->lastAsked()) {
                    local->setLastAsked(incoming->lastAsked());
                    changed = true;
                }
            }
            continue;
        }
        if (local)
            replaced.insert(local.get());
        counterparts.replace(local, incoming);
        taken.append(incoming);
    }
    // Replaced words go and link here no more; the words taken over come last, in the order
    // taken. Every word here then links here, also one the other version held as well.
    const auto isReplaced = [&replaced](const std::shared_ptr<QLXWord> &word) { return replaced.contains(word.get()); };
    m_allWords.removeIf([this, &isReplaced](const std::shared_ptr<QLXWord> &word) {
        if (!isReplaced(word))
            return false;
        if (word->weakVocForSort().lock().get() == this)
            word->setWeakVocForSort({});
        return true;
    });
    taken.removeIf(isReplaced);
    setAllWords(m_allWords + taken);
    buildSynonyms();

    // Every day either side recorded stays; today's counts the words as merged.
    const Snapshots history = mergedHistory(m_statistics.dailySnapshots(), other.m_statistics.dailySnapshots());
    const bool historyChanged = history != m_statistics.dailySnapshots();
    m_statistics.setDailySnapshots(history);
    const QLXDailyStatisticsSnapshot today = QLXDailyStatisticsSnapshot::initWithVocabulary(*this);
    if (!history.isEmpty() && history.last().compareDates(today) == 0 && history.last() != today)
        makeDailyStatisticsSnapshot();
    return changed || !taken.isEmpty() || historyChanged;
}

void Lexicarta::joinWithVocabulary(Lexicarta &other, bool addAllToUnknown)
{
    if (&other == this)
        return;
    PreparedAddition addition = prepareAddition();
    prepareJoin(addition, other, addAllToUnknown);
    // Setting the levels tells the vocabulary a word links to: one linking here but not listed
    // makes the addition look out of date, though the words chosen are not.
    const lexi::WordList joined = addition.appended();
    if (!addPrepared(std::move(addition)))
        batchAddWords(joined);
}

void Lexicarta::prepareJoin(PreparedAddition &addition, Lexicarta &other, bool addAllToUnknown)
{
    lexi::CreationIdentifierMaker identifiers =
        lexi::CreationIdentifierMaker::forIdentifiers(addition.listedIdentifiers(), addition.now());
    QSet<const QLXWord *> ownWords = lexi::wordObjects(addition.words());
    lexi::WordEqualityIndex texts(addition.listedWords());
    lexi::WordList joined;
    for (const std::shared_ptr<QLXWord> &word : std::as_const(other.m_allWords)) {
        if (ownWords.contains(word.get()))
            continue;
        if (addAllToUnknown)
            word->setLevel(0);
        if (!texts.insert(*word))
            continue;
        ownWords.insert(word.get());
        word->setCreationID(identifiers.next());
        joined.append(word);
    }
    addition.append(joined);
}

Lexicarta::PreparedMerge Lexicarta::prepareMerge() const
{
    PreparedMerge merge;
    merge.m_wordChanges = m_wordChanges;
    merge.m_mark = wordChangeMark();
    merge.m_statistics = m_statistics;
    merge.m_merged = create(m_services);
    // What is stored of each word is all of it: the words are made anew from it on the other
    // thread, in the order they are listed here.
    merge.m_storedWords = storedWordLists();
    merge.m_levels.reserve(std::size_t(m_allWords.size()));
    for (const std::shared_ptr<QLXWord> &word : m_allWords)
        merge.m_levels.push_back(quint8(word->effectiveLevel()));
    return merge;
}

void Lexicarta::PreparedMerge::merge(const Lexicarta &other)
{
    Lexicarta &merged = *m_merged;
    std::array<std::vector<std::shared_ptr<QLXWord>>, QLXWord::nativeLevel + 1> levels;
    for (std::size_t level = 0; level < levels.size(); ++level) {
        levels[level].reserve(std::size_t(m_storedWords[level].size()));
        for (const lexi::StoredWordList::Entry &stored : m_storedWords[level])
            levels[level].push_back(QLXWord::fromStoredWord(lexi::StoredWord(*stored)));
    }
    std::array<std::size_t, QLXWord::nativeLevel + 1> taken{};
    lexi::WordList words;
    words.reserve(qsizetype(m_levels.size()));
    for (const quint8 level : m_levels) {
        // The level lists did not hold the words listed: the merge is left to the vocabulary.
        if (taken[level] == levels[level].size())
            return;
        words.append(levels[level][taken[level]++]);
    }
    for (std::size_t level = 0; level < levels.size(); ++level) {
        if (taken[level] != levels[level].size())
            return;
    }
    merged.setAllWords(words);
    merged.m_statistics = m_statistics;
    // The other version stays as it is, for a merge into the vocabulary itself should this one
    // come too late.
    const std::shared_ptr<Lexicarta> incoming = create(other.m_services);
    // A word object listed twice stays one word, as the merge takes it.
    QHash<const QLXWord *, std::shared_ptr<QLXWord>> copies;
    copies.reserve(other.m_allWords.size());
    lexi::WordList incomingWords;
    incomingWords.reserve(other.m_allWords.size());
    for (const std::shared_ptr<QLXWord> &word : other.m_allWords) {
        std::shared_ptr<QLXWord> &copy = copies[word.get()];
        if (!copy)
            copy = word->copy();
        incomingWords.append(copy);
    }
    incoming->setAllWords(incomingWords);
    incoming->m_statistics = other.m_statistics;
    merged.mergeWithOtherVersion(*incoming);
    merged.positions();
    merged.storedWordLists();
    merged.tagIndex();
    merged.synonymGroups();
    merged.wordTexts();
    merged.takenIdentifiers();
    m_isMerged = true;
}

bool Lexicarta::takePreparedMerge(PreparedMerge &&merge)
{
    if (!merge.m_isMerged || merge.m_wordChanges != m_wordChanges
        || merge.m_mark != wordChangeMark() || merge.m_statistics.dailySnapshots() != m_statistics.dailySnapshots())
        return false;
    Lexicarta &merged = *merge.m_merged;
    for (const std::shared_ptr<QLXWord> &word : std::as_const(m_allWords)) {
        if (word->weakVocForSort().lock().get() == this)
            word->setWeakVocForSort({});
    }
    // What is replaced goes with the merge, wherever that is dropped.
    swapWordsAndDerivedData(merged.m_allWords, merged.m_positions, merged.m_levelLists, merged.m_tagIndex,
                            merged.m_synonyms);
    std::swap(m_wordTexts, merged.m_wordTexts);
    std::swap(m_takenIdentifiers, merged.m_takenIdentifiers);
    std::swap(m_statistics, merged.m_statistics);
    const std::weak_ptr<Lexicarta> self = weak_from_this();
    for (const std::shared_ptr<QLXWord> &word : std::as_const(m_allWords))
        word->setWeakVocForSort(self);
    wordsChanged();
    return true;
}
