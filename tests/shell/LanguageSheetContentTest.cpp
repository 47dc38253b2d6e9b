#include "shell/LanguageSheetContent.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::InputSource;
using lexi::KeyboardChoice;

namespace {

const QList<InputSource> sources = {
    {u"xkb:us"_s, u"English (US)"_s},
    {u"xkb:fr"_s, u"French"_s},
    {u"xkb:de"_s, u"German"_s},
};

TEST(LanguageSheetContentTest, ANewLanguageStartsAtTheCurrentKeyboard)
{
    const auto content = lexi::contentForAdding(sources, sources[2], u"New Language"_s, u"English"_s);
    EXPECT_TRUE(content.isAdding);
    EXPECT_EQ(content.foreignName, u"New Language"_s);
    EXPECT_EQ(content.yourName, u"English"_s);
    EXPECT_EQ(content.yourFacultativeWords, (QStringList{u"to"_s, u"the"_s}));
    EXPECT_EQ(content.foreignFacultativeWords, (QStringList{u"il"_s, u"la"_s}));
    EXPECT_EQ(content.yourKeyboard, (KeyboardChoice{std::nullopt, 2}));
    EXPECT_EQ(content.foreignKeyboard, (KeyboardChoice{std::nullopt, 2}));
    EXPECT_TRUE(content.isAutoSelectInputSource);

    const InputSource unlisted{u"xkb:jp"_s, u"Japanese"_s};
    EXPECT_EQ(lexi::contentForAdding(sources, unlisted, {}, {}).yourKeyboard.selected, 0);
    EXPECT_EQ(lexi::contentForAdding({}, std::nullopt, {}, {}).foreignKeyboard.selected, 0);
}

TEST(LanguageSheetContentTest, EditingShowsTheStoredKeyboardsAndKeepsOnesThisMachineLacks)
{
    struct Case
    {
        std::optional<QString> stored;
        KeyboardChoice shown;
        // The pop-up's position the learner then chooses, and what is stored after the sheet.
        qsizetype chosen;
        std::optional<QString> saved;
    };
    const Case cases[] = {
        {u"xkb:fr"_s, {std::nullopt, 1}, 1, u"xkb:fr"_s},
        {u"xkb:fr"_s, {std::nullopt, 1}, 0, u"xkb:us"_s},
        // No stored source: the current keyboard (German).
        {std::nullopt, {std::nullopt, 2}, 2, u"xkb:de"_s},
        {u""_s, {std::nullopt, 2}, 2, u"xkb:de"_s},
        // Stored by another installation: "(unchanged)" after the three sources keeps it.
        {u"com.apple.keylayout.Czech"_s, {u"com.apple.keylayout.Czech"_s, 3}, 3, u"com.apple.keylayout.Czech"_s},
        {u"com.apple.keylayout.Czech"_s, {u"com.apple.keylayout.Czech"_s, 3}, 1, u"xkb:fr"_s},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.stored.value_or(u"none"_s).toStdString());
        lexi::VocabularySummary summary;
        summary.foreignLanguageName = u"French"_s;
        summary.yourLanguageName = u"English"_s;
        summary.foreignTextInputSourceId = test.stored;
        summary.isAutoSelectInputSource = false;
        auto content = lexi::contentForEditing(u"/v/French - English.qlxv"_s, summary, sources, sources[2]);
        EXPECT_FALSE(content.isAdding);
        EXPECT_FALSE(content.isAutoSelectInputSource);
        EXPECT_EQ(content.foreignKeyboard, test.shown);
        content.foreignKeyboard.selected = test.chosen;
        EXPECT_EQ(lexi::chosenSourceId(content.sources, content.foreignKeyboard, test.stored), test.saved);
    }
}

TEST(LanguageSheetContentTest, WithoutKeyboardsTheStoredSourcesStay)
{
    lexi::VocabularySummary summary;
    summary.yourTextInputSourceId = u"xkb:us"_s;
    const auto content = lexi::contentForEditing(u"/v/a - b.qlxv"_s, summary, {}, std::nullopt);
    EXPECT_EQ(lexi::chosenSourceId(content.sources, content.yourKeyboard, summary.yourTextInputSourceId),
              u"xkb:us"_s);
    EXPECT_EQ(lexi::chosenSourceId(content.sources, content.foreignKeyboard, std::nullopt), std::nullopt);
}

} // namespace
