#include "Lexicarta.h"

#include "CreationIdentifiers.h"
#include "JsonValues.h"
#include "KeyboardInputSources.h"

#include "platform/files/StringTables.h"
#include "platform/ports/Console.h"
#include "platform/values/WholeNumbers.h"

#include <QHash>
#include <QJsonArray>
#include <QSet>

#include <algorithm>
#include <limits>
#include <numeric>
#include <string_view>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The keys of the six level lists in both stored forms, from level 0 to 5.
constexpr std::array<const char *, 6> levelListKeys = {
    "unknownWords", "ultraShortTermWords", "shortTermWords", "midTermWords", "longTermWords", "nativeWords"};
// Words below this level never keep a don't-ask-again mark in the stored forms.
constexpr quint64 firstLevelKeepingDontAskAgain = 4;

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
    explicit Counterparts(const lexi::WordList &words)
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
        const auto sameText = m_byText.constFind({incoming.creationID(), wordText(incoming)});
        if (sameText != m_byText.cend()) {
            if (!sameText->unpaired.empty())
                return sameText->unpaired.begin()->second;
            if (!sameText->paired.empty())
                return sameText->paired.begin()->second;
        }
        const auto unpaired = m_unpairedByID.constFind(incoming.creationID());
        return unpaired != m_unpairedByID.cend() && unpaired->size() == 1 ? unpaired->begin()->second : nullptr;
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

    QHash<const QLXWord *, qsizetype> m_positions;
    qsizetype m_nextPosition = 0;
    QHash<Key, SameText> m_byText;
    QHash<qint64, ByPosition> m_unpairedByID;
};

QSet<const QLXWord *> wordObjects(const lexi::WordList &words)
{
    QSet<const QLXWord *> objects;
    objects.reserve(words.size());
    for (const std::shared_ptr<QLXWord> &word : words)
        objects.insert(word.get());
    return objects;
}

} // namespace

std::shared_ptr<Lexicarta> Lexicarta::create(const lexi::VocabularyServices &services)
{
    std::shared_ptr<Lexicarta> vocabulary(new Lexicarta(services));
    vocabulary->makeDailyStatisticsSnapshot();
    return vocabulary;
}

Lexicarta::Lexicarta(const lexi::VocabularyServices &services)
    : m_services(services),
      m_language(lexi::StringTables::text(u"unknownLanguage"_s)),
      m_foreignLanguageName(m_language),
      m_yourLanguageName(lexi::StringTables::text(u"yourLanguageName"_s))
{
    m_allWords.reserve(512);
    m_foreignFacultativeWords.reserve(3);
    m_yourFacultativeWords.reserve(3);
}

std::shared_ptr<Lexicarta> Lexicarta::initWithDictionary(const QJsonObject &dictionary,
                                                         const lexi::VocabularyServices &services)
{
    using namespace lexi::json;
    std::shared_ptr<Lexicarta> vocabulary = create(services);
    std::array<lexi::WordList, 6> levels;
    for (size_t level = 0; level < levels.size(); ++level) {
        const QJsonArray words = dictionary[QLatin1StringView(levelListKeys[level])].toObject()["words"_L1].toArray();
        levels[level].reserve(words.size());
        for (const QJsonValue &word : words) {
            if (word.isObject())
                levels[level].append(QLXWord::initWithDictionary(word.toObject()));
        }
    }
    const QString language = optionalStringValue(dictionary["language"_L1]).value_or(u"No name"_s);
    vocabulary->setForeignLanguageName(optionalStringValue(dictionary["foreignLanguageName"_L1]).value_or(language));
    vocabulary->setYourLanguageName(
        optionalStringValue(dictionary["yourLanguageName"_L1]).value_or(lexi::StringTables::text(u"yourLanguageName"_s)));
    vocabulary->takeStoredWords(levels);
    vocabulary->m_statistics = QLXStatistics::initWithDictionary(dictionary["statistics"_L1].toObject());
    vocabulary->setYourFacultativeWords(distinctStringsValue(dictionary["yourFacultativeWords"_L1]));
    vocabulary->setForeignFacultativeWords(distinctStringsValue(dictionary["foreignFacultativeWords"_L1]));
    vocabulary->setYourTextInputSourceId(optionalStringValue(dictionary["yourTextInputSourceName"_L1]));
    vocabulary->setForeignTextInputSourceId(optionalStringValue(dictionary["foreignTextInputSourceName"_L1]));
    vocabulary->m_isAutoSelectInputSource = boolValue(dictionary["isAutoSelectInputSource"_L1]);
    vocabulary->m_isDisableMisspellRecognition = boolValue(dictionary["isDisableMisspellRecognition"_L1]);
    vocabulary->m_needsSync = boolValue(dictionary["isDirty"_L1]);
    vocabulary->m_version = counterValue(dictionary["version"_L1]);
    return vocabulary;
}

