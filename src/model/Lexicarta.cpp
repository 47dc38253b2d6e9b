#include "Lexicarta.h"

#include "CreationIdentifiers.h"
#include "KeyboardInputSources.h"
#include "WordObjectSet.h"
#include "WordObjects.h"

#include "platform/dispatch/ConcurrentSlices.h"
#include "platform/files/StringTables.h"
#include "platform/values/WholeNumbers.h"

#include <QSet>

#include <algorithm>
#include <atomic>
#include <vector>

using namespace Qt::StringLiterals;

// A vocabulary's languages and its words: adding, removing, finding and filtering them. Its
// stored forms are in LexicartaStoredForms.cpp, the level scheme and due words in
// LexicartaLevels.cpp, tags and synonyms in LexicartaSynonymsAndTags.cpp, and merging, joining
// and removing duplicates in LexicartaMerge.cpp.

std::shared_ptr<Lexicarta> Lexicarta::create(const lexi::VocabularyServices &services)
{
    std::shared_ptr<Lexicarta> vocabulary(new Lexicarta(services));
    vocabulary->makeDailyStatisticsSnapshot();
    return vocabulary;
}

namespace {

quint64 newVocabularyIdentity()
{
    static std::atomic<quint64> made{0};
    return ++made;
}

} // namespace

Lexicarta::Lexicarta(const lexi::VocabularyServices &services)
    : m_services(services),
      m_identity(newVocabularyIdentity()),
      m_language(lexi::StringTables::text(u"unknownLanguage"_s)),
      m_foreignLanguageName(m_language),
      m_yourLanguageName(lexi::StringTables::text(u"yourLanguageName"_s))
{
    m_allWords.reserve(512);
    m_foreignFacultativeWords.reserve(3);
    m_yourFacultativeWords.reserve(3);
}

void Lexicarta::setLanguage(const QString &language)
{
    m_language = language;
    m_foreignLanguageName = language;
}

void Lexicarta::setForeignLanguageName(const QString &name)
{
    setLanguage(name);
}

void Lexicarta::setYourFacultativeWords(const QStringList &words)
{
    m_yourFacultativeWords = words;
    m_yourFacultativeWords.removeDuplicates();
}

void Lexicarta::setForeignFacultativeWords(const QStringList &words)
{
    m_foreignFacultativeWords = words;
    m_foreignFacultativeWords.removeDuplicates();
}

void Lexicarta::setYourTextInputSourceId(const std::optional<QString> &identifier)
{
    m_yourTextInputSourceId = identifier;
    selectInputSource(identifier, m_yourTextInputSource);
}

void Lexicarta::setForeignTextInputSourceId(const std::optional<QString> &identifier)
{
    m_foreignTextInputSourceId = identifier;
    selectInputSource(identifier, m_foreignTextInputSource);
}

void Lexicarta::selectInputSource(const std::optional<QString> &identifier,
                                  std::optional<lexi::InputSource> &source) const
{
    if (!identifier)
        return;
    for (const lexi::InputSource &candidate : lexi::allInputSources(m_services.inputSources, false)) {
        if (candidate.identifier == *identifier) {
            source = candidate;
            return;
        }
    }
}

void Lexicarta::setAllWords(const lexi::WordList &words)
{
    m_allWords = words;
    if (m_allWords.contains(nullptr))
        m_allWords.removeAll(nullptr);
    // Only words that link here tell this vocabulary of their changes.
    const std::weak_ptr<Lexicarta> self = weak_from_this();
    for (const std::shared_ptr<QLXWord> &word : std::as_const(m_allWords))
        word->setWeakVocForSort(self);
    dropDerivedData();
}

void Lexicarta::dropDerivedData()
{
    wordsChanged();
    m_preparation.reset();
    m_positions.reset();
    m_levelLists.reset();
    m_tagIndex.reset();
    m_synonyms.reset();
    m_wordTexts.reset();
    m_takenIdentifiers.reset();
}

const lexi::WordPositions &Lexicarta::positions() const
{
    if (!m_positions)
        m_positions.emplace(m_allWords);
    return *m_positions;
}

void Lexicarta::invalidateCachedWordLists()
{
    wordsChanged();
    m_levelLists.reset();
}

void Lexicarta::invalidateTagIndex()
{
    wordsChanged();
    m_tagIndex.reset();
}

void Lexicarta::invalidateSynonyms()
{
    wordsChanged();
    m_synonyms.reset();
}

void Lexicarta::addWord(const std::shared_ptr<QLXWord> &word)
{
    if (word)
        addWord(word, lexi::CreationIdentifierMaker::nextNotIn(takenIdentifiers(), m_services.clock.now()));
}

