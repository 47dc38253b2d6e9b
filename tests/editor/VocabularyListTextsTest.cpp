#include "editor/VocabularyListTexts.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
namespace Texts = lexi::VocabularyListTexts;
using Texts::HelpPage;

namespace {

TEST(VocabularyListTextsTest, LevelTextsWarnFrom31UnknownWords)
{
    const struct
    {
        quint64 level;
        qsizetype level0Count;
        Texts::LevelTexts expected;
    } cases[] = {
        {0, 30, {u"unknownInfoText"_s, u"unknownHeadding"_s, false}},
        {0, 31, {u"unknownWarningText"_s, u"unknownHeadding"_s, true}},
        {1, 99, {u"ultraShortInfoText"_s, u"ultraShortHeadding"_s, false}},
        {2, 0, {u"shortInfoText"_s, u"shortHeadding"_s, false}},
        {3, 0, {u"midInfoText"_s, u"midHeadding"_s, false}},
        {4, 0, {u"longInfoText"_s, u"longHeadding"_s, false}},
        {5, 0, {u"nativeInfoText"_s, u"nativeHeadding"_s, false}},
        {6, 99, {u"allWordsInfoText"_s, u"allWordsHeadding"_s, false}},
    };
    for (const auto &test : cases) {
        const Texts::LevelTexts texts = Texts::levelTexts(test.level, test.level0Count);
        EXPECT_EQ(texts.infoKey, test.expected.infoKey) << test.level << " " << test.level0Count;
        EXPECT_EQ(texts.headingKey, test.expected.headingKey);
        EXPECT_EQ(texts.isWarning, test.expected.isWarning);
    }
}

TEST(VocabularyListTextsTest, StatusLineTakesTheFirstCaseThatHolds)
{
    const struct
    {
        Texts::StatusFigures figures;
        QString expected;
    } cases[] = {
        {{.isSearching = true, .isSynonymsActive = true, .level = 5, .shown = 3, .total = 40}, u"3 of 40 words match"_s},
        {{.isSynonymsActive = true, .level = 6, .shown = 8, .total = 40}, u"8 synonyms of 40 words"_s},
        {{.level = 2, .shown = 7, .total = 40}, u"7 of 40 words"_s},
        // 12 native words, 3 of them not to be asked again.
        {{.level = 5, .shown = 12, .total = 40, .native = 12, .nativeWithoutDontAsk = 9},
         u"12 native words, 3 not asked again, 40 words in total"_s},
        {{.level = 0, .shown = 0, .total = 40}, u"0 of 40 words"_s},
        {{.level = 6, .shown = 40, .total = 40}, u"40 words"_s},
        {{.level = 6, .shown = 40, .total = 40, .selectedRows = 2}, u"40 words, 2 selected"_s},
    };
    for (const auto &test : cases)
        EXPECT_EQ(Texts::statusText(test.figures), test.expected);

    EXPECT_EQ(Texts::initialStatusText(4, 10), u"4 unknown words, 10 total words"_s);
    EXPECT_EQ(Texts::syncStatusText(u"Synced 2 minutes ago"_s), u"Synced 2 minutes ago"_s);
    EXPECT_EQ(Texts::syncStatusText(std::nullopt), u"Sync in progress"_s);
    EXPECT_EQ(Texts::searchInfoText(u"Haus"_s), u"Words matching \"Haus\""_s);
}

TEST(VocabularyListTextsTest, HelpPageExplainsAnEmptyTable)
{
    const struct
    {
        quint64 total, shown, level;
        bool searching;
        HelpPage expected;
    } cases[] = {
        {0, 0, 6, false, HelpPage::NoWordsAdded},
        {0, 0, 0, true, HelpPage::NoWordsAdded},
        {5, 0, 0, true, HelpPage::NoWordsUnknown},
        {5, 0, 3, true, HelpPage::NoWordsInLevel},
        {5, 0, 6, false, HelpPage::NoWordsInLevel},
        {5, 2, 0, true, HelpPage::SearchBackground},
        {5, 2, 0, false, HelpPage::None},
    };
    for (const auto &test : cases)
        EXPECT_EQ(Texts::helpPage(test.total, test.shown, test.level, test.searching), test.expected)
            << test.total << " " << test.shown << " " << test.level << " " << test.searching;
}

} // namespace
