#include "support/FakeVocabularyServices.h"

#include "model/ExportCopy.h"
#include "model/Lexicarta.h"

#include <gtest/gtest.h>

namespace lexi {
namespace {

using namespace Qt::StringLiterals;

// Seven words, one per level from 0 to 5 and one above, with the tags "a", "b", both, none, and
// one literally named "all".
class ExportCopyTest : public testing::Test
{
protected:
    ExportCopyTest()
    {
        vocabulary->setForeignLanguageName(u"French"_s);
        vocabulary->setYourLanguageName(u"English"_s);
        vocabulary->setYourFacultativeWords({u"to"_s});
        vocabulary->setForeignFacultativeWords({u"le"_s, u"la"_s});
        vocabulary->setForeignTextInputSourceId(u"fr"_s);
        add(u"w0"_s, 0, {u"a"_s});
        add(u"w1"_s, 1, {u"b"_s});
        add(u"w2"_s, 2, {u"a"_s, u"b"_s});
        add(u"w3"_s, 3, {u"all"_s});
        add(u"w4"_s, 4, {});
        add(u"w5"_s, 5, {u"a"_s})->setDontAskAgain(true);
        add(u"w7"_s, 7, {u"b"_s});
        vocabulary->makeDailyStatisticsSnapshot();
    }

    std::shared_ptr<QLXWord> add(const QString &name, quint64 level, const QStringList &tags)
    {
        auto word = std::make_shared<QLXWord>(name, u"f"_s + name, u"comment"_s);
        word->setLevel(level);
        word->setTags(tags);
        vocabulary->addWord(word);
        return word;
    }

    static QStringList yourWords(const Lexicarta &copy)
    {
        QStringList words;
        for (const std::shared_ptr<QLXWord> &word : copy.allWords())
            words.append(word->yourWord());
        return words;
    }

    test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
};

TEST_F(ExportCopyTest, TakesTheWordsOfTheChosenLevelsWithTheChosenTags)
{
    constexpr std::array<bool, 6> everyLevel{true, true, true, true, true, true};
    const struct
    {
        const char *name;
        std::array<bool, 6> levels;
        QStringList tags;
        bool mustHaveAll;
        QStringList words;
    } cases[] = {
        {"all", everyLevel, {u"all"_s}, true, {u"w0"_s, u"w1"_s, u"w2"_s, u"w3"_s, u"w4"_s, u"w5"_s, u"w7"_s}},
        // The token "all" means no filter, also beside other tags and for a tag of that name.
        {"all and a", everyLevel, {u"a"_s, u"all"_s}, true,
         {u"w0"_s, u"w1"_s, u"w2"_s, u"w3"_s, u"w4"_s, u"w5"_s, u"w7"_s}},
        {"no tags", everyLevel, {}, false, {u"w0"_s, u"w1"_s, u"w2"_s, u"w3"_s, u"w4"_s, u"w5"_s, u"w7"_s}},
        {"a", everyLevel, {u"a"_s}, true, {u"w0"_s, u"w2"_s, u"w5"_s}},
        {"a and b", everyLevel, {u"a"_s, u"b"_s}, true, {u"w2"_s}},
        {"a or b", everyLevel, {u"a"_s, u"b"_s}, false, {u"w0"_s, u"w1"_s, u"w2"_s, u"w5"_s, u"w7"_s}},
        {"b on levels 1 and 2", {false, true, true, false, false, false}, {u"b"_s}, false, {u"w1"_s, u"w2"_s}},
        {"native, all", {false, false, false, false, false, true}, {u"all"_s}, true, {u"w5"_s, u"w7"_s}},
        {"native, b", {false, false, false, false, false, true}, {u"b"_s}, true, {u"w7"_s}},
        {"level 3, a", {false, false, false, true, false, false}, {u"a"_s}, false, {}},
    };
    for (const auto &entry : cases) {
        const std::shared_ptr<Lexicarta> copy =
            ExportCopy(*vocabulary, {entry.levels, entry.tags, entry.mustHaveAll}).take();
        EXPECT_EQ(yourWords(*copy), entry.words) << entry.name;
    }
}

TEST_F(ExportCopyTest, NoLevelChosenGivesNoWordsButTheNamesAndStatistics)
{
    const std::shared_ptr<Lexicarta> copy = ExportCopy(*vocabulary, {{}, {u"all"_s}, true}).take();
    EXPECT_EQ(copy->countAllWords(), 0);
    EXPECT_EQ(copy->foreignLanguageName(), u"French"_s);
    EXPECT_EQ(copy->yourLanguageName(), Lexicarta::create(fakes.services)->yourLanguageName());
    EXPECT_EQ(copy->statistics().dailySnapshots(), vocabulary->statistics().dailySnapshots());
    EXPECT_EQ(copy->yourFacultativeWords(), QStringList{u"to"_s});
    EXPECT_EQ(copy->foreignFacultativeWords(), (QStringList{u"le"_s, u"la"_s}));
    EXPECT_EQ(copy->foreignTextInputSourceId(), u"fr"_s);
}

TEST_F(ExportCopyTest, TheCopyHoldsCopiesOfTheWordsAndLeavesTheOpenVocabularyAsItWas)
{
    const WordList before = vocabulary->allWords();
    std::shared_ptr<Lexicarta> copy = ExportCopy(*vocabulary, {{true, true, true, true, true, true}, {}, true}).take();
    const WordList words = copy->allWords();
    ASSERT_EQ(words.size(), before.size());
    for (qsizetype index = 0; index < before.size(); ++index) {
        const std::shared_ptr<QLXWord> &copied = words[index];
        EXPECT_NE(copied, before[index]);
        EXPECT_TRUE(copied->isAllPropertiesEqual(*before[index]));
        EXPECT_EQ(copied->weakVocForSort().lock(), copy);
    }
    copy.reset();
    EXPECT_EQ(vocabulary->allWords(), before);
    for (const std::shared_ptr<QLXWord> &word : before)
        EXPECT_EQ(word->weakVocForSort().lock(), vocabulary);
    EXPECT_EQ(vocabulary->level5Words().size(), 2);
}

} // namespace
} // namespace lexi
