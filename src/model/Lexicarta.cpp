#include "Lexicarta.h"

#include "KeyboardInputSources.h"

#include "platform/StringTables.h"
#include "platform/WholeNumbers.h"

#include <QSet>

#include <algorithm>
#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr quint64 nativeLevel = 5;

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
