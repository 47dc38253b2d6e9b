#include "shell/FirstLanguageNames.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace lexi {
namespace {

TEST(FirstLanguageNamesTest, NamesTheFirstVocabularysLanguages)
{
    const struct
    {
        QString localeName;
        QString typedName;
        FirstLanguageNames expected;
    } cases[] = {
        {u"English"_s, u"  French \n"_s, {u"English"_s, u"French"_s}},
        {u"English"_s, u"   "_s, {u"English"_s, u"Unknown"_s}},
        {u""_s, u"French"_s, {u"Unknown"_s, u"French"_s}},
        {u" \t"_s, u"French"_s, {u"Unknown"_s, u"French"_s}},
        {u"English"_s, u"eNGLISH"_s, {u"My Language"_s, u"eNGLISH"_s}},
        {u"Deutsch (Schweiz)"_s, u"French"_s, {u"Deutsch (Schweiz)_"_s, u"French"_s}},
        // Both unknown: the same name, so the own one is told apart.
        {u""_s, u" "_s, {u"My Language"_s, u"Unknown"_s}},
    };
    for (const auto &testCase : cases)
        EXPECT_EQ(firstLanguageNames(testCase.localeName, testCase.typedName), testCase.expected)
            << testCase.localeName.toStdString() << " / " << testCase.typedName.toStdString();
}

} // namespace
} // namespace lexi