void Lexicarta::addWord(const std::shared_ptr<QLXWord> &word, qint64 creationID)
{
    if (!word)
        return;
    word->setCreationID(creationID);
    adopt(word);
    derivedDataAdd(word);
    updateSynonymsWithWord(word);
}

void Lexicarta::batchAddWords(const lexi::WordList &words)
{
    lexi::WordList added = words;
    added.removeAll(nullptr);
    const auto unnumbered = std::count_if(added.cbegin(), added.cend(),
                                          [](const std::shared_ptr<QLXWord> &word) { return word->creationID() < 0; });
    if (unnumbered > 0) {
        lexi::CreationIdentifierMaker identifiers(m_allWords + added, m_services.clock.now());
        for (const std::shared_ptr<QLXWord> &word : added) {
            if (word->creationID() < 0)
                word->setCreationID(identifiers.next());
        }
    }
    // What derived data is kept follows the new words one by one: a batch into a large vocabulary
    // costs as many steps as it has words.
    for (const std::shared_ptr<QLXWord> &word : added) {
        adopt(word);
        derivedDataAdd(word);
    }
}

void Lexicarta::adopt(const std::shared_ptr<QLXWord> &word)
{
    wordsChanged();
    word->setWeakVocForSort(weak_from_this());
    m_allWords.append(word);
    takeIdentifier(*word);
}

const QSet<qint64> &Lexicarta::takenIdentifiers() const
{
    if (!m_takenIdentifiers) {
        // The words are read in slices at once; only taking their identifiers in is left to this
        // thread.
        const std::vector<std::vector<qint64>> slices =
            lexi::dispatch::mapSlices(m_allWords.size(), [this](qsizetype begin, qsizetype end) {
                std::vector<qint64> identifiers;
                identifiers.reserve(std::size_t(end - begin));
                for (qsizetype i = begin; i < end; ++i) {
                    if (const qint64 identifier = m_allWords[i]->creationID();
                        lexi::CreationIdentifierMaker::isMadeHere(identifier))
                        identifiers.push_back(identifier);
                }
                return identifiers;
            });
        QSet<qint64> &taken = m_takenIdentifiers.emplace();
        taken.reserve(m_allWords.size());
        for (const std::vector<qint64> &identifiers : slices) {
            for (const qint64 identifier : identifiers)
                taken.insert(identifier);
        }
    }
    return *m_takenIdentifiers;
}

void Lexicarta::takeIdentifier(const QLXWord &word) const
{
    if (m_takenIdentifiers && lexi::CreationIdentifierMaker::isMadeHere(word.creationID()))
        m_takenIdentifiers->insert(word.creationID());
}

void Lexicarta::derivedDataAdd(const std::shared_ptr<QLXWord> &word)
{
    derivedDataAdd(word, m_positions, m_levelLists, m_tagIndex, m_synonyms);
    if (m_wordTexts)
        m_wordTexts->add(*word);
}

void Lexicarta::swapWordsAndDerivedData(lexi::WordList &words, std::optional<lexi::WordPositions> &positions,
                                        std::optional<LevelLists> &levelLists, std::optional<lexi::TagIndex> &tagIndex,
                                        std::optional<Synonyms> &synonyms)
{
    std::swap(m_allWords, words);
    std::swap(m_positions, positions);
    std::swap(m_levelLists, levelLists);
    std::swap(m_tagIndex, tagIndex);
    std::swap(m_synonyms, synonyms);
}

void Lexicarta::derivedDataAdd(const std::shared_ptr<QLXWord> &word, std::optional<lexi::WordPositions> &positions,
                               std::optional<LevelLists> &levelLists, std::optional<lexi::TagIndex> &tagIndex,
                               std::optional<Synonyms> &synonyms)
{
    // The tag index is kept only together with the positions.
    if (positions) {
        const qint64 position = positions->append(*word);
        if (tagIndex && !tagIndex->addWord(*word, position))
            tagIndex.reset();
    }
    if (levelLists) {
        const quint64 level = word->effectiveLevel();
        levelLists->levels[level].append(word);
        if (levelLists->stored)
            (*levelLists->stored)[level].append(word->storedForm());
        if (level == QLXWord::nativeLevel && !word->dontAskAgain())
            levelLists->nativeWithoutDontAsk.append(word);
    }
    if (synonyms)
        synonyms->add(word);
}

Lexicarta::PreparedAddition Lexicarta::prepareAddition() const
{
    PreparedAddition addition;
    addition.m_wordChanges = m_wordChanges;
    addition.m_now = m_services.clock.now();
    addition.m_allWords = m_allWords;
    addition.m_positions = m_positions;
    addition.m_levelLists = m_levelLists;
    addition.m_tagIndex = m_tagIndex;
    addition.m_synonyms = m_synonyms;
    addition.m_listed.reserve(size_t(m_allWords.size()));
    for (const std::shared_ptr<QLXWord> &word : m_allWords)
        addition.m_listed.push_back({word->foreignWord(), word->yourWord(), word->creationID()});
    return addition;
}