bool Lexicarta::isVocabularyDocument(const QJsonObject &document)
{
    bool holdsAList = false;
    for (const char *key : levelListKeys) {
        const auto list = document.constFind(QLatin1StringView(key));
        if (list == document.constEnd())
            continue;
        if (!list->isObject() || !list->toObject()["words"_L1].isArray())
            return false;
        holdsAList = true;
    }
    return holdsAList;
}

QJsonObject Lexicarta::dictionaryRepresentation() const
{
    QJsonObject dictionary;
    for (size_t level = 0; level < levelListKeys.size(); ++level) {
        QJsonArray words;
        for (const std::shared_ptr<QLXWord> &word : wordsInLevel(level))
            words.append(word->dictionaryRepresentation());
        dictionary[QLatin1StringView(levelListKeys[level])] = QJsonObject{{"words"_L1, words}};
    }
    dictionary["language"_L1] = m_language;
    dictionary["foreignLanguageName"_L1] = m_foreignLanguageName;
    dictionary["yourLanguageName"_L1] = m_yourLanguageName;
    dictionary["yourFacultativeWords"_L1] = QJsonArray::fromStringList(m_yourFacultativeWords);
    dictionary["foreignFacultativeWords"_L1] = QJsonArray::fromStringList(m_foreignFacultativeWords);
    dictionary["statistics"_L1] = m_statistics.dictionaryRepresentation();
    dictionary["yourTextInputSourceName"_L1] = m_yourTextInputSourceId.value_or(QString());
    dictionary["foreignTextInputSourceName"_L1] = m_foreignTextInputSourceId.value_or(QString());
    dictionary["isAutoSelectInputSource"_L1] = m_isAutoSelectInputSource;
    dictionary["isDisableMisspellRecognition"_L1] = m_isDisableMisspellRecognition;
    dictionary["isDirty"_L1] = m_needsSync;
    dictionary["version"_L1] = m_version;
    return dictionary;
}

std::shared_ptr<Lexicarta> Lexicarta::initWithCoder(const lexi::KeyedDecoder &coder,
                                                    const lexi::VocabularyServices &services)
{
    std::shared_ptr<Lexicarta> vocabulary = create(services);
    std::array<lexi::WordList, 6> levels;
    for (size_t level = 0; level < levels.size(); ++level)
        levels[level] = coder.decodeObjectArray<QLXWord>(levelListKeys[level]).value_or(lexi::WordList());
    if (const std::optional<QString> language = coder.decodeString("language"))
        vocabulary->setLanguage(*language);
    if (const std::optional<QString> foreignLanguage = coder.decodeString("foreignLanguageName"))
        vocabulary->setForeignLanguageName(*foreignLanguage);
    vocabulary->setYourLanguageName(
        coder.decodeString("yourLanguageName").value_or(lexi::StringTables::text(u"yourLanguageName"_s)));
    vocabulary->takeStoredWords(levels);
    const std::shared_ptr<QLXStatistics> statistics = coder.decodeObject<QLXStatistics>("statistics");
    vocabulary->m_statistics = statistics ? *statistics : QLXStatistics();
    vocabulary->setYourFacultativeWords(coder.decodeStringSet("yourFacultativeWords").value_or(QStringList()));
    vocabulary->setForeignFacultativeWords(coder.decodeStringSet("foreignFacultativeWords").value_or(QStringList()));
    vocabulary->setYourTextInputSourceId(coder.decodeString("yourTextInputSourceName"));
    vocabulary->setForeignTextInputSourceId(coder.decodeString("foreignTextInputSourceName"));
    vocabulary->m_isAutoSelectInputSource = coder.decodeBool("isAutoSelectInputSource");
    vocabulary->m_isDisableMisspellRecognition = coder.decodeBool("isDisableMisspellRecognition");
    vocabulary->m_needsSync = coder.decodeBool("isDirty");
    vocabulary->m_version = std::max<qint64>(0, coder.decodeInt64("version"));
    return vocabulary;
}

