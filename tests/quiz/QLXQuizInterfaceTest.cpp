#include "support/FakeVocabularyServices.h"

#include "quiz/QLXQuizInterface.h"

#include <QHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <random>
#include <set>

using namespace Qt::StringLiterals;
using lexi::WordList;

namespace {

QLXRandom seededRandom(unsigned seed)
{
    return QLXRandom([engine = std::mt19937(seed)]() mutable { return quint32(engine()); });
}

std::shared_ptr<QLXWord> word(const QString &yourWord, const QStringList &tags = {})
{
    auto word = std::make_shared<QLXWord>(yourWord, yourWord.toUpper());
    word->setTags(tags);
    return word;
}

QStringList yourWords(const WordList &words)
{
    QStringList texts;
    for (const auto &word : words)
        texts.append(word ? word->yourWord() : u"(none)"_s);
    return texts;
}

void switchOnLevels(QLXQuizInterface &quiz, const std::set<quint64> &levels)
{
    quiz.setAskUnknown(levels.contains(0));
    quiz.setAskUltrashort(levels.contains(1));
    quiz.setAskShortterm(levels.contains(2));
    quiz.setAskMidterm(levels.contains(3));
    quiz.setAskLongterm(levels.contains(4));
    quiz.setAskNative(levels.contains(5));
}

bool carriesFilterTags(const QLXWord &word, const QStringList &filter, bool mustMatchAll)
{
    if (filter.isEmpty())
        return true;
    const auto carries = [&word](const QString &tag) { return word.tags().contains(tag); };
    return mustMatchAll ? std::all_of(filter.cbegin(), filter.cend(), carries)
                        : std::any_of(filter.cbegin(), filter.cend(), carries);
}

class QuizTest : public testing::Test
{
protected:
    QuizTest()
    {
        quiz.setVocabulary(vocabulary);
        quiz.setRandom(seededRandom(1));
    }

    // A word of the vocabulary, asked `daysAgo` days before now (never when negative).
    std::shared_ptr<QLXWord> addWord(const QString &yourWord, quint64 level, double daysAgo,
                                     const QStringList &tags = {}, bool dontAskAgain = false)
    {
        auto added = word(yourWord, tags);
        added->setLevel(level);
        added->setDontAskAgain(dontAskAgain);
        if (daysAgo >= 0)
            added->setLastAsked(fakes.clock.now().addingSeconds(-daysAgo * 86400));
        vocabulary->addWord(added);
        return added;
    }

