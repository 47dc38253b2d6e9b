#include "ShellTestSupport.h"

#include "support/Screenshots.h"
#include "support/ScriptedInputSources.h"

#include "shell/QLXLanguageSheet.h"
#include "shell/QLXPreferencesController.h"
#include "views/QLXColorTheme.h"

#include <QTableView>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void save(QWidget &widget, const QString &page)
{
    EXPECT_TRUE(lexi::test::saveScreenshot(widget, page)) << page.toStdString();
}

// Renders the three pages and the language sheet with a learner's vocabularies, for people to look
// at in build/screenshots.
TEST(QLXPreferencesScreenshotTest, RendersThePagesAndTheSheet)
{
    lexi::test::LanguagesInstallation languages;
    lexi::test::SyncInstallation &here = languages.here;
    struct Language
    {
        QString foreign;
        int words;
        QString keyboard;
    };
    const Language learnt[] = {
        {u"French"_s, 1240, u"xkb:fr"_s},
        {u"German"_s, 386, u"xkb:de"_s},
        {u"Spanish"_s, 2015, u"xkb:es"_s},
        {u"Japanese"_s, 97, u"com.apple.inputmethod.Kotoeri.Japanese"_s},
    };
    for (const Language &language : learnt) {
        auto vocabulary = Lexicarta::create(here.services);
        vocabulary->setForeignLanguageName(language.foreign);
        vocabulary->setYourLanguageName(u"English"_s);
        vocabulary->setYourTextInputSourceId(u"xkb:gb"_s);
        vocabulary->setForeignTextInputSourceId(language.keyboard);
        lexi::WordList words;
        for (int number = 0; number < language.words; ++number)
            words.append(std::make_shared<QLXWord>(u"word %1"_s.arg(number), u"mot %1"_s.arg(number)));
        vocabulary->batchAddWords(words);
        here.storage.saveVocabulary(vocabulary.get());
        here.storage.flushSaves();
    }
    here.sync();
    here.clock.advance(std::chrono::minutes(12));

    lexi::test::ScriptedInputSources keyboards;
    keyboards.sources = {{u"xkb:gb"_s, u"English (UK)"_s},
                         {u"xkb:fr"_s, u"French"_s},
                         {u"xkb:de"_s, u"German"_s},
                         {u"xkb:es"_s, u"Spanish"_s},
                         {u"xkb:jp"_s, u"Japanese"_s}};
    keyboards.current = keyboards.sources.front();
    QLXColorTheme theme(here.defaults);
    QLXPreferencesController preferences(languages.preferencesEnvironment(keyboards, theme));
    preferences.resize(860, 560);
    preferences.show();
    preferences.finishPendingWork();

    save(preferences, u"preferences-general"_s);
    preferences.showLanguages();
    preferences.finishPendingWork();
    preferences.vocabulariesTableView()->selectRow(0);
    save(preferences, u"preferences-languages"_s);
    preferences.showSyncing();
    save(preferences, u"preferences-syncing"_s);
    here.controller->setIsEnabled(false);
    preferences.showSyncing();
    save(preferences, u"preferences-syncing-off"_s);
    here.controller->setIsEnabled(true);

    preferences.showLanguages();
    preferences.vocabulariesTableView()->selectRow(0);
    preferences.showEditLangPanel();
    QLXLanguageSheet *sheet = preferences.editLangPanel();
    ASSERT_TRUE(sheet->isVisible());
    sheet->adjustSize();
    save(*sheet, u"preferences-language-sheet"_s);

    EXPECT_EQ(preferences.allVocsCountIncludingInvisibles(), 4);
}

} // namespace
