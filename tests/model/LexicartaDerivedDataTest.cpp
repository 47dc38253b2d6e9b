#include "support/ConsoleCapture.h"
#include "support/FakeVocabularyServices.h"

#include "model/Lexicarta.h"
#include "model/TagIndex.h"
#include "model/VocabularyJsonWriter.h"
#include "model/VocabularySnapshot.h"

#include <gtest/gtest.h>

#include <QHash>

#include <algorithm>
#include <functional>
#include <random>
#include <set>

using namespace Qt::StringLiterals;
using lexi::WordList;

namespace {

// Every pair of the sides RandomChanges makes: whether the vocabulary holds a word equal to it.
const QStringList sides{u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u""_s};

// What a vocabulary derives from its words, as found from scratch in stored order: the per-level
// lists, the tag index, the synonyms, each word's synonyms and which pairs of sides it holds.
struct Derived
{
    std::array<WordList, 6> levels;
    WordList nativeWithoutDontAsk;
    QStringList allTags;
    QList<std::optional<QStringList>> completions;
    std::set<std::shared_ptr<QLXWord>> synonyms;
    QList<WordList> synonymsOfEachWord;
    QList<bool> holdsSides;

    bool operator==(const Derived &) const = default;
};

QStringList prefixesOfTags(const WordList &words)
{
    QStringList prefixes;
    for (const auto &word : words) {
        for (const QString &tag : word->tags()) {
            for (qsizetype length = 1; length <= tag.size(); ++length)
                prefixes.append(tag.left(length));
        }
    }
    prefixes.removeDuplicates();
    return prefixes;
}

Derived derivedFromScratch(const WordList &words, const QStringList &prefixes)
{
    Derived derived;
    QHash<QString, int> yourCounts;
    QHash<QString, int> foreignCounts;
    for (const auto &word : words) {
        derived.levels[word->effectiveLevel()].append(word);
        if (word->effectiveLevel() == QLXWord::nativeLevel && !word->dontAskAgain())
            derived.nativeWithoutDontAsk.append(word);
        ++yourCounts[word->yourWord()];
        ++foreignCounts[word->foreignWord()];
    }
    const lexi::TagIndex tags(words);
    derived.allTags = tags.allTags();
    for (const QString &prefix : prefixes)
        derived.completions.append(tags.completions(prefix));
    const auto sharesASide = [&](const QLXWord &word) {
        return yourCounts[word.yourWord()] > 1 || foreignCounts[word.foreignWord()] > 1;
    };
    for (const auto &word : words) {
        if (sharesASide(*word))
            derived.synonyms.insert(word);
    }
    for (const auto &word : words) {
        WordList partners;
        for (const auto &candidate : words) {
            if ((candidate->yourWord() == word->yourWord() || candidate->foreignWord() == word->foreignWord())
                && !candidate->isEqualToWord(*word) && sharesASide(*candidate) && !partners.contains(candidate))
                partners.append(candidate);
        }
        derived.synonymsOfEachWord.append(partners);
    }
    for (const QString &yourWord : sides) {
        for (const QString &foreignWord : sides) {
            derived.holdsSides.append(std::any_of(words.cbegin(), words.cend(), [&](const auto &word) {
                return word->yourWord() == yourWord && word->foreignWord() == foreignWord;
            }));
        }
    }
    return derived;
}

Derived derivedByVocabulary(Lexicarta &vocabulary, const QStringList &prefixes)
{
    Derived derived;
    for (quint64 level = 0; level < 6; ++level)
        derived.levels[level] = vocabulary.wordsInLevel(level);
    derived.nativeWithoutDontAsk = vocabulary.nativeWithoutDontAsk();
    derived.allTags = vocabulary.allTags();
    for (const QString &prefix : prefixes)
        derived.completions.append(vocabulary.completionTagsForPrefix(prefix));
    const WordList synonyms = vocabulary.synonyms();
    derived.synonyms = {synonyms.cbegin(), synonyms.cend()};
    for (const auto &word : vocabulary.allWords())
        derived.synonymsOfEachWord.append(vocabulary.synonymsForWord(*word));
    for (const QString &yourWord : sides) {
        for (const QString &foreignWord : sides)
            derived.holdsSides.append(vocabulary.containsWordEqualTo(QLXWord(yourWord, foreignWord)));
    }
    return derived;
}

// Small alphabets, so that sides and tags are often shared.
class RandomChanges
{
public:
    explicit RandomChanges(unsigned seed) : m_random(seed) {}

