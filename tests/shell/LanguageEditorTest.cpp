#include "ShellTestSupport.h"

#include "model/QLXFile.h"
#include "platform/files/Settings.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::LanguageEditor;
using lexi::LanguageSheetContent;

namespace {

const QString french = u"French - English.qlxv"_s;
const QString german = u"German - English.qlxv"_s;

class LanguageEditorTest : public testing::Test
{
protected:
    void SetUp() override
    {
        frenchPath = languages.addVocabulary(u"French"_s, u"English"_s, {u"chat"_s, u"chien"_s});
        languages.addVocabulary(u"German"_s, u"English"_s, {u"Hund"_s});
        languages.copyToCloud(french);
        languages.copyToCloud(german);
    }

    LanguageSheetContent editing(const QString &path)
    {
        const auto vocabulary = languages.here.storage.vocabularyFromFile(path);
        return lexi::contentForEditing(path, lexi::VocabularySummary::of(*vocabulary), {}, std::nullopt);
    }

    // Confirms the sheet as its confirm button does: the saved path, or nothing when the sheet
    // stays open or the save failed.
    std::optional<QString> confirm(const LanguageSheetContent &content)
    {
        const auto names = editor().checkSheet(content);
        if (!names)
            return std::nullopt;
        const auto saved = editor().saveSheet(content, *names);
        return saved ? std::optional(*saved) : std::nullopt;
    }

    const LanguageEditor &editor() { return languages.editor; }
    QStringList alertTitles() const
    {
        QStringList titles;
        for (const lexi::Alert &alert : languages.here.alerts.alerts)
            titles.append(alert.title);
        return titles;
    }

