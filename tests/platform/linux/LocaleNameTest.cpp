#include "platform/linux/LocaleName.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(LocaleNameTest, DropsTheParenthesisedPart)
{
    EXPECT_EQ(lexi::localeNameWithoutParenthesis(u"English (United Kingdom)"_s), u"English"_s);
    EXPECT_EQ(lexi::localeNameWithoutParenthesis(u"  Deutsch  (Schweiz) (x)"_s), u"Deutsch"_s);
    EXPECT_EQ(lexi::localeNameWithoutParenthesis(u" Français "_s), u" Français "_s);
}

TEST(LocaleNameTest, NamesTheLanguageOfTheLocale)
{
    EXPECT_EQ(lexi::selectedLocaleName(QLocale(QLocale::German, QLocale::Switzerland)), u"German"_s);
    EXPECT_EQ(lexi::selectedLocaleName(QLocale(QLocale::French)), u"French"_s);
    // The C locale names no language: never "C".
    EXPECT_EQ(lexi::selectedLocaleName(QLocale::c()), u"English"_s);
}