    int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }
    QString side() { return sides[below(int(sides.size()))]; }
    QStringList tags()
    {
        QStringList tags;
        for (int i = below(4); i > 0; --i)
            tags.append(QStringList{u"food"_s, u"fork"_s, u"f"_s, u"nature"_s, u"navy"_s}[below(5)]);
        return tags;
    }
    std::shared_ptr<QLXWord> newWord()
    {
        auto word = std::make_shared<QLXWord>(side(), side());
        word->setTags(tags());
        word->setLevel(quint64(below(7)));
        return word;
    }

private:
    std::mt19937 m_random;
};

// Adds (one at a time, or prepared as if on another thread), edits, deletes and level moves: after
// each, what the vocabulary keeps up to date equals what a build from scratch finds.
TEST(LexicartaDerivedDataTest, FollowingEachChangeEqualsBuildingAnew)
{
    lexi::test::ConsoleCapture console;
    lexi::test::FakeVocabularyServices fakes;
    for (unsigned seed = 1; seed <= 4; ++seed) {
        RandomChanges changes(seed);
        const std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
        WordList words;
        for (int i = 0; i < 30; ++i)
            words.append(changes.newWord());
        vocabulary->setAllWords(words);
        // Finding the synonyms first sorts the words, once.
        vocabulary->synonyms();
        for (int step = 0; step < 300; ++step) {
            const WordList all = vocabulary->allWords();
            const auto &word = all.isEmpty() ? nullptr : all[changes.below(int(all.size()))];
            const int change = word ? changes.below(11) : 0;
            switch (change) {
            case 0:
                vocabulary->addWord(changes.newWord());
                break;
            case 1:
                word->setYourWord(changes.side());
                break;
            case 2:
                word->setForeignWord(changes.side());
                break;
            case 3:
                word->setTags(changes.tags());
                break;
            case 4:
                word->addTag(changes.tags().value(0, u"fresh"_s));
                break;
            case 5:
                vocabulary->removeWord(word);
                break;
            case 6:
                vocabulary->removeWords({word, all[changes.below(int(all.size()))]});
                break;
            case 7:
                vocabulary->answeredWord(*word, changes.below(3) - 1);
                break;
            case 8:
                word->setLevel(quint64(changes.below(7)));
                break;
            case 9: {
                Lexicarta::PreparedAddition addition = vocabulary->prepareAddition();
                addition.append({changes.newWord(), changes.newWord()});
                const WordList expected = all + addition.appended();
                ASSERT_TRUE(vocabulary->addPrepared(std::move(addition)));
                ASSERT_EQ(vocabulary->allWords(), expected);
                break;
            }
            default:
                word->setDontAskAgain(!word->dontAskAgain());
                break;
            }
            const QStringList prefixes = prefixesOfTags(vocabulary->allWords());
            const Derived kept = derivedByVocabulary(*vocabulary, prefixes);
            ASSERT_EQ(kept, derivedFromScratch(vocabulary->allWords(), prefixes))
                << "seed " << seed << ", step " << step << ", change " << change;
        }
    }
}

// The stored words of each level as values, in order.
using StoredLevels = std::array<std::vector<lexi::StoredWord>, 6>;

StoredLevels storedLevels(const lexi::VocabularySnapshot &snapshot)
{
    StoredLevels levels;
    for (std::size_t level = 0; level < levels.size(); ++level) {
        for (const auto &word : snapshot.levels[level])
            levels[level].push_back(*word);
    }
    return levels;
}

StoredLevels storedFromScratch(const WordList &words)
{
    StoredLevels levels;
    for (const auto &word : words)
        levels[word->effectiveLevel()].push_back(lexi::StoredWord(*word));
    return levels;
}