    lexi::test::LanguagesInstallation languages;
    QString frenchPath;
};

TEST_F(LanguageEditorTest, RefusedNamesLeaveTheSheetOpenAndChangeNothing)
{
    struct Case
    {
        bool isAdding;
        QString foreignField;
        QString yourField;
        QString alertTitle;
    };
    const Case cases[] = {
        {true, u""_s, u"  "_s, u"Same language names"_s},
        {false, u"english"_s, u"English"_s, u"Same language names"_s},
        {true, u"german"_s, u"ENGLISH"_s, u"Language exists already"_s},
        {false, u"German"_s, u"English"_s, u"Language exists already"_s},
        {true, u"../German"_s, u"English"_s, u"Language name not possible"_s},
        {false, u"French"_s, u"Eng/lish"_s, u"Language name not possible"_s},
        {true, u".French"_s, u"English"_s, u"Language name not possible"_s},
        {true, u".."_s, u"English"_s, u"Language name not possible"_s},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE((test.foreignField + u" | "_s + test.yourField).toStdString());
        languages.here.alerts.alerts.clear();
        LanguageSheetContent content = test.isAdding
            ? lexi::contentForAdding({}, std::nullopt, u"New Language"_s, u"English"_s)
            : editing(frenchPath);
        content.foreignName = test.foreignField;
        content.yourName = test.yourField;
        EXPECT_EQ(confirm(content), std::nullopt);
        EXPECT_EQ(alertTitles(), QStringList{test.alertTitle});
        EXPECT_EQ(languages.here.vocabularyFiles(), (QStringList{french, german}));
        EXPECT_EQ(languages.wordsOf(german), QStringList{u"Hund"_s});
        EXPECT_EQ(languages.wordsOf(french), (QStringList{u"chat"_s, u"chien"_s}));
    }
}

TEST_F(LanguageEditorTest, ANewForeignNameMovesTheVocabularyAndItsCloudCopyGoes)
{
    LanguageSheetContent content = editing(frenchPath);
    content.foreignName = u" Italian "_s;
    content.foreignFacultativeWords = {u"lo"_s};
    lexi::Settings(languages.here.defaults).setLanguageDeleted(u"Italian - English"_s, true);

    const auto saved = confirm(content);

    ASSERT_EQ(saved, languages.here.vocabularyPath(u"Italian - English.qlxv"_s));
    EXPECT_EQ(languages.here.vocabularyFiles(), (QStringList{german, u"Italian - English.qlxv"_s}));
    EXPECT_EQ(languages.wordsOf(u"Italian - English.qlxv"_s), (QStringList{u"chat"_s, u"chien"_s}));
    EXPECT_EQ(languages.here.load(u"Italian - English.qlxv"_s)->foreignFacultativeWords(), QStringList{u"lo"_s});
    EXPECT_TRUE(editor().isDeletedFlagSet(u"French - English"_s));
    EXPECT_FALSE(editor().isDeletedFlagSet(u"Italian - English"_s));
    EXPECT_EQ(languages.cloudFiles(), QStringList{german});
    EXPECT_TRUE(languages.here.alerts.alerts.isEmpty());

    // The next synchronisation uploads the new name and does not bring the old one back.
    languages.here.sync();
    EXPECT_EQ(languages.cloudFiles(), (QStringList{german, u"Italian - English.qlxv"_s}));
    EXPECT_EQ(languages.here.vocabularyFiles(), (QStringList{german, u"Italian - English.qlxv"_s}));
}

TEST_F(LanguageEditorTest, ANameChangedOnlyInLetterCaseKeepsOneFileAndItsCloudCopy)
{
    LanguageSheetContent content = editing(frenchPath);
    content.foreignName = u"FRENCH"_s;

    const auto saved = confirm(content);

    ASSERT_EQ(saved, languages.here.vocabularyPath(u"FRENCH - English.qlxv"_s));
    EXPECT_EQ(languages.here.vocabularyFiles(), (QStringList{u"FRENCH - English.qlxv"_s, german}));
    EXPECT_EQ(languages.wordsOf(u"FRENCH - English.qlxv"_s), (QStringList{u"chat"_s, u"chien"_s}));
    EXPECT_FALSE(editor().isDeletedFlagSet(u"French - English"_s));
    EXPECT_EQ(languages.cloudFiles(), (QStringList{french, german}));
}

TEST_F(LanguageEditorTest, AnEditIsMarkedForTheNextSynchronisation)
{
    LanguageSheetContent content = editing(frenchPath);
    content.yourFacultativeWords = {u"a"_s, u"an"_s};
    ASSERT_EQ(confirm(content), frenchPath);

    const auto edited = languages.here.load(french);
    EXPECT_TRUE(edited->needsSync());
    EXPECT_EQ(edited->yourFacultativeWords(), (QStringList{u"a"_s, u"an"_s}));
    EXPECT_EQ(languages.here.sync(), (QStringList{u"French - English: exists locally > sync"_s,
                                                  u"German - English: exists locally > sync"_s,
                                                  u"French - English: modified -> upload"_s,
                                                  u"German - English: already synched"_s}));
}

TEST_F(LanguageEditorTest, AddingSavesANewEmptyVocabulary)
{
    LanguageSheetContent content = lexi::contentForAdding(
        {{u"xkb:us"_s, u"English (US)"_s}, {u"xkb:it"_s, u"Italian"_s}}, std::nullopt, u"Italian"_s, u"English (UK)"_s);
    content.foreignKeyboard.selected = 1;
    lexi::Settings(languages.here.defaults).setLanguageDeleted(u"Italian - English (UK)_"_s, true);

    ASSERT_EQ(confirm(content), languages.here.vocabularyPath(u"Italian - English (UK)_.qlxv"_s));

    const auto added = languages.here.load(u"Italian - English (UK)_.qlxv"_s);
    ASSERT_TRUE(added);
    EXPECT_EQ(added->countAllWords(), 0);
    EXPECT_EQ(added->yourFacultativeWords(), (QStringList{u"to"_s, u"the"_s}));
    EXPECT_EQ(added->foreignTextInputSourceId(), u"xkb:it"_s);
    EXPECT_EQ(added->yourTextInputSourceId(), u"xkb:us"_s);
    EXPECT_TRUE(added->isAutoSelectInputSource());
    EXPECT_FALSE(editor().isDeletedFlagSet(u"Italian - English (UK)_"_s));
}

TEST_F(LanguageEditorTest, AFileThatNoLongerLoadsIsNotSavedOver)
{
    const LanguageSheetContent content = editing(frenchPath);
    lexi::test::put(frenchPath, "damaged");

    EXPECT_EQ(confirm(content), std::nullopt);

    EXPECT_EQ(lexi::test::contents(frenchPath), "damaged");
    EXPECT_EQ(languages.here.vocabularyFiles(), (QStringList{french, german}));
}

TEST_F(LanguageEditorTest, DeletingAsksAndDeletesAsTheLearnerChooses)
{
    struct Case
    {
        bool syncing;
        int button;
        QStringList buttons;
        LanguageEditor::Removal removal;
        QStringList cloudFiles;
    };
    const Case cases[] = {
        {true, 0, {u"Cancel"_s, u"Delete"_s, u"Delete Everywhere"_s}, LanguageEditor::Removal::cancelled,
         {french, german}},
        {true, 1, {u"Cancel"_s, u"Delete"_s, u"Delete Everywhere"_s}, LanguageEditor::Removal::deleted,
         {french, german}},
        {true, 2, {u"Cancel"_s, u"Delete"_s, u"Delete Everywhere"_s}, LanguageEditor::Removal::deleted, {german}},
        {false, 0, {u"Cancel"_s, u"Delete"_s}, LanguageEditor::Removal::cancelled, {french, german}},
        {false, 1, {u"Cancel"_s, u"Delete"_s}, LanguageEditor::Removal::deleted, {french, german}},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.syncing ? "syncing" : "not syncing");
        SCOPED_TRACE(test.button);
        lexi::test::LanguagesInstallation fresh;
        fresh.addVocabulary(u"French"_s, u"English"_s);
        fresh.addVocabulary(u"German"_s, u"English"_s);
        fresh.copyToCloud(french);
        fresh.copyToCloud(german);
        fresh.here.controller->setIsEnabled(test.syncing);
        fresh.here.alerts.answers.push_back(test.button);

        const bool deleted = test.removal == LanguageEditor::Removal::deleted;
        EXPECT_EQ(fresh.editor.removeLanguage(QLXFile(fresh.here.vocabularyPath(french))), test.removal);

        ASSERT_EQ(fresh.here.alerts.alerts.size(), 1);
        const lexi::Alert &alert = fresh.here.alerts.alerts.front();
        EXPECT_EQ(alert.title, u"Delete language?"_s);
        EXPECT_TRUE(alert.message.contains(u"\"French - English\""_s)) << alert.message.toStdString();
        EXPECT_EQ(alert.buttons, test.buttons);
        EXPECT_EQ(fresh.here.vocabularyFiles(), deleted ? QStringList{german} : (QStringList{french, german}));
        EXPECT_EQ(fresh.editor.isDeletedFlagSet(u"French - English"_s), deleted);
        EXPECT_EQ(fresh.cloudFiles(), test.cloudFiles);
    }
}

TEST_F(LanguageEditorTest, ACloudCopyOfADeletedLanguageIsNotBroughtBack)
{
    languages.here.alerts.answers.push_back(1);
    ASSERT_EQ(editor().removeLanguage(QLXFile(frenchPath)), LanguageEditor::Removal::deleted);

    languages.here.sync();

    EXPECT_EQ(languages.here.vocabularyFiles(), QStringList{german});
    EXPECT_EQ(languages.cloudFiles(), (QStringList{french, german}));

    // Made again here, it takes part again.
    languages.addVocabulary(u"French"_s, u"English"_s);
    LanguageSheetContent content = editing(frenchPath);
    ASSERT_EQ(confirm(content), frenchPath);
    EXPECT_FALSE(editor().isDeletedFlagSet(u"French - English"_s));
}

} // namespace