QList<qint64> Lexicarta::PreparedAddition::listedIdentifiers() const
{
    QList<qint64> identifiers;
    identifiers.reserve(qsizetype(m_listed.size()));
    for (const ListedWord &word : m_listed)
        identifiers.append(word.creationID);
    return identifiers;
}

void Lexicarta::PreparedAddition::append(const lexi::WordList &words)
{
    // Each copy of the derived data is made once, here, by its first change.
    for (const std::shared_ptr<QLXWord> &word : words) {
        if (!word)
            continue;
        m_allWords.append(word);
        m_appended.append(word);
        derivedDataAdd(word, m_positions, m_levelLists, m_tagIndex, m_synonyms);
    }
}

bool Lexicarta::addPrepared(PreparedAddition &&addition)
{
    if (addition.m_wordChanges != m_wordChanges)
        return false;
    if (addition.m_appended.isEmpty())
        return true;
    // What is replaced goes with the addition, wherever that is dropped.
    swapWordsAndDerivedData(addition.m_allWords, addition.m_positions, addition.m_levelLists, addition.m_tagIndex,
                            addition.m_synonyms);
    const std::weak_ptr<Lexicarta> self = weak_from_this();
    for (const std::shared_ptr<QLXWord> &word : std::as_const(addition.m_appended)) {
        word->setWeakVocForSort(self);
        takeIdentifier(*word);
        if (m_wordTexts)
            m_wordTexts->add(*word);
    }
    wordsChanged();
    return true;
}

void Lexicarta::derivedDataRemove(const lexi::WordList &removed)
{
    std::array<bool, QLXWord::nativeLevel + 1> levelsLosingWords{};
    bool tagIndexFollows = m_tagIndex.has_value();
    for (const std::shared_ptr<QLXWord> &word : removed) {
        levelsLosingWords[word->effectiveLevel()] = true;
        if (m_positions)
            m_positions->remove(*word);
        if (tagIndexFollows)
            tagIndexFollows = m_tagIndex->removeWord(*word, word->tags());
        if (m_synonyms)
            m_synonyms->remove(*word, word->yourWord(), word->foreignWord());
        if (m_wordTexts)
            m_wordTexts->remove(*word, word->foreignWord(), word->yourWord());
    }
    if (!tagIndexFollows)
        m_tagIndex.reset();
    if (!m_levelLists)
        return;
    // One pass over each list that loses words.
    const lexi::WordObjectSet objects(lexi::wordObjects(removed));
    const auto isRemoved = [&objects](const std::shared_ptr<QLXWord> &word) { return objects.contains(word.get()); };
    for (quint64 level = 0; level <= QLXWord::nativeLevel; ++level) {
        if (!levelsLosingWords[level])
            continue;
        lexi::WordList &words = m_levelLists->levels[level];
        if (m_levelLists->stored) {
            std::vector<qsizetype> indexes;
            for (qsizetype i = 0; i < words.size(); ++i) {
                if (isRemoved(words[i]))
                    indexes.push_back(i);
            }
            (*m_levelLists->stored)[level].remove(indexes);
        }
        words.removeIf(isRemoved);
    }
    if (levelsLosingWords[QLXWord::nativeLevel])
        m_levelLists->nativeWithoutDontAsk.removeIf(isRemoved);
}

void Lexicarta::rebuildDerivedData()
{
    dropDerivedData();
    buildSynonyms();
}

void Lexicarta::removeWord(const std::shared_ptr<QLXWord> &word)
{
    if (word)
        removeWordObjects({word.get()});
}

void Lexicarta::removeWords(const lexi::WordList &words)
{
    QSet<const QLXWord *> objects = lexi::wordObjects(words);
    objects.remove(nullptr);
    if (!objects.isEmpty())
        removeWordObjects(objects);
}

void Lexicarta::removeWordObjects(const QSet<const QLXWord *> &objects)
{
    wordsChanged();
    const lexi::WordObjectSet removing(objects);
    lexi::WordList removed;
    m_allWords.removeIf([&removing, &removed](const std::shared_ptr<QLXWord> &word) {
        if (!removing.contains(word.get()))
            return false;
        removed.append(word);
        return true;
    });
    if (!removed.isEmpty())
        derivedDataRemove(removed);
}

qint64 Lexicarta::currentTime() const
{
    return lexi::truncatedToInt64(m_services.clock.now().secondsSinceReferenceDate());
}