void Lexicarta::encodeWithCoder(lexi::KeyedEncoder &coder) const
{
    for (size_t level = 0; level < levelListKeys.size(); ++level)
        coder.encodeObjectArray(levelListKeys[level], wordsInLevel(level));
    coder.encodeString("language", m_language);
    coder.encodeString("foreignLanguageName", m_foreignLanguageName);
    coder.encodeString("yourLanguageName", m_yourLanguageName);
    coder.encodeObject("statistics", m_statistics);
    coder.encodeStringSet("yourFacultativeWords", m_yourFacultativeWords);
    coder.encodeStringSet("foreignFacultativeWords", m_foreignFacultativeWords);
    coder.encodeString("yourTextInputSourceName", m_yourTextInputSourceId);
    coder.encodeString("foreignTextInputSourceName", m_foreignTextInputSourceId);
    coder.encodeBool("isAutoSelectInputSource", m_isAutoSelectInputSource);
    coder.encodeBool("isDisableMisspellRecognition", m_isDisableMisspellRecognition);
    coder.encodeBool("isDirty", m_needsSync);
    coder.encodeInt64("version", m_version);
}

void Lexicarta::takeStoredWords(const std::array<lexi::WordList, 6> &levels)
{
    qsizetype count = 0;
    for (const lexi::WordList &list : levels)
        count += list.size();
    lexi::WordList words;
    words.reserve(count);
    QSet<const QLXWord *> taken;
    taken.reserve(count);
    qint64 unnumbered = 0;
    for (size_t level = 0; level < levels.size(); ++level) {
        for (const std::shared_ptr<QLXWord> &word : levels[level]) {
            // An archive may refer to one word object from several places; it is one word.
            if (taken.contains(word.get()))
                continue;
            taken.insert(word.get());
            word->setLevel(level);
            if (level < firstLevelKeepingDontAskAgain)
                word->setDontAskAgain(false);
            if (word->creationID() < 1)
                ++unnumbered;
            words.append(word);
        }
    }
    // Words stored without an identifier get new ones, in stored order.
    if (unnumbered > 0) {
        lexi::CreationIdentifierMaker identifiers(words, m_services.clock.now());
        for (const std::shared_ptr<QLXWord> &word : words) {
            if (word->creationID() < 1)
                word->setCreationID(identifiers.next());
        }
    }
    setAllWords(words);
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
    // Only words that link here drop the lists of this vocabulary when they change.
    const std::weak_ptr<Lexicarta> self = weak_from_this();
    for (const std::shared_ptr<QLXWord> &word : std::as_const(m_allWords))
        word->setWeakVocForSort(self);
    invalidateCachedWordLists();
    m_tagIndex.reset();
    m_synonyms.reset();
}

const Lexicarta::LevelLists &Lexicarta::levelLists() const
{
    if (!m_levelLists) {
        LevelLists lists;
        for (const std::shared_ptr<QLXWord> &word : m_allWords) {
            const quint64 level = word->effectiveLevel();
            lists.levels[level].append(word);
            if (level == QLXWord::nativeLevel && !word->dontAskAgain())
                lists.nativeWithoutDontAsk.append(word);
        }
        m_levelLists = std::move(lists);
    }
    return *m_levelLists;
}

lexi::WordList Lexicarta::wordsInLevel(quint64 level) const
{
    return levelLists().levels[QLXWord::effectiveLevel(level)];
}

lexi::WordList Lexicarta::nativeWithoutDontAsk() const
{
    return levelLists().nativeWithoutDontAsk;
}

void Lexicarta::invalidateCachedWordLists()
{
    m_levelLists.reset();
}

void Lexicarta::invalidateTagIndex()
{
    m_tagIndex.reset();
}

void Lexicarta::invalidateSynonyms()
{
    m_synonyms.reset();
}

void Lexicarta::addWord(const std::shared_ptr<QLXWord> &word)
{
    if (word)
        addWord(word, lexi::CreationIdentifierMaker(m_allWords, m_services.clock.now()).next());
}

void Lexicarta::addWord(const std::shared_ptr<QLXWord> &word, qint64 creationID)
{
    if (!word)
        return;
    word->setCreationID(creationID);
    adopt(word);
    invalidateCachedWordLists();
    if (!word->tags().isEmpty())
        m_tagIndex.reset();
    if (m_synonyms)
        m_synonyms->count(*word);
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
    for (const std::shared_ptr<QLXWord> &word : added)
        adopt(word);
    rebuildDerivedData();
}