// Saves take snapshots between the changes; a snapshot holds the words as they were when it was
// taken, however the vocabulary changes after, and the next one holds them as they are now.
TEST(LexicartaDerivedDataTest, SnapshotsHoldTheWordsAsTheyWereWhenTaken)
{
    lexi::test::FakeVocabularyServices fakes;
    for (unsigned seed = 1; seed <= 4; ++seed) {
        RandomChanges changes(seed);
        const std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
        WordList words;
        // Enough words for several chunks in a level.
        for (int i = 0; i < 1500; ++i)
            words.append(changes.newWord());
        vocabulary->setAllWords(words);
        std::vector<std::pair<lexi::VocabularySnapshot, StoredLevels>> taken;
        for (int step = 0; step < 400; ++step) {
            const WordList all = vocabulary->allWords();
            const auto &word = all.isEmpty() ? nullptr : all[changes.below(int(all.size()))];
            const int change = word ? changes.below(10) : 0;
            switch (change) {
            case 0:
                vocabulary->addWord(changes.newWord());
                break;
            case 1:
                vocabulary->batchAddWords({changes.newWord(), changes.newWord()});
                break;
            case 2:
                word->setComment(changes.side());
                break;
            case 3:
                word->setLastAsked(lexi::Date::fromSecondsSinceReferenceDate(step));
                break;
            case 4:
                word->setTags(changes.tags());
                break;
            case 5:
                vocabulary->removeWords({word, all[changes.below(int(all.size()))]});
                break;
            case 6:
                vocabulary->answeredWord(*word, changes.below(3) - 1);
                break;
            case 7:
                word->setLevel(quint64(changes.below(7)));
                break;
            case 8: {
                Lexicarta::PreparedAddition addition = vocabulary->prepareAddition();
                addition.append({changes.newWord(), changes.newWord()});
                ASSERT_TRUE(vocabulary->addPrepared(std::move(addition)));
                break;
            }
            default:
                word->setDontAskAgain(!word->dontAskAgain());
                break;
            }
            if (changes.below(3) == 0) {
                lexi::VocabularySnapshot snapshot(*vocabulary);
                const StoredLevels stored = storedLevels(snapshot);
                ASSERT_EQ(stored, storedFromScratch(vocabulary->allWords()))
                    << "seed " << seed << ", step " << step << ", change " << change;
                taken.emplace_back(std::move(snapshot), stored);
            }
        }
        for (const auto &[snapshot, stored] : taken)
            ASSERT_EQ(storedLevels(snapshot), stored) << "seed " << seed;
    }
}

// An addition prepared before the words or what is derived from them changed is refused and
// changes nothing; one prepared after is taken, linking its words here.
TEST(LexicartaDerivedDataTest, APreparedAdditionIsTakenOnlyWhileNothingChanged)
{
    lexi::test::ConsoleCapture console;
    lexi::test::FakeVocabularyServices fakes;
    const std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    const auto house = std::make_shared<QLXWord>(u"house"_s, u"Haus"_s);
    const auto tree = std::make_shared<QLXWord>(u"tree"_s, u"Baum"_s);
    vocabulary->setAllWords({house, tree});
    vocabulary->synonyms();
    vocabulary->storedWordLists();
    const std::vector<std::function<void()>> changes = {
        [&] { vocabulary->addWord(std::make_shared<QLXWord>(u"dog"_s, u"Hund"_s)); },
        [&] { vocabulary->removeWord(vocabulary->allWords().last()); },
        [&] { house->setLevel(house->level() + 1); },
        [&] { tree->setForeignWord(tree->foreignWord() + u"e"_s); },
        [&] { tree->addTag(u"nature"_s); },
        [&] { vocabulary->invalidateCachedWordLists(); },
        // What a save writes of the words is kept with the level lists.
        [&] { house->setComment(u"big"_s); },
    };
    for (size_t change = 0; change < changes.size(); ++change) {
        Lexicarta::PreparedAddition addition = vocabulary->prepareAddition();
        addition.append({std::make_shared<QLXWord>(u"building"_s, u"Haus"_s)});
        changes[change]();
        const WordList before = vocabulary->allWords();
        EXPECT_FALSE(vocabulary->addPrepared(std::move(addition))) << "change " << change;
        EXPECT_EQ(vocabulary->allWords(), before) << "change " << change;
    }
    Lexicarta::PreparedAddition addition = vocabulary->prepareAddition();
    const auto building = std::make_shared<QLXWord>(u"building"_s, u"Haus"_s);
    addition.append({building});
    EXPECT_TRUE(vocabulary->addPrepared(std::move(addition)));
    EXPECT_EQ(vocabulary->allWords().last(), building);
    EXPECT_EQ(building->weakVocForSort().lock(), vocabulary);
    EXPECT_TRUE(vocabulary->synonyms().contains(building));
}

