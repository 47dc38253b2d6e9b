#include "platform/linux/LocaleName.h"

#include <gtest/gtest.h>

TEST(LocaleNameTest, DropsTheParenthesisedPart)
{
    EXPECT_EQ(lexi::localeNameWithoutParenthesis(QStringLiteral("English (United Kingdom)")), QStringLiteral("English"));
    EXPECT_EQ(lexi::localeNameWithoutParenthesis(QStringLiteral("  Deutsch  (Schweiz) (x)")), QStringLiteral("Deutsch"));
    EXPECT_EQ(lexi::localeNameWithoutParenthesis(QStringLiteral(" Français ")), QStringLiteral(" Français "));
}

TEST(LocaleNameTest, NamesTheLanguageOfTheLocale)
{
    EXPECT_EQ(lexi::selectedLocaleName(QLocale(QLocale::German, QLocale::Switzerland)), QStringLiteral("German"));
    EXPECT_EQ(lexi::selectedLocaleName(QLocale(QLocale::French)), QStringLiteral("French"));
}