    QTemporaryDir folder;
    lexi::Defaults defaults{folder.filePath(u"Lexicarta.conf"_s)};
    lexi::test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    QLXQuizInterface quiz{defaults};
};

TEST_F(QuizTest, ANewQuizAsksLevelsZeroToFourForTheForeignWordAndReadsTheCommentSetting)
{
    defaults.setBool(u"isShowCommentWithQuestion"_s, true);
    const QLXQuizInterface fresh(defaults);
    EXPECT_TRUE(fresh.askUnknown() && fresh.askUltrashort() && fresh.askShortterm() && fresh.askMidterm()
                && fresh.askLongterm());
    EXPECT_FALSE(fresh.askNative());
    EXPECT_TRUE(fresh.askForForeignWord());
    EXPECT_FALSE(fresh.askForYourWord());
    EXPECT_TRUE(fresh.filterTags().isEmpty());
    EXPECT_FALSE(fresh.isWordsMustMatchAllTags());
    EXPECT_TRUE(fresh.isShowCommentWithQuestion());
    EXPECT_EQ(fresh.numberOfWordsToAsk(), 30);
    EXPECT_EQ(fresh.askIndex(), -1);
    EXPECT_TRUE(fresh.wordsToAsk().isEmpty());
    EXPECT_FALSE(fresh.vocabulary());
}

// Ages in days; a minute is due only at level 0, thirty days at every level.
constexpr double never = -1;
constexpr double aMinuteAgo = 1.0 / 1440;
constexpr int anyNumber = -1;

struct WordGroup
{
    const char *name;
    quint64 level;
    int count;
    double daysAgo;
    // How many of the group the run holds; anyNumber where they are drawn at random.
    int expected;
    bool dontAskAgain = false;
    QStringList tags = {};
};

struct SelectionCase
{
    const char *name;
    QList<WordGroup> groups;
    std::set<quint64> levels;
    qint64 wanted;
    qint64 expectedSize;
    QStringList filter = {};
    bool mustMatchAll = false;
};

const QList<SelectionCase> selectionCases = {
    {"fifty due words, thirty wanted: thirty of them and no waiting word",
     {{"due0", 0, 20, never, anyNumber}, {"due3", 3, 30, 30, anyNumber}, {"waiting2", 2, 10, aMinuteAgo, 0}},
     {0, 1, 2, 3, 4},
     30,
     30},
    {"five due of twelve in level 2: all twelve",
     {{"due2", 2, 5, never, 5}, {"waiting2", 2, 7, aMinuteAgo, 7}, {"due3", 3, 4, 30, 0}},
     {2},
     30,
     12},
    {"levels 4 and 5: the due long-term words and the most overdue natives",
     {{"due4", 4, 10, 30, 10}, {"oldNatives", 5, 5, 60, 5}, {"newerNatives", 5, 3, 10, 0}, {"due3", 3, 5, 30, 0}},
     {4, 5},
     15,
     15},
    {"natives fill up with waiting ones, never with don't-ask-again ones",
     {{"dueNatives", 5, 2, 30, 2},
      {"waitingNatives", 5, 4, 1, 4},
      {"dontAskNatives", 5, 3, 30, 0, true},
      {"levelSix", 6, 1, 1, 1}},
     {5},
     10,
     7},
    {"don't-ask-again words stay out of the fill-up",
     {{"waiting3", 3, 3, aMinuteAgo, 3}, {"dontAsk3", 3, 4, aMinuteAgo, 0, true}, {"dontAsk1", 1, 2, never, 0, true}},
     {0, 1, 2, 3, 4},
     30,
     3},
    {"fewer words than wanted: every one of them",
     {{"due0", 0, 3, never, 3}, {"waiting4", 4, 2, aMinuteAgo, 2}},
     {0, 1, 2, 3, 4},
     30,
     5},
    {"many waiting words fill the run completely",
     {{"waiting3", 3, 300, aMinuteAgo, anyNumber}},
     {0, 1, 2, 3, 4},
     200,
     200},
    {"the fill-up shares out among the levels",
     {{"waiting1", 1, 50, aMinuteAgo, 10}, {"waiting2", 2, 50, aMinuteAgo, 10}},
     {1, 2},
     20,
     20},
    {"words of the levels switched off only: empty",
     {{"due1", 1, 5, never, 0}, {"due5", 5, 2, 30, 0}},
     {0, 2},
     30,
     0},
    {"an empty vocabulary: empty", {}, {0, 1, 2, 3, 4, 5}, 30, 0},
    {"no level switched on: empty", {{"due0", 0, 5, never, 0}}, {}, 30, 0},
    {"no word wanted: empty", {{"due0", 0, 5, never, 0}}, {0}, 0, 0},
    {"a negative number wanted: empty", {{"due0", 0, 5, never, 0}}, {0}, -5, 0},
    {"words carrying all the tags",
     {{"a", 3, 2, 30, 0, false, {u"a"_s}},
      {"ab", 3, 2, aMinuteAgo, 2, false, {u"b"_s, u"a"_s}},
      {"untagged", 3, 2, 30, 0}},
     {3},
     30,
     2,
     {u"a"_s, u"b"_s},
     true},
    {"words carrying any of the tags",
     {{"a", 3, 2, 30, 2, false, {u"a"_s}},
      {"ab", 3, 2, aMinuteAgo, 2, false, {u"b"_s, u"a"_s}},
      {"c", 3, 2, 30, 0, false, {u"c"_s}},
      {"untagged", 3, 2, 30, 0}},
     {3},
     30,
     4,
     {u"a"_s, u"b"_s}},
    {"a tag filter nothing carries: empty", {{"nouns", 0, 4, never, 0, false, {u"nouns"_s}}}, {0}, 30, 0, {u"verbs"_s}},
};

TEST_F(QuizTest, ChoosesTheWordsOfARunByLevelsDueDatesAndTags)
{
    for (const SelectionCase &c : selectionCases) {
        SCOPED_TRACE(c.name);
        vocabulary->setAllWords({});
        QHash<const QLXWord *, QString> groupOf;
        for (const WordGroup &group : c.groups) {
            for (int i = 0; i < group.count; ++i) {
                const auto added = addWord(QString::fromLatin1(group.name) + u'-' + QString::number(i), group.level,
                                           group.daysAgo, group.tags, group.dontAskAgain);
                groupOf.insert(added.get(), QString::fromLatin1(group.name));
            }
        }
        switchOnLevels(quiz, c.levels);
        quiz.setNumberOfWordsToAsk(c.wanted);
        quiz.setFilterTags(QSet<QString>(c.filter.cbegin(), c.filter.cend()));
        quiz.setIsWordsMustMatchAllTags(c.mustMatchAll);

        quiz.createWordsToAsk();

        EXPECT_EQ(quiz.wordsToAsk().size(), c.expectedSize) << testing::PrintToString(yourWords(quiz.wordsToAsk()));
        EXPECT_EQ(quiz.numberOfWordsToAsk(), c.expectedSize);
        EXPECT_EQ(quiz.askIndex(), -1);
        QHash<QString, int> counts;
        for (const auto &asked : quiz.wordsToAsk())
            ++counts[groupOf.value(asked.get())];
        for (const WordGroup &group : c.groups) {
            if (group.expected != anyNumber) {
                EXPECT_EQ(counts.value(QString::fromLatin1(group.name)), group.expected) << group.name;
            }
        }
    }
}

TEST_F(QuizTest, TooManyDueWordsAreThinnedOutAtRandom)
{
    for (int i = 0; i < 25; ++i) {
        addWord(u"never%1"_s.arg(i), 0, never);
        addWord(u"longAgo%1"_s.arg(i), 3, 30 + i);
    }
    std::set<QString> everChosen;
    for (unsigned seed = 0; seed < 20; ++seed) {
        quiz.setRandom(seededRandom(seed));
        quiz.createWordsToAsk();
        for (const auto &asked : quiz.wordsToAsk())
            everChosen.insert(asked->yourWord());
    }
    EXPECT_EQ(everChosen.size(), 50u);
}

TEST_F(QuizTest, ARunWithoutAVocabularyIsEmptyAndReplacesThePreviousRun)
{
    addWord(u"Haus"_s, 0, never);
    quiz.createWordsToAsk();
    ASSERT_EQ(quiz.wordsToAsk().size(), 1);
    quiz.setVocabulary(nullptr);
    quiz.setNumberOfWordsToAsk(30);
    quiz.createWordsToAsk();
    EXPECT_TRUE(quiz.wordsToAsk().isEmpty());
    EXPECT_EQ(quiz.numberOfWordsToAsk(), 0);
    EXPECT_FALSE(quiz.nextWordToAsk());
}

// Over many random vocabularies and settings: a run holds as many words as wanted, or every word
// it may hold when there are fewer; due words come before waiting ones; no word comes twice, from
// another level, without the tags or marked not to be asked again.
TEST_F(QuizTest, ARunHoldsTheWantedNumberOfDistinctWordsOfTheChosenLevelsAndTags)
{
    const QStringList topics = {u"a"_s, u"b"_s, u"c"_s};
    const qint64 restTimes[] = {0, 900, 10800, 86400, 259200, 604800};
    // Seconds since the last answer: never, then from a minute to a month, and three seconds ahead.
    const std::optional<double> ages[] = {std::nullopt, 60, 43200, 172800, 2592000, -3};
    for (unsigned seed = 0; seed < 300; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 engine(seed);
        const auto below = [&engine](int bound) { return int(engine() % unsigned(bound)); };
        vocabulary->setAllWords({});
        const int wordCount = below(80);
        for (int i = 0; i < wordCount; ++i) {
            QStringList tags;
            for (const QString &topic : topics) {
                if (below(3) == 0)
                    tags.append(topic);
            }
            const auto added = addWord(QString::number(i), quint64(below(7)), never, tags, below(8) == 0);
            if (const std::optional<double> age = ages[below(6)])
                added->setLastAsked(fakes.clock.now().addingSeconds(-*age));
        }
        std::set<quint64> levels;
        for (quint64 level = 0; level <= 5; ++level) {
            if (below(2))
                levels.insert(level);
        }
        switchOnLevels(quiz, levels);
        const qint64 wanted = below(60) - 5;
        quiz.setNumberOfWordsToAsk(wanted);
        QStringList filter;
        for (const QString &topic : topics + QStringList{u"d"_s}) {
            if (below(4) == 0)
                filter.append(topic);
        }
        const bool mustMatchAll = below(2);
        quiz.setFilterTags(QSet<QString>(filter.cbegin(), filter.cend()));
        quiz.setIsWordsMustMatchAllTags(mustMatchAll);
        quiz.setRandom(seededRandom(seed));

        quiz.createWordsToAsk();

        const auto level = [](const QLXWord &word) { return std::min<quint64>(word.level(), 5); };
        const auto isDue = [&](const QLXWord &word) {
            return !word.lastAsked()
                   || fakes.clock.now().secondsSince(*word.lastAsked()) > double(restTimes[level(word)]);
        };
        const auto mayBeAsked = [&](const QLXWord &word) {
            return levels.contains(level(word)) && !word.dontAskAgain()
                   && carriesFilterTags(word, filter, mustMatchAll);
        };
        qint64 eligible = 0;
        std::set<const QLXWord *> dueBelowNative;
        for (const auto &candidate : vocabulary->allWords()) {
            if (mayBeAsked(*candidate)) {
                ++eligible;
                if (level(*candidate) < 5 && isDue(*candidate))
                    dueBelowNative.insert(candidate.get());
            }
        }
        const WordList &run = quiz.wordsToAsk();
        ASSERT_EQ(run.size(), std::clamp<qint64>(wanted, 0, eligible));
        std::set<const QLXWord *> distinct;
        for (const auto &asked : run) {
            EXPECT_TRUE(mayBeAsked(*asked)) << asked->yourWord().toStdString();
            EXPECT_TRUE(distinct.insert(asked.get()).second) << asked->yourWord().toStdString();
            if (qint64(dueBelowNative.size()) >= wanted) {
                EXPECT_TRUE(dueBelowNative.contains(asked.get())) << asked->yourWord().toStdString();
            }
        }
        if (qint64(dueBelowNative.size()) < wanted) {
            EXPECT_TRUE(std::includes(distinct.cbegin(), distinct.cend(), dueBelowNative.cbegin(),
                                      dueBelowNative.cend()));
        }
    }
}

TEST_F(QuizTest, TheSameSeedGivesTheSameRunAndEveryOrderCanCome)
{
    const WordList words = {word(u"a"_s), word(u"b"_s), word(u"c"_s)};
    std::set<QStringList> orders;
    for (unsigned seed = 0; seed < 100; ++seed) {
        quiz.setRandom(seededRandom(seed));
        quiz.setWordsToAsk(words);
        const QStringList order = yourWords(quiz.wordsToAsk());
        quiz.setRandom(seededRandom(seed));
        quiz.setWordsToAsk(words);
        EXPECT_EQ(yourWords(quiz.wordsToAsk()), order);
        orders.insert(order);
    }
    const std::set<QStringList> allOrders = {{u"a"_s, u"b"_s, u"c"_s}, {u"a"_s, u"c"_s, u"b"_s},
                                             {u"b"_s, u"a"_s, u"c"_s}, {u"b"_s, u"c"_s, u"a"_s},
                                             {u"c"_s, u"a"_s, u"b"_s}, {u"c"_s, u"b"_s, u"a"_s}};
    EXPECT_EQ(orders, allOrders);
}

TEST_F(QuizTest, GroupingByTagKeepsTheOrderWithinGroupsAndDropsRepeats)
{
    const auto a = word(u"a"_s, {u"x"_s});
    const auto b = word(u"b"_s);
    const auto c = word(u"c"_s, {u"y"_s});
    const auto d = word(u"d"_s, {u"x"_s, u"y"_s});
    const auto e = word(u"e"_s);
    const auto f = word(u"f"_s, {u"x"_s});
    const auto g = word(u"g"_s, {u"noTagsSet"_s});
    WordList words = {a, b, c, d, e, nullptr, f, g, a};
    QLXQuizInterface::clusterTagsInArray(words);
    EXPECT_EQ(yourWords(words), (QStringList{u"a"_s, u"d"_s, u"f"_s, u"b"_s, u"e"_s, u"g"_s, u"c"_s}));
}

TEST_F(QuizTest, SettingTheWordsShufflesGroupsByTagAndStartsTheRunAgain)
{
    const WordList words = {word(u"x1"_s, {u"x"_s}), word(u"n1"_s), word(u"y1"_s, {u"y"_s}), word(u"x2"_s, {u"x"_s}),
                            word(u"n2"_s), word(u"y2"_s, {u"y"_s}), word(u"x3"_s, {u"x"_s})};
    for (unsigned seed = 0; seed < 20; ++seed) {
        SCOPED_TRACE(seed);
        quiz.setRandom(seededRandom(seed));
        quiz.setAskIndex(3);
        quiz.setWordsToAsk(words + WordList{words.first()});
        ASSERT_EQ(quiz.wordsToAsk().size(), words.size());
        EXPECT_EQ(quiz.numberOfWordsToAsk(), words.size());
        EXPECT_EQ(quiz.askIndex(), -1);
        // Each group comes in one stretch: its first letter never comes back after another.
        QString groupsInOrder;
        for (const auto &asked : quiz.wordsToAsk()) {
            const QChar group = asked->yourWord().front();
            if (!groupsInOrder.endsWith(group)) {
                EXPECT_FALSE(groupsInOrder.contains(group)) << testing::PrintToString(yourWords(quiz.wordsToAsk()));
                groupsInOrder += group;
            }
        }
    }
    // The run's own list handed back in comes back whole.
    quiz.setWordsToAsk(quiz.wordsToAsk());
    EXPECT_EQ(quiz.wordsToAsk().size(), words.size());
}

TEST_F(QuizTest, SettingTheWordsRereadsWhetherCommentsAreShown)
{
    EXPECT_FALSE(quiz.isShowCommentWithQuestion());
    defaults.setBool(u"isShowCommentWithQuestion"_s, true);
    quiz.setWordsToAsk({});
    EXPECT_TRUE(quiz.isShowCommentWithQuestion());
}

TEST_F(QuizTest, WordsAreHandedOutInOrderThenNoneForEver)
{
    quiz.askInOrder({word(u"a"_s), word(u"b"_s)});
    QStringList handedOut;
    for (int i = 0; i < 4; ++i)
        handedOut.append(yourWords({quiz.nextWordToAsk()}));
    EXPECT_EQ(handedOut, (QStringList{u"a"_s, u"b"_s, u"(none)"_s, u"(none)"_s}));
    EXPECT_EQ(quiz.askIndex(), 2);

    const struct
    {
        qint64 askIndex;
        const char *next;
    } restarts[] = {{-1, "a"}, {0, "b"}, {-7, "a"}, {std::numeric_limits<qint64>::max(), "(none)"},
                    {std::numeric_limits<qint64>::min(), "a"}};
    for (const auto &restart : restarts) {
        quiz.setAskIndex(restart.askIndex);
        EXPECT_EQ(yourWords({quiz.nextWordToAsk()}), QStringList{QString::fromLatin1(restart.next)})
            << restart.askIndex;
        EXPECT_GE(quiz.askIndex(), 0);
        EXPECT_LE(quiz.askIndex(), 2);
    }

    quiz.setWordsToAsk({});
    EXPECT_FALSE(quiz.nextWordToAsk());
    EXPECT_EQ(quiz.askIndex(), 0);
}

TEST(QuizDistanceTest, CountsSingleEditsOfUtf16Units)
{
    const QString grinning = u"😀"_s;
    const QString swappedHalves = QString(grinning[1]) + grinning[0];
    const QString pasted = u"Haus"_s + QString(5000, u'x');
    const struct
    {
        QString a;
        QString b;
        qint64 distance;
    } cases[] = {
        {u"abc"_s, u"abc"_s, 0},
        {u"abc"_s, u"acb"_s, 1},
        {u"flaw"_s, u"lawn"_s, 2},
        {u"Haus"_s, u"haus"_s, 1},
        {u"Haus"_s, u"Haus "_s, 1},
        {u"café"_s, u"cafe"_s, 1},
        {u"house"_s, QString(), 5},
        {QString(), QString(), 0},
        {QString(), u""_s, 0},
        {u"ca"_s, u"abc"_s, 3},
        {u"kitten"_s, u"sitting"_s, 3},
        {grinning, u"😃"_s, 1},
        {grinning, QString(), 2},
        {u"a😀b"_s, u"ab"_s, 2},
        {grinning, swappedHalves, 1},
        {u"Haus"_s, pasted, 5000},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(QLXQuizInterface::distanceBetween(c.a, c.b), c.distance) << c.a.left(10).toStdString() << " / " << c.b.left(10).toStdString();
        EXPECT_EQ(QLXQuizInterface::distanceBetween(c.b, c.a), c.distance) << c.b.left(10).toStdString() << " / " << c.a.left(10).toStdString();
    }
}

} // namespace