std::shared_ptr<Lexicarta> randomVocabulary(const lexi::VocabularyServices &services, unsigned seed, int wordCount)
{
    RandomChanges changes(seed);
    const std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(services);
    WordList words;
    for (int i = 0; i < wordCount; ++i)
        words.append(changes.newWord());
    vocabulary->setAllWords(words);
    return vocabulary;
}

// What the vocabulary keeps in stored order is what its words give from scratch: the per-level
// lists, the stored forms, and positions that grow along the words listed once.
void expectKeptAsFromScratch(Lexicarta &vocabulary, const std::string &context)
{
    const WordList all = vocabulary.allWords();
    std::array<WordList, 6> levels;
    for (quint64 level = 0; level < 6; ++level)
        levels[level] = vocabulary.wordsInLevel(level);
    EXPECT_EQ(levels, derivedFromScratch(all, {}).levels) << context;
    EXPECT_EQ(vocabulary.nativeWithoutDontAsk(), derivedFromScratch(all, {}).nativeWithoutDontAsk) << context;
    EXPECT_EQ(storedLevels(lexi::VocabularySnapshot(vocabulary)), storedFromScratch(all)) << context;
    std::optional<qint64> previous;
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (vocabulary.listingsOf(*all[i]) != 1)
            continue;
        const std::optional<qint64> position = vocabulary.storedPositionOf(*all[i]);
        ASSERT_TRUE(position.has_value()) << context << ", word " << i;
        ASSERT_LT(previous, position) << context << ", word " << i;
        previous = position;
    }
}

// Prepared a part at a time, the vocabulary saves the same file as one that never was.
TEST(LexicartaDerivedDataTest, APreparedVocabularySavesWhatAnUnpreparedOneSaves)
{
    lexi::test::FakeVocabularyServices fakes;
    const std::shared_ptr<Lexicarta> prepared = randomVocabulary(fakes.services, 7, 1500);
    const std::shared_ptr<Lexicarta> unprepared = randomVocabulary(fakes.services, 7, 1500);
    while (prepared->prepareDerivedData(100)) {
    }
    // Once made, nothing is made again.
    EXPECT_FALSE(prepared->prepareDerivedData(100));
    EXPECT_EQ(lexi::VocabularyJsonWriter::json(lexi::VocabularySnapshot(*prepared)),
              lexi::VocabularyJsonWriter::json(lexi::VocabularySnapshot(*unprepared)));
    expectKeptAsFromScratch(*prepared, "prepared");
}