qint64 Lexicarta::batchImportIdForRange(qint64 count) const
{
    return lexi::CreationIdentifierMaker(m_allWords, m_services.clock.now()).nextRange(count);
}

std::shared_ptr<QLXWord> Lexicarta::findWordEqualTo(const QLXWord &word) const
{
    const auto found = std::find_if(m_allWords.cbegin(), m_allWords.cend(),
                                    [&word](const std::shared_ptr<QLXWord> &candidate) {
                                        return candidate->isEqualToWord(word);
                                    });
    return found != m_allWords.cend() ? *found : nullptr;
}

const lexi::WordTextIndex &Lexicarta::wordTexts() const
{
    if (!m_wordTexts)
        m_wordTexts.emplace(m_allWords);
    return *m_wordTexts;
}

bool Lexicarta::containsWordEqualTo(const QLXWord &word) const
{
    if (!m_synonyms)
        return wordTexts().containsWordEqualTo(word);
    const auto group = m_synonyms->foreignWords.constFind(word.foreignWord());
    return group != m_synonyms->foreignWords.cend()
           && std::any_of(group->cbegin(), group->cend(),
                          [&word](const std::shared_ptr<QLXWord> &candidate) { return candidate->isEqualToWord(word); });
}

std::shared_ptr<QLXWord> Lexicarta::findWordByID(qint64 creationID) const
{
    const auto found = std::find_if(m_allWords.cbegin(), m_allWords.cend(),
                                    [creationID](const std::shared_ptr<QLXWord> &candidate) {
                                        return candidate->creationID() == creationID;
                                    });
    return found != m_allWords.cend() ? *found : nullptr;
}

void Lexicarta::sortByForeignThenYourWord()
{
    // Each side is folded once: comparing folded text unit by unit orders as comparing it
    // ignoring case. The first four units of the foreign side, packed into a number beside the
    // word's position, decide most comparisons without touching the text.
    struct Sides
    {
        QString foreignWord;
        QString yourWord;
    };
    struct Entry
    {
        quint64 start;
        qsizetype position;
    };
    const auto units = [](const QString &text) {
        return std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size()));
    };
    std::vector<Sides> sides;
    std::vector<Entry> entries;
    sides.reserve(m_allWords.size());
    entries.reserve(m_allWords.size());
    for (qsizetype position = 0; position < m_allWords.size(); ++position) {
        const QLXWord &word = *m_allWords[position];
        const Sides &folded = sides.emplace_back(Sides{word.foreignWordWithoutFacultatives().toCaseFolded(),
                                                       word.yourWordWithoutFacultatives().toCaseFolded()});
        quint64 start = 0;
        for (qsizetype i = 0; i < 4; ++i)
            start = start << 16 | (i < folded.foreignWord.size() ? folded.foreignWord.at(i).unicode() : 0);
        entries.push_back({start, position});
    }
    std::stable_sort(entries.begin(), entries.end(), [&sides, &units](const Entry &left, const Entry &right) {
        if (left.start != right.start)
            return left.start < right.start;
        const Sides &leftSides = sides[left.position];
        const Sides &rightSides = sides[right.position];
        if (const int foreign = units(leftSides.foreignWord).compare(units(rightSides.foreignWord)); foreign != 0)
            return foreign < 0;
        return units(leftSides.yourWord) < units(rightSides.yourWord);
    });
    lexi::WordList sorted;
    sorted.reserve(m_allWords.size());
    for (const Entry &entry : entries)
        sorted.append(m_allWords[entry.position]);
    m_allWords = std::move(sorted);
    wordsChanged();
    // The synonyms do not depend on the order; everything kept in stored order does.
    m_positions.reset();
    m_levelLists.reset();
    m_tagIndex.reset();
}

lexi::WordList Lexicarta::filterWords(const lexi::WordList &words, const std::optional<QString> &term)
{
    if (!term || term->isEmpty())
        return words;
    lexi::WordList matching;
    for (const std::shared_ptr<QLXWord> &word : words) {
        if (word->matchesSearchTerm(term))
            matching.append(word);
    }
    return matching;
}

lexi::WordList Lexicarta::filteredWords(const lexi::WordList &words, const QStringList &tags, bool mustHaveAll)
{
    if (tags.isEmpty())
        return words;
    lexi::WordList tagged;
    for (const std::shared_ptr<QLXWord> &word : words) {
        const auto carries = [&word](const QString &tag) { return word->tags().contains(tag); };
        if (mustHaveAll ? std::all_of(tags.cbegin(), tags.cend(), carries)
                        : std::any_of(tags.cbegin(), tags.cend(), carries))
            tagged.append(word);
    }
    return tagged;
}
