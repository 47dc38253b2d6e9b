#include "support/FakeVocabularyServices.h"
#include "support/ScriptedInputSources.h"

#include "model/CreationIdentifiers.h"
#include "model/Lexicarta.h"
#include "platform/values/Dates.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <set>

using namespace Qt::StringLiterals;
using lexi::Date;
using lexi::WordList;

namespace {

class LexicartaTest : public testing::Test
{
protected:
    std::shared_ptr<QLXWord> add(const QString &yourWord, quint64 level = 0, QStringList tags = {})
    {
        auto word = std::make_shared<QLXWord>(yourWord, yourWord.toUpper());
        word->setLevel(level);
        word->setTags(tags);
        vocabulary->addWord(word);
        return word;
    }

    void askedSecondsAgo(QLXWord &word, double seconds) const
    {
        word.setLastAsked(fakes.clock.now().addingSeconds(-seconds));
    }

    lexi::test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
};

QStringList yourWords(const WordList &words)
{
    QStringList texts;
    for (const auto &word : words)
        texts.append(word->yourWord());
    return texts;
}

TEST_F(LexicartaTest, ANewVocabularyHasDefaultsAndOneEmptySnapshotOfToday)
{
    EXPECT_EQ(vocabulary->language(), u"Unknown language"_s);
    EXPECT_EQ(vocabulary->foreignLanguageName(), u"Unknown language"_s);
    EXPECT_EQ(vocabulary->yourLanguageName(), u"My language"_s);
    EXPECT_TRUE(vocabulary->isAutoSelectInputSource());
    EXPECT_FALSE(vocabulary->isDisableMisspellRecognition());
    EXPECT_FALSE(vocabulary->needsSync());
    EXPECT_EQ(vocabulary->version(), 0);
    EXPECT_EQ(vocabulary->countAllWords(), 0);
    EXPECT_TRUE(vocabulary->foreignFacultativeWords().isEmpty());
    EXPECT_FALSE(vocabulary->fileNameWhereLoadedFrom());
    ASSERT_EQ(vocabulary->statistics().numberOfDaysRecorded(), 1);
    EXPECT_EQ(*vocabulary->statistics().lastSnapshot(), QLXDailyStatisticsSnapshot(lexi::todaysDate(fakes.clock)));
    EXPECT_TRUE(fakes.alerts.alerts.isEmpty());
}

TEST_F(LexicartaTest, BothLanguageSettersChangeLanguageAndForeignName)
{
    vocabulary->setForeignLanguageName(u"French"_s);
    EXPECT_EQ(vocabulary->language(), u"French"_s);
    vocabulary->setLanguage(u"German"_s);
    EXPECT_EQ(vocabulary->foreignLanguageName(), u"German"_s);
    vocabulary->setYourLanguageName(u"English"_s);
    EXPECT_EQ(vocabulary->language(), u"German"_s);
}

TEST_F(LexicartaTest, CurrentTimeIsWholeSecondsSince2001)
{
    fakes.clock.setNow(Date::fromSecondsSinceReferenceDate(452000000.9));
    EXPECT_EQ(vocabulary->currentTime(), 452000000);
}

struct LevelMove
{
    quint64 level;
    int outcome;
    quint64 newLevel;
    quint64 falls;
};

void PrintTo(const LevelMove &move, std::ostream *out)
{
    *out << "level " << move.level << ", outcome " << move.outcome;
}

class LevelMoveTest : public LexicartaTest, public testing::WithParamInterface<LevelMove>
{
};

TEST_P(LevelMoveTest, MovesTheLevelCountsFallsAndStampsLastAsked)
{
    const auto word = add(u"w"_s, GetParam().level);
    fakes.clock.advance(std::chrono::seconds(5));
    vocabulary->answeredWord(*word, GetParam().outcome);
    EXPECT_EQ(word->level(), GetParam().newLevel);
    EXPECT_EQ(word->fallenDownCounter(), GetParam().falls);
    EXPECT_EQ(word->lastAsked(), fakes.clock.now());
}

INSTANTIATE_TEST_SUITE_P(
    Table, LevelMoveTest,
    testing::Values(LevelMove{0, 1, 1, 0}, LevelMove{1, 1, 2, 0}, LevelMove{2, 1, 3, 0}, LevelMove{3, 1, 4, 0},
                    LevelMove{4, 1, 5, 0}, LevelMove{5, 1, 5, 0}, LevelMove{7, 1, 5, 0},
                    LevelMove{0, 0, 0, 0}, LevelMove{3, 0, 3, 0}, LevelMove{5, 0, 5, 0}, LevelMove{7, 0, 7, 0},
                    LevelMove{4, 2, 4, 0}, LevelMove{2, -7, 2, 0},
                    LevelMove{0, -1, 0, 0}, LevelMove{1, -1, 0, 1}, LevelMove{2, -1, 1, 1}, LevelMove{3, -1, 2, 1},
                    LevelMove{4, -1, 2, 1}, LevelMove{5, -1, 2, 1}, LevelMove{7, -1, 2, 1}));

TEST_F(LexicartaTest, AnAnswerReplacesTodaysSnapshotAndWorksForWordsOfOtherVocabularies)
{
    const auto first = add(u"a"_s);
    add(u"b"_s, 3);
    vocabulary->answeredWord(*first, 1);
    vocabulary->answeredWord(*first, 1);
    ASSERT_EQ(vocabulary->statistics().numberOfDaysRecorded(), 1);
    const auto today = *vocabulary->statistics().lastSnapshot();
    EXPECT_EQ(today.numberOfWordsInLevel(0), 0);
    EXPECT_EQ(today.numberOfWordsInLevel(2), 1);
    EXPECT_EQ(today.numberOfWordsInLevel(3), 1);

    QLXWord stranger(u"x"_s, u"y"_s);
    vocabulary->answeredWord(stranger, -1);
    EXPECT_TRUE(stranger.lastAsked());
    EXPECT_EQ(vocabulary->countAllWords(), 2);
}

struct DueCase
{
    quint64 level;
    quint64 askedLevel;
    std::optional<double> secondsAgo;
    bool due;
};

void PrintTo(const DueCase &c, std::ostream *out)
{
    *out << "word of level " << c.level << " asked for level " << c.askedLevel << ", "
         << (c.secondsAgo ? std::to_string(*c.secondsAgo) + " s ago" : std::string("never asked"));
}

class DueTest : public LexicartaTest, public testing::WithParamInterface<DueCase>
{
};

TEST_P(DueTest, AWordIsDueWhenMoreThanItsRestTimeHasPassed)
{
    const auto word = add(u"w"_s, GetParam().level);
    if (GetParam().secondsAgo)
        askedSecondsAgo(*word, *GetParam().secondsAgo);
    EXPECT_EQ(vocabulary->wordsOverDueFromLevel(GetParam().askedLevel, {}, false).size(), GetParam().due ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DueTest,
    testing::Values(DueCase{0, 0, std::nullopt, true}, DueCase{0, 0, 0, false}, DueCase{0, 0, 0.5, true},
                    DueCase{0, 0, -10, false}, DueCase{1, 1, 900, false}, DueCase{1, 1, 901, true},
                    DueCase{1, 1, std::nullopt, true}, DueCase{2, 2, 10800, false}, DueCase{2, 2, 10801, true},
                    DueCase{3, 3, 86400, false}, DueCase{3, 3, 86401, true}, DueCase{4, 4, 259200, false},
                    DueCase{4, 4, 259201, true}, DueCase{5, 5, 604800, false}, DueCase{5, 5, 604801, true},
                    DueCase{5, 5, -1e6, false}, DueCase{7, 5, 604801, true}, DueCase{5, 9, 604800, false},
                    DueCase{7, 9, 604801, true}, DueCase{1, 2, 1e6, false}));

TEST_F(LexicartaTest, DueWordsComeNeverAskedFirstThenLongestWaitingAndLeaveOutDontAskAgain)
{
    const auto recent = add(u"recent"_s, 2);
    const auto fresh1 = add(u"fresh1"_s, 2);
    const auto oldest = add(u"oldest"_s, 2);
    const auto kept = add(u"kept out"_s, 2);
    const auto tie1 = add(u"tie1"_s, 2);
    const auto fresh2 = add(u"fresh2"_s, 2);
    const auto tie2 = add(u"tie2"_s, 2);
    askedSecondsAgo(*recent, 20000);
    askedSecondsAgo(*oldest, 90000);
    askedSecondsAgo(*tie1, 50000);
    askedSecondsAgo(*tie2, 50000);
    kept->setDontAskAgain(true);
    EXPECT_EQ(yourWords(vocabulary->wordsOverDueFromLevel(2, {}, false)),
              (QStringList{u"fresh1"_s, u"fresh2"_s, u"oldest"_s, u"tie1"_s, u"tie2"_s, u"recent"_s}));
}

TEST_F(LexicartaTest, TagFiltersNeedAllOrAnyOfTheTags)
{
    add(u"only a"_s, 1, {u"a"_s});
    add(u"a and b"_s, 1, {u"b"_s, u"a"_s});
    add(u"none"_s, 1);
    add(u"capital A"_s, 1, {u"A"_s});
    const QStringList ab = {u"a"_s, u"b"_s};
    EXPECT_EQ(yourWords(vocabulary->wordsOverDueFromLevel(1, ab, true)), QStringList{u"a and b"_s});
    EXPECT_EQ(yourWords(vocabulary->wordsOverDueFromLevel(1, ab, false)), (QStringList{u"only a"_s, u"a and b"_s}));
    EXPECT_EQ(vocabulary->wordsOverDueFromLevel(1, {}, true).size(), 4);
    EXPECT_EQ(yourWords(vocabulary->wordsWithTags({u"A"_s}, true)), QStringList{u"capital A"_s});
    EXPECT_EQ(Lexicarta::filteredWords(vocabulary->allWords(), {}, false), vocabulary->allWords());
}

TEST_F(LexicartaTest, SearchFilterKeepsTheOrderAndNoTermKeepsEverything)
{
    add(u"house"_s);
    add(u"mouse"_s);
    add(u"cat"_s);
    const WordList all = vocabulary->allWords();
    EXPECT_EQ(yourWords(Lexicarta::filterWords(all, u"OUSE"_s)), (QStringList{u"house"_s, u"mouse"_s}));
    EXPECT_EQ(Lexicarta::filterWords(all, u""_s), all);
    EXPECT_EQ(Lexicarta::filterWords(all, std::nullopt), all);
}

TEST_F(LexicartaTest, RandomPicksAreDistinctWordsOfTheLevel)
{
    const auto a = add(u"a"_s, 3);
    const auto b = add(u"b"_s, 3);
    const auto c = add(u"c"_s, 3);
    c->setDontAskAgain(true);
    add(u"other level"_s, 2);
    const WordList all3 = vocabulary->randomlyPick(10, 3, {}, false);
    EXPECT_EQ(std::set<std::shared_ptr<QLXWord>>(all3.cbegin(), all3.cend()),
              (std::set<std::shared_ptr<QLXWord>>{a, b, c}));

    // Each draw takes one of the words not taken yet: the same number drawn twice gives two
    // words, one draw each, in the order drawn.
    std::deque<quint32> draws = {2, 2};
    vocabulary->setRandom(QLXRandom([&draws] {
        const quint32 next = draws.front();
        draws.pop_front();
        return next;
    }));
    EXPECT_EQ(vocabulary->randomlyPick(2, 3, {}, false), (WordList{c, b}));
    EXPECT_TRUE(draws.empty());

    // Nothing to pick draws nothing.
    EXPECT_TRUE(vocabulary->randomlyPick(2, 4, {}, false).isEmpty());
    EXPECT_TRUE(vocabulary->randomlyPick(0, 3, {}, false).isEmpty());
    EXPECT_TRUE(vocabulary->randomlyPick(-1, 3, {}, false).isEmpty());
}

TEST_F(LexicartaTest, AWordListedTwiceIsPickedOnce)
{
    const auto a = add(u"a"_s, 1);
    vocabulary->setAllWords({a, a});
    EXPECT_EQ(vocabulary->randomlyPick(5, 1, {}, false), WordList{a});
}

TEST_F(LexicartaTest, AddedWordsGetNewCreationIdsAndALinkBack)
{
    fakes.clock.setNow(Date::fromSecondsSinceReferenceDate(452000000.5));
    const auto first = std::make_shared<QLXWord>(u"a"_s, u"b"_s);
    first->setCreationID(77);
    vocabulary->addWord(first);
    EXPECT_TRUE(lexi::CreationIdentifierMaker::isMadeHere(first->creationID()));
    EXPECT_EQ(first->weakVocForSort().lock(), vocabulary);

    // Many within the same second: each one of its own.
    QSet<qint64> identifiers{first->creationID()};
    for (int i = 0; i < 20; ++i)
        identifiers.insert(add(QString::number(i))->creationID());
    EXPECT_EQ(identifiers.size(), 21);

    vocabulary->addWord(nullptr);
    EXPECT_EQ(vocabulary->countAllWords(), 21);
}

TEST_F(LexicartaTest, RemoveWordRemovesThatObjectOnly)
{
    const auto a = add(u"same"_s);
    const auto b = add(u"same"_s);
    vocabulary->setAllWords({a, b, a});
    vocabulary->removeWord(a);
    vocabulary->removeWord(nullptr);
    EXPECT_EQ(vocabulary->allWords(), WordList{b});
}

TEST_F(LexicartaTest, FindsWordsByTextAndById)
{
    const auto a = add(u"house"_s);
    const auto b = add(u"house"_s);
    b->setCreationID(5);
    EXPECT_EQ(vocabulary->findWordEqualTo(QLXWord(u"house"_s, u"HOUSE"_s)), a);
    EXPECT_FALSE(vocabulary->containsWordEqualTo(QLXWord(u"House"_s, u"HOUSE"_s)));
    EXPECT_EQ(vocabulary->findWordByID(5), b);
    EXPECT_TRUE(vocabulary->containsWordWithID(a->creationID()));
    EXPECT_EQ(vocabulary->findWordByID(6), nullptr);
}

TEST_F(LexicartaTest, LevelListsKeepTheStoredOrderAndCountHighLevelsAsNative)
{
    add(u"n1"_s, 5);
    add(u"u1"_s);
    add(u"n2"_s, 9);
    add(u"m1"_s, 3);
    const auto dontAsk = add(u"n3"_s, 5);
    dontAsk->setDontAskAgain(true);
    EXPECT_EQ(yourWords(vocabulary->level5Words()), (QStringList{u"n1"_s, u"n2"_s, u"n3"_s}));
    EXPECT_EQ(yourWords(vocabulary->nativeWithoutDontAsk()), (QStringList{u"n1"_s, u"n2"_s}));
    EXPECT_EQ(yourWords(vocabulary->level0Words()), QStringList{u"u1"_s});
    EXPECT_EQ(yourWords(vocabulary->level3Words()), QStringList{u"m1"_s});
    EXPECT_TRUE(vocabulary->level4Words().isEmpty());
    EXPECT_EQ(vocabulary->wordsInLevel(12), vocabulary->level5Words());
    // Cached: asking again gives the same list, not a new one.
    EXPECT_EQ(vocabulary->level5Words().constData(), vocabulary->level5Words().constData());
}

TEST(LexicartaCacheTest, EveryChangeOfLevelOrDontAskAgainDropsTheCachedLists)
{
    const struct
    {
        const char *change;
        std::function<void(Lexicarta &, const std::shared_ptr<QLXWord> &)> apply;
        QStringList level0;
        QStringList native;
    } cases[] = {
        {"setLevel", [](Lexicarta &, const auto &w) { w->setLevel(0); }, {u"w"_s, u"x"_s}, {}},
        {"setDontAskAgain", [](Lexicarta &, const auto &w) { w->setDontAskAgain(true); }, {u"x"_s}, {}},
        {"answeredWord", [](Lexicarta &v, const auto &w) { v.answeredWord(*w, -1); }, {u"x"_s}, {}},
        {"addWord", [](Lexicarta &v, const auto &) { v.addWord(std::make_shared<QLXWord>(u"y"_s, u""_s)); },
         {u"x"_s, u"y"_s}, {u"w"_s}},
        {"removeWord", [](Lexicarta &v, const auto &w) { v.removeWord(w); }, {u"x"_s}, {}},
        {"removeWords", [](Lexicarta &v, const auto &w) { v.removeWords({w}); }, {u"x"_s}, {}},
        {"setAllWords", [](Lexicarta &v, const auto &w) { v.setAllWords({w}); }, {}, {u"w"_s}},
    };
    for (const auto &c : cases) {
        lexi::test::FakeVocabularyServices fakes;
        const auto vocabulary = Lexicarta::create(fakes.services);
        const auto w = std::make_shared<QLXWord>(u"w"_s, u""_s);
        w->setLevel(5);
        vocabulary->addWord(w);
        vocabulary->addWord(std::make_shared<QLXWord>(u"x"_s, u""_s));
        ASSERT_EQ(yourWords(vocabulary->nativeWithoutDontAsk()), QStringList{u"w"_s});
        ASSERT_EQ(yourWords(vocabulary->level0Words()), QStringList{u"x"_s});
        c.apply(*vocabulary, w);
        EXPECT_EQ(yourWords(vocabulary->level0Words()), c.level0) << c.change;
        EXPECT_EQ(yourWords(vocabulary->nativeWithoutDontAsk()), c.native) << c.change;
    }
}

TEST(LexicartaInputSourceTest, AnIdentifierSelectsTheFirstSelectableSourceWithIt)
{
    lexi::test::FakeClock clock;
    lexi::test::RecordingAlertPresenter alerts;
    lexi::test::ScriptedInputSources inputSources;
    inputSources.sources = {{u"xkb:de"_s, u"German (hidden)"_s, false},
                            {u"xkb:de"_s, u"German"_s, true},
                            {u"xkb:fr"_s, u"French"_s, true}};
    const auto vocabulary = Lexicarta::create({clock, alerts, inputSources});

    vocabulary->setForeignTextInputSourceId(u"xkb:de"_s);
    ASSERT_TRUE(vocabulary->foreignTextInputSource());
    EXPECT_EQ(vocabulary->foreignTextInputSource()->localizedName, u"German"_s);

    // An unknown identifier is kept, the source stays.
    vocabulary->setForeignTextInputSourceId(u"com.apple.keylayout.German"_s);
    EXPECT_EQ(vocabulary->foreignTextInputSourceId(), u"com.apple.keylayout.German"_s);
    EXPECT_EQ(vocabulary->foreignTextInputSource()->identifier, u"xkb:de"_s);
    vocabulary->setForeignTextInputSourceId(std::nullopt);
    EXPECT_FALSE(vocabulary->foreignTextInputSourceId());
    EXPECT_TRUE(vocabulary->foreignTextInputSource());

    vocabulary->setYourTextInputSourceId(u"xkb:fr"_s);
    EXPECT_EQ(vocabulary->yourTextInputSource()->localizedName, u"French"_s);
}

} // namespace