void Lexicarta::adopt(const std::shared_ptr<QLXWord> &word)
{
    word->setWeakVocForSort(weak_from_this());
    m_allWords.append(word);
}

void Lexicarta::rebuildDerivedData()
{
    invalidateCachedWordLists();
    m_tagIndex.reset();
    buildSynonyms();
}

void Lexicarta::removeWord(const std::shared_ptr<QLXWord> &word)
{
    if (word)
        removeWordObjects({word.get()});
}

void Lexicarta::removeWords(const lexi::WordList &words)
{
    QSet<const QLXWord *> objects = wordObjects(words);
    objects.remove(nullptr);
    if (!objects.isEmpty())
        removeWordObjects(objects);
}

void Lexicarta::removeWordObjects(const QSet<const QLXWord *> &objects)
{
    lexi::WordList removed;
    m_allWords.removeIf([&objects, &removed](const std::shared_ptr<QLXWord> &word) {
        if (!objects.contains(word.get()))
            return false;
        removed.append(word);
        return true;
    });
    if (removed.isEmpty())
        return;
    invalidateCachedWordLists();
    if (std::any_of(removed.cbegin(), removed.cend(),
                    [](const std::shared_ptr<QLXWord> &word) { return !word->tags().isEmpty(); }))
        m_tagIndex.reset();
    if (m_synonyms)
        m_synonyms->remove(removed);
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

std::shared_ptr<QLXWord> Lexicarta::findWordByID(qint64 creationID) const
{
    const auto found = std::find_if(m_allWords.cbegin(), m_allWords.cend(),
                                    [creationID](const std::shared_ptr<QLXWord> &candidate) {
                                        return candidate->creationID() == creationID;
                                    });
    return found != m_allWords.cend() ? *found : nullptr;
}

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
    invalidateCachedWordLists();
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
    std::optional<lexi::CreationIdentifierMaker> identifiers;
    for (const std::shared_ptr<QLXWord> &incoming : other.m_allWords) {
        // A word object both versions hold has nothing to take over.
        if (counterparts.holds(incoming) || replaced.contains(incoming.get()))
            continue;
        std::shared_ptr<QLXWord> local = counterparts.counterpart(*incoming);
        if (local && sharesOnlyItsIdentifier(*incoming, *local)) {
            if (!identifiers)
                identifiers.emplace(m_allWords + other.m_allWords, m_services.clock.now());
            incoming->setCreationID(identifiers->next());
            local = nullptr;
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
    return changed || !taken.isEmpty();
}

void Lexicarta::joinWithVocabulary(Lexicarta &other, bool addAllToUnknown)
{
    if (&other == this)
        return;
    lexi::CreationIdentifierMaker identifiers(m_allWords, m_services.clock.now());
    QSet<const QLXWord *> ownWords = wordObjects(m_allWords);
    QSet<std::pair<QString, QString>> texts;
    texts.reserve(m_allWords.size() + other.countAllWords());
    for (const std::shared_ptr<QLXWord> &word : m_allWords)
        texts.insert(wordText(*word));
    for (const std::shared_ptr<QLXWord> &word : other.m_allWords) {
        if (ownWords.contains(word.get()))
            continue;
        if (addAllToUnknown)
            word->setLevel(0);
        const std::pair<QString, QString> text = wordText(*word);
        if (texts.contains(text))
            continue;
        texts.insert(text);
        ownWords.insert(word.get());
        word->setCreationID(identifiers.next());
        adopt(word);
    }
    rebuildDerivedData();
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
    invalidateCachedWordLists();
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

lexi::WordList Lexicarta::wordsOverDueFromLevel(quint64 level, const QStringList &tags, bool mustHaveAll) const
{
    const double restTime = double(rehearseTimeInSec(level));
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
        if (word.dontAskAgain())
            continue;
        const std::optional<lexi::Date> &lastAsked = word.lastAsked();
        if (!lastAsked) {
            due.push_back({false, 0.0, position});
            continue;
        }
        // Not "at most the rest time": a date that is not a number is never due.
        if (now.secondsSince(*lastAsked) > restTime)
            due.push_back({true, lastAsked->secondsSinceReferenceDate(), position});
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
