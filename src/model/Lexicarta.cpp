#include "Lexicarta.h"

#include "JsonValues.h"
#include "KeyboardInputSources.h"

#include "platform/StringTables.h"
#include "platform/WholeNumbers.h"

#include <QJsonArray>
#include <QSet>

#include <algorithm>
#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr quint64 nativeLevel = 5;

// The keys of the six level lists in both stored forms, from level 0 to 5.
constexpr std::array<const char *, 6> levelListKeys = {
    "unknownWords", "ultraShortTermWords", "shortTermWords", "midTermWords", "longTermWords", "nativeWords"};
// Words below this level never keep a don't-ask-again mark in the stored forms.
constexpr quint64 firstLevelKeepingDontAskAgain = 4;

std::optional<QString> optionalString(const QJsonValue &value)
{
    return value.isString() ? std::optional<QString>(value.toString()) : std::nullopt;
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
    const QString language = optionalString(dictionary["language"_L1]).value_or(u"No name"_s);
    vocabulary->setForeignLanguageName(optionalString(dictionary["foreignLanguageName"_L1]).value_or(language));
    vocabulary->setYourLanguageName(
        optionalString(dictionary["yourLanguageName"_L1]).value_or(lexi::StringTables::text(u"yourLanguageName"_s)));
    vocabulary->takeStoredWords(levels);
    vocabulary->m_statistics = QLXStatistics::initWithDictionary(dictionary["statistics"_L1].toObject());
    vocabulary->setYourFacultativeWords(distinctStringsValue(dictionary["yourFacultativeWords"_L1]));
    vocabulary->setForeignFacultativeWords(distinctStringsValue(dictionary["foreignFacultativeWords"_L1]));
    vocabulary->setYourTextInputSourceId(optionalString(dictionary["yourTextInputSourceName"_L1]));
    vocabulary->setForeignTextInputSourceId(optionalString(dictionary["foreignTextInputSourceName"_L1]));
    vocabulary->m_isAutoSelectInputSource = boolValue(dictionary["isAutoSelectInputSource"_L1]);
    vocabulary->m_isDisableMisspellRecognition = boolValue(dictionary["isDisableMisspellRecognition"_L1]);
    vocabulary->m_needsSync = boolValue(dictionary["isDirty"_L1]);
    vocabulary->m_version = counterValue(dictionary["version"_L1]);
    return vocabulary;
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
    lexi::WordList words;
    QSet<const QLXWord *> taken;
    for (size_t level = 0; level < levels.size(); ++level) {
        for (const std::shared_ptr<QLXWord> &word : levels[level]) {
            // An archive may refer to one word object from several places; it is one word.
            if (taken.contains(word.get()))
                continue;
            taken.insert(word.get());
            word->setLevel(level);
            if (level < firstLevelKeepingDontAskAgain)
                word->setDontAskAgain(false);
            word->setWeakVocForSort(weak_from_this());
            words.append(word);
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
    m_allWords.removeAll(nullptr);
    invalidateCachedWordLists();
}

const Lexicarta::LevelLists &Lexicarta::levelLists() const
{
    if (!m_levelLists) {
        LevelLists lists;
        for (const std::shared_ptr<QLXWord> &word : m_allWords) {
            const quint64 level = std::min(word->level(), nativeLevel);
            lists.levels[level].append(word);
            if (level == nativeLevel && !word->dontAskAgain())
                lists.nativeWithoutDontAsk.append(word);
        }
        m_levelLists = std::move(lists);
    }
    return *m_levelLists;
}

lexi::WordList Lexicarta::wordsInLevel(quint64 level) const
{
    return levelLists().levels[std::min(level, nativeLevel)];
}

lexi::WordList Lexicarta::nativeWithoutDontAsk() const
{
    return levelLists().nativeWithoutDontAsk;
}

void Lexicarta::invalidateCachedWordLists()
{
    m_levelLists.reset();
}

void Lexicarta::addWord(const std::shared_ptr<QLXWord> &word)
{
    if (!word)
        return;
    word->setCreationID(unusedCreationID(currentTime()));
    m_allWords.append(word);
    invalidateCachedWordLists();
    word->setWeakVocForSort(weak_from_this());
}

qint64 Lexicarta::unusedCreationID(qint64 candidate) const
{
    QSet<qint64> taken;
    for (const std::shared_ptr<QLXWord> &word : m_allWords) {
        if (word->creationID() >= candidate)
            taken.insert(word->creationID());
    }
    // Fewer words than identifiers above the candidate, so a free one is found.
    while (taken.contains(candidate))
        ++candidate;
    return candidate;
}

void Lexicarta::removeWord(const std::shared_ptr<QLXWord> &word)
{
    if (!word)
        return;
    m_allWords.removeAll(word);
    invalidateCachedWordLists();
}

qint64 Lexicarta::currentTime() const
{
    return lexi::truncatedToInt64(m_services.clock.now().secondsSinceReferenceDate());
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

void Lexicarta::answeredWord(QLXWord &word, int correct)
{
    word.setLastAsked(m_services.clock.now());
    const quint64 level = word.level();
    if (correct == 1) {
        word.setLevel(level < nativeLevel ? level + 1 : nativeLevel);
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
    return restTimes[std::min(level, nativeLevel)];
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
    std::vector<bool> taken(candidates.size(), false);
    while (picked.size() < wanted) {
        const qint64 index = m_random.randomIntBetween(0, candidates.size() - 1);
        if (!taken[index]) {
            taken[index] = true;
            picked.append(candidates[index]);
        }
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
