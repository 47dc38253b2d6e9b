#include "model/LanguageNames.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::LanguageNamesProblem;

namespace {

TEST(LanguageNamesTest, MakesNamesFromTheFieldsAndRefusesThoseThatCannotNameAVocabulary)
{
    struct Case
    {
        QString foreignField;
        QString yourField;
        QString displayName;
        std::optional<LanguageNamesProblem> problem;
    };
    const Case cases[] = {
        {u"  French\n"_s, u"\tEnglish "_s, u"French - English"_s, std::nullopt},
        {u""_s, u" \n "_s, u"Unknown - Unknown"_s, LanguageNamesProblem::sameNames},
        {u""_s, u"English"_s, u"Unknown - English"_s, std::nullopt},
        {u"French"_s, u"FRENCH"_s, u"French - FRENCH"_s, LanguageNamesProblem::sameNames},
        {u"French"_s, u"English (UK)"_s, u"French - English (UK)_"_s, std::nullopt},
        {u"French"_s, u"English (2)"_s, u"French - English (2)_"_s, std::nullopt},
        {u"Chinese (Simplified)"_s, u"English"_s, u"Chinese (Simplified) - English"_s, std::nullopt},
        {u"Fr/ench"_s, u"English"_s, u"Fr/ench - English"_s, LanguageNamesProblem::unusableName},
        {u"French"_s, u"../English"_s, u"French - ../English"_s, LanguageNamesProblem::unusableName},
        {u"French"_s, u"En/glish"_s, u"French - En/glish"_s, LanguageNamesProblem::unusableName},
        {u".French"_s, u"English"_s, u".French - English"_s, LanguageNamesProblem::unusableName},
        {u"French"_s, u".English"_s, u"French - .English"_s, LanguageNamesProblem::unusableName},
        {u".."_s, u"English"_s, u".. - English"_s, LanguageNamesProblem::unusableName},
        {u"French"_s, u".."_s, u"French - .."_s, LanguageNamesProblem::unusableName},
        {u"Fr..ench"_s, u"Eng.lish."_s, u"Fr..ench - Eng.lish."_s, std::nullopt},
        {u"French"_s, u"English.qlxv"_s, u"French - English.qlxv"_s, LanguageNamesProblem::unusableName},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE((test.foreignField + u" | "_s + test.yourField).toStdString());
        const lexi::LanguageNames names = lexi::languageNamesFromFields(test.foreignField, test.yourField);
        EXPECT_EQ(names.displayName(), test.displayName);
        EXPECT_EQ(lexi::problemWithLanguageNames(names), test.problem);
    }
}

} // namespace