// A change between two steps of the preparation leaves nothing out of date: neither what was
// prepared before it nor what the vocabulary keeps after it, as later changes follow.
TEST(LexicartaDerivedDataTest, AChangeWhilePreparingLeavesNothingOutOfDate)
{
    lexi::test::FakeVocabularyServices fakes;
    const std::vector<std::pair<const char *, std::function<void(Lexicarta &, const WordList &)>>> changes = {
        {"answer", [](Lexicarta &vocabulary, const WordList &words) { vocabulary.answeredWord(*words[10], 1); }},
        {"fall", [](Lexicarta &vocabulary, const WordList &words) { vocabulary.answeredWord(*words[1200], -1); }},
        {"comment", [](Lexicarta &, const WordList &words) { words[5]->setComment(u"edited"_s); }},
        {"sides", [](Lexicarta &, const WordList &words) { words[1300]->setForeignWord(u"neu"_s); }},
        {"tags", [](Lexicarta &, const WordList &words) { words[0]->setTags({u"navy"_s}); }},
        {"don't ask", [](Lexicarta &, const WordList &words) { words[7]->setDontAskAgain(true); }},
        {"add", [](Lexicarta &vocabulary, const WordList &) {
             vocabulary.addWord(std::make_shared<QLXWord>(u"tree"_s, u"Baum"_s));
         }},
        {"remove", [](Lexicarta &vocabulary, const WordList &words) { vocabulary.removeWords({words[3], words[1400]}); }},
        {"lists dropped", [](Lexicarta &vocabulary, const WordList &) { vocabulary.invalidateCachedWordLists(); }},
        {"lists and stored forms made", [](Lexicarta &vocabulary, const WordList &) { vocabulary.storedWordLists(); }},
        {"words set", [](Lexicarta &vocabulary, const WordList &words) { vocabulary.setAllWords(words.mid(100)); }},
    };
    for (const auto &[name, change] : changes) {
        const std::shared_ptr<Lexicarta> vocabulary = randomVocabulary(fakes.services, 11, 1500);
        const WordList words = vocabulary->allWords();
        for (int step = 0; step < 6; ++step)
            ASSERT_TRUE(vocabulary->prepareDerivedData(100)) << name;
        change(*vocabulary, words);
        while (vocabulary->prepareDerivedData(100)) {
        }
        expectKeptAsFromScratch(*vocabulary, name);
        const WordList now = vocabulary->allWords();
        vocabulary->answeredWord(*now[20], 1);
        now[21]->setComment(u"after"_s);
        vocabulary->answeredWord(*now[now.size() - 2], -1);
        expectKeptAsFromScratch(*vocabulary, std::string(name) + ", then answers");
    }
}

// A snapshot finds each word changed since the last one where it stands, also when the word
// went since, went and was let go, or is listed twice.
TEST(LexicartaDerivedDataTest, ASnapshotTakesEachChangedWordWhereItStands)
{
    lexi::test::FakeVocabularyServices fakes;
    const std::vector<std::pair<const char *, std::function<void(Lexicarta &, WordList &)>>> changes = {
        {"one word twice", [](Lexicarta &, WordList &words) {
             words[4]->setComment(u"first"_s);
             words[4]->setComment(u"second"_s);
         }},
        {"changed, then moved", [](Lexicarta &vocabulary, WordList &words) {
             words[40]->setComment(u"moved"_s);
             vocabulary.answeredWord(*words[40], -1);
             vocabulary.answeredWord(*words[41], 1);
         }},
        {"changed, then removed", [](Lexicarta &vocabulary, WordList &words) {
             words[30]->setComment(u"gone"_s);
             vocabulary.removeWord(words[30]);
             words[31]->setComment(u"kept"_s);
         }},
        {"removed, changed, let go", [](Lexicarta &vocabulary, WordList &words) {
             vocabulary.removeWord(words[50]);
             words[50]->setComment(u"after it went"_s);
             words.removeAt(50);
             words[50]->setComment(u"its neighbour"_s);
         }},
        {"many words", [](Lexicarta &vocabulary, WordList &words) {
             for (qsizetype i = 0; i < words.size(); i += 3)
                 vocabulary.answeredWord(*words[i], i % 2 == 0 ? 1 : -1);
         }},
    };
    for (const bool listedTwice : {false, true}) {
        for (const auto &[name, change] : changes) {
            const std::string context = std::string(name) + (listedTwice ? ", a word listed twice" : "");
            const std::shared_ptr<Lexicarta> vocabulary = randomVocabulary(fakes.services, 3, 600);
            WordList words = vocabulary->allWords();
            if (listedTwice)
                vocabulary->setAllWords(words + WordList{words[4]});
            while (vocabulary->prepareDerivedData(1000)) {
            }
            change(*vocabulary, words);
            expectKeptAsFromScratch(*vocabulary, context);
        }
    }
}

} // namespace
