#include "support/ConsoleCapture.h"
#include "support/FakeVocabularyServices.h"

#include "model/Lexicarta.h"

#include <gtest/gtest.h>

#include <set>

using namespace Qt::StringLiterals;
using lexi::WordList;

namespace {

class SynonymsAndTagsTest : public testing::Test
{
protected:
    std::shared_ptr<QLXWord> word(const QString &yourWord, const QString &foreignWord, const QStringList &tags = {})
    {
        auto created = std::make_shared<QLXWord>(yourWord, foreignWord);
        created->setTags(tags);
        return created;
    }

    lexi::test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
};

std::set<std::shared_ptr<QLXWord>> asSet(const WordList &words)
{
    return {words.cbegin(), words.cend()};
}

QStringList pairs(const WordList &words)
{
    QStringList texts;
    for (const auto &w : words)
        texts.append(w->foreignWord() + u'/' + w->yourWord());
    return texts;
}

TEST_F(SynonymsAndTagsTest, CompletionsListTheLongerTagsMostUsedFirst)
{
    vocabulary->setAllWords({word(u"1"_s, u"1"_s, {u"food"_s, u"forest"_s}), word(u"2"_s, u"2"_s, {u"food"_s}),
                             word(u"3"_s, u"3"_s, {u"fork"_s, u"food"_s}), word(u"4"_s, u"4"_s, {u"fork"_s}),
                             word(u"5"_s, u"5"_s, {u"fork"_s, u"foodstuff"_s}),
                             word(u"6"_s, u"6"_s, {u"f"_s, u"Food"_s})});
    const struct
    {
        QString prefix;
        std::optional<QStringList> completions;
    } cases[] = {
        // Equally used tags come in the order first met.
        {u"fo"_s, QStringList{u"food"_s, u"fork"_s, u"forest"_s, u"foodstuff"_s}},
        {u"f"_s, QStringList{u"food"_s, u"fork"_s, u"forest"_s, u"foodstuff"_s}},
        {u"foo"_s, QStringList{u"food"_s, u"foodstuff"_s}},
        // A whole tag completes only to longer ones.
        {u"food"_s, QStringList{u"foodstuff"_s}},
        {u"foodstuff"_s, std::nullopt},
        {u"forest"_s, std::nullopt},
        {u"F"_s, QStringList{u"Food"_s}},
        {u"x"_s, std::nullopt},
        {u""_s, std::nullopt},
    };
    lexi::test::ConsoleCapture console;
    for (const auto &c : cases)
        EXPECT_EQ(vocabulary->completionTagsForPrefix(c.prefix), c.completions) << c.prefix.toStdString();
    EXPECT_EQ(console.lines().first(), u"completionTagsForPrefix: fo"_s);
    EXPECT_EQ(vocabulary->allTags(),
              (QStringList{u"food"_s, u"forest"_s, u"fork"_s, u"foodstuff"_s, u"f"_s, u"Food"_s}));
}

TEST_F(SynonymsAndTagsTest, TheTagIndexFollowsAddedRemovedAndEditedWords)
{
    lexi::test::ConsoleCapture console;
    const auto sea = word(u"sea"_s, u"Meer"_s, {u"nature"_s});
    vocabulary->addWord(sea);
    EXPECT_EQ(vocabulary->completionTagsForPrefix(u"na"_s), QStringList{u"nature"_s});

    const auto tree = word(u"tree"_s, u"Baum"_s, {u"navy"_s, u"nature"_s});
    vocabulary->addWord(tree);
    EXPECT_EQ(vocabulary->completionTagsForPrefix(u"na"_s), (QStringList{u"nature"_s, u"navy"_s}));

    vocabulary->removeWord(tree);
    EXPECT_EQ(vocabulary->allTags(), QStringList{u"nature"_s});

    sea->addTag(u"nautical"_s);
    EXPECT_EQ(vocabulary->completionTagsForPrefix(u"nau"_s), QStringList{u"nautical"_s});
    sea->setTags({u"navy"_s});
    EXPECT_EQ(vocabulary->allTags(), QStringList{u"navy"_s});

    vocabulary->setAllWords({});
    EXPECT_TRUE(vocabulary->allTags().isEmpty());
}

TEST_F(SynonymsAndTagsTest, WordsGivenAsAListLinkHereSoThatTheirEditsAreSeenAtOnce)
{
    lexi::test::ConsoleCapture console;
    const auto sea = word(u"sea"_s, u"Meer"_s, {u"nature"_s});
    const auto tree = word(u"tree"_s, u"Baum"_s);
    vocabulary->setAllWords({sea, tree});
    EXPECT_EQ(tree->weakVocForSort().lock(), vocabulary);
    EXPECT_EQ(vocabulary->completionTagsForPrefix(u"na"_s), QStringList{u"nature"_s});
    EXPECT_TRUE(vocabulary->synonyms().isEmpty());

    tree->addTag(u"navy"_s);
    EXPECT_EQ(vocabulary->completionTagsForPrefix(u"nav"_s), QStringList{u"navy"_s});
    tree->setForeignWord(u" Meer"_s);
    EXPECT_EQ(asSet(vocabulary->synonyms()), asSet({sea, tree}));
    sea->setYourWord(u"ocean"_s);
    EXPECT_EQ(asSet(vocabulary->synonyms()), asSet({sea, tree}));
    sea->setForeignWord(u"Ozean"_s);
    EXPECT_TRUE(vocabulary->synonyms().isEmpty());
}

TEST_F(SynonymsAndTagsTest, SynonymsShareAnExactSideWhateverTheirSortOrder)
{
    vocabulary->setYourFacultativeWords({u"the"_s});
    const struct
    {
        const char *name;
        QList<std::pair<QString, QString>> words;
        std::set<int> synonyms;
    } cases[] = {
        {"case differs", {{u"Bank"_s, u"1"_s}, {u"bank"_s, u"2"_s}, {u"Bank"_s, u"3"_s}}, {0, 2}},
        {"facultative word", {{u"the house"_s, u"1"_s}, {u"house"_s, u"2"_s}, {u"the house"_s, u"3"_s}}, {0, 2}},
        {"foreign side", {{u"a"_s, u"Haus"_s}, {u"b"_s, u"haus"_s}, {u"c"_s, u"Haus"_s}}, {0, 2}},
        {"both sides", {{u"a"_s, u"A"_s}, {u"a"_s, u"A"_s}, {u"b"_s, u"B"_s}}, {0, 1}},
        {"nothing shared", {{u"a"_s, u"A"_s}, {u"b"_s, u"B"_s}}, {}},
        {"one word", {{u"a"_s, u"A"_s}}, {}},
    };
    for (const auto &c : cases) {
        WordList words;
        std::set<std::shared_ptr<QLXWord>> expected;
        for (const auto &[yourWord, foreignWord] : c.words)
            words.append(word(yourWord, foreignWord));
        for (const int index : c.synonyms)
            expected.insert(words[index]);
        vocabulary->setAllWords(words);
        EXPECT_EQ(asSet(vocabulary->synonyms()), expected) << c.name;
    }
}

TEST_F(SynonymsAndTagsTest, BuildingSynonymsStoresTheWordsByForeignThenYourWord)
{
    vocabulary->setForeignFacultativeWords({u"der"_s, u"die"_s});
    const auto mouse = word(u"mouse"_s, u"die Maus"_s); // sorts as "Maus"
    const auto bee = word(u"bee"_s, u"Biene"_s);
    const auto house = word(u"house"_s, u"Haus"_s);
    const auto apple = word(u"apple"_s, u"Apfel"_s);
    const auto building = word(u"building"_s, u"haus"_s);
    vocabulary->setAllWords({mouse, bee, house, apple, building});
    ASSERT_EQ(vocabulary->level0Words().size(), 5);
    vocabulary->buildSynonyms();
    const WordList sorted = {apple, bee, building, house, mouse};
    EXPECT_EQ(vocabulary->allWords(), sorted);
    EXPECT_EQ(vocabulary->level0Words(), sorted);
}

TEST_F(SynonymsAndTagsTest, SynonymsOfAWordShareASideAreNotEqualToItAndComeInStoredOrder)
{
    const auto bank = word(u"bank"_s, u"Bank"_s);
    const auto sameBank = word(u"bank"_s, u"Bank"_s);
    const auto bench = word(u"bench"_s, u"Bank"_s);
    const auto shore = word(u"bank"_s, u"Ufer"_s);
    const auto river = word(u"river"_s, u"Fluss"_s);
    vocabulary->setAllWords({shore, bank, bench, sameBank, river});
    vocabulary->buildSynonyms();
    EXPECT_EQ(pairs(vocabulary->synonymsForWord(*bank)), (QStringList{u"Bank/bench"_s, u"Ufer/bank"_s}));
    EXPECT_TRUE(vocabulary->synonymsForWord(*river).isEmpty());
}

TEST_F(SynonymsAndTagsTest, SynonymsOfAWordFoundBeforeTheSynonymsAreKnownAreTheSameAndLeaveTheOrder)
{
    const auto bank = word(u"bank"_s, u"Bank"_s);
    const auto sameBank = word(u"bank"_s, u"Bank"_s);
    const auto bench = word(u"bench"_s, u"Bank"_s);
    const auto shore = word(u"bank"_s, u"Ufer"_s);
    const auto river = word(u"river"_s, u"Fluss"_s);
    const auto stream = word(u"river"_s, u"Strom"_s);
    // Alone, and far apart among many other words, as a large vocabulary is read in parts.
    WordList others;
    for (int i = 0; i < 12000; ++i)
        others.append(word(u"other %1"_s.arg(i), u"andere %1"_s.arg(i)));
    const WordList storedAlone = {shore, river, bank, bench, sameBank, stream, bank};
    const WordList storedApart = WordList{shore, river, bank} + others + WordList{bench, sameBank} + others
                                 + WordList{stream, bank};
    const WordList asked = {shore, river, bank, bench, sameBank, stream};
    for (const WordList &stored : {storedAlone, storedApart}) {
        vocabulary->setAllWords(stored);
        std::vector<std::set<std::shared_ptr<QLXWord>>> found;
        for (const auto &word : asked)
            found.push_back(asSet(vocabulary->synonymsForWord(*word)));
        EXPECT_EQ(vocabulary->allWords(), stored);
        EXPECT_EQ(pairs(vocabulary->synonymsForWord(*bank)), (QStringList{u"Ufer/bank"_s, u"Bank/bench"_s}));
        EXPECT_EQ(pairs(vocabulary->synonymsForWord(*stream)), QStringList{u"Fluss/river"_s});
        // The word listed twice is found once, where it first stands.
        EXPECT_EQ(vocabulary->synonymsForWord(*shore), (WordList{bank, sameBank}));

        vocabulary->buildSynonyms();
        for (size_t i = 0; i < found.size(); ++i)
            EXPECT_EQ(found[i], asSet(vocabulary->synonymsForWord(*asked[qsizetype(i)]))) << stored.size() << " " << i;
    }
}

TEST_F(SynonymsAndTagsTest, SynonymsOfAWordNoLongerListedAreOnlyThoseSharingASideAmongThemselves)
{
    const auto bank = word(u"bank"_s, u"Bank"_s);
    const auto bench = word(u"bench"_s, u"Bank"_s);
    const auto shore = word(u"bank"_s, u"Ufer"_s);
    const auto coast = word(u"coast"_s, u"Ufer"_s);
    vocabulary->setAllWords({bank, bench, shore, coast});
    vocabulary->removeWord(bank);
    vocabulary->invalidateSynonyms();
    EXPECT_EQ(pairs(vocabulary->synonymsForWord(*bank)), QStringList{u"Ufer/bank"_s});
}

TEST_F(SynonymsAndTagsTest, AddedAndRemovedWordsUpdateTheSynonyms)
{
    const auto house = word(u"house"_s, u"Haus"_s);
    const auto tree = word(u"tree"_s, u"Baum"_s);
    vocabulary->setAllWords({house, tree});
    EXPECT_TRUE(vocabulary->synonyms().isEmpty());

    // A word that shares no side stays out; one that does joins with its partner.
    vocabulary->addWord(word(u"cat"_s, u"Katze"_s));
    EXPECT_TRUE(vocabulary->synonyms().isEmpty());
    const auto building = word(u"building"_s, u"Haus"_s);
    vocabulary->addWord(building);
    EXPECT_EQ(asSet(vocabulary->synonyms()), asSet({house, building}));
    const auto home = word(u"home"_s, u"Haus"_s);
    vocabulary->addWord(home, 42);
    EXPECT_EQ(home->creationID(), 42);
    EXPECT_EQ(asSet(vocabulary->synonyms()), asSet({house, building, home}));

    // Removing a word leaves its partners synonyms only while they still share a side.
    vocabulary->removeWord(home);
    EXPECT_EQ(asSet(vocabulary->synonyms()), asSet({house, building}));
    const auto shrub = word(u"shrub"_s, u"Busch"_s);
    const auto bush = word(u"bush"_s, u"Busch"_s);
    const auto houseBush = word(u"house"_s, u"Strauch"_s);
    vocabulary->batchAddWords({shrub, bush, houseBush});
    vocabulary->removeWord(building);
    vocabulary->removeWord(shrub);
    EXPECT_EQ(asSet(vocabulary->synonyms()), asSet({house, houseBush}));
}

// A batch into a vocabulary whose synonyms are known takes its words in without sorting anew:
// the synonyms are those a rebuild finds, and the words already there keep their order.
TEST_F(SynonymsAndTagsTest, ABatchJoinsTheKnownSynonymsAsARebuildWould)
{
    const auto house = word(u"house"_s, u"Haus"_s);
    const auto tree = word(u"tree"_s, u"Baum"_s);
    const auto dog = word(u"dog"_s, u"Hund"_s);
    vocabulary->setAllWords({tree, house, dog});
    ASSERT_TRUE(vocabulary->synonyms().isEmpty());
    const WordList stored = vocabulary->allWords();

    const auto building = word(u"building"_s, u"Haus"_s);
    const auto cat = word(u"cat"_s, u"Katze"_s);
    const auto kitty = word(u"kitty"_s, u"Katze"_s);
    const auto apple = word(u"apple"_s, u"Apfel"_s);
    vocabulary->batchAddWords({building, cat, kitty, apple});
    EXPECT_EQ(vocabulary->allWords(), stored + WordList({building, cat, kitty, apple}));
    const auto added = asSet(vocabulary->synonyms());
    EXPECT_EQ(added, asSet({house, building, cat, kitty}));
    vocabulary->buildSynonyms();
    EXPECT_EQ(asSet(vocabulary->synonyms()), added);
}

TEST_F(SynonymsAndTagsTest, RemovingSeveralWordsTakesEveryListingAndTheSynonymsThroughThemAlone)
{
    lexi::test::ConsoleCapture console;
    const auto house = word(u"house"_s, u"Haus"_s, {u"home"_s});
    const auto building = word(u"building"_s, u"Haus"_s, {u"work"_s});
    const auto home = word(u"home"_s, u"Haus"_s);
    const auto shrub = word(u"shrub"_s, u"Busch"_s);
    const auto bush = word(u"bush"_s, u"Busch"_s);
    const auto houseBush = word(u"house"_s, u"Strauch"_s);
    const auto tree = word(u"tree"_s, u"Baum"_s);
    const auto sameTree = word(u"tree"_s, u"Baum"_s);
    vocabulary->setAllWords({house, building, tree, home, shrub, bush, houseBush, sameTree, tree});
    ASSERT_EQ(asSet(vocabulary->synonyms()), asSet({house, building, home, shrub, bush, houseBush, tree, sameTree}));
    ASSERT_EQ(vocabulary->completionTagsForPrefix(u"wo"_s), QStringList{u"work"_s});

    vocabulary->removeWords({building, home, shrub, tree, nullptr, word(u"not"_s, u"here"_s)});
    EXPECT_EQ(vocabulary->countAllWords(), 4);
    EXPECT_EQ(asSet(vocabulary->allWords()), asSet({house, bush, houseBush, sameTree}));
    EXPECT_EQ(asSet(vocabulary->synonyms()), asSet({house, houseBush}));
    EXPECT_EQ(vocabulary->completionTagsForPrefix(u"wo"_s), std::nullopt);
    vocabulary->removeWords({});
    EXPECT_EQ(vocabulary->countAllWords(), 4);
}

} // namespace
