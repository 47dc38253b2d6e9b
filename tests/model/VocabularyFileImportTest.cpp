#include "support/FakeVocabularyServices.h"

#include "model/Lexicarta.h"
#include "model/VocabularyFileImport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lexi {
namespace {

using namespace Qt::StringLiterals;
using NameProblem = VocabularyFileImport::NameProblem;

class VocabularyFileImportTest : public testing::Test
{
protected:
    VocabularyFileImportTest()
    {
        open->setForeignLanguageName(u"French"_s);
        open->setYourLanguageName(u"English"_s);
        add(*open, u"house"_s, u"maison"_s, 3);
        imported->setForeignLanguageName(u"Français"_s);
        add(*imported, u"house"_s, u"maison"_s, 5);
        add(*imported, u"dog"_s, u"chien"_s, 4);
        add(*imported, u"cat"_s, u"chat"_s, 2);
    }

    static void add(Lexicarta &vocabulary, const QString &yourWord, const QString &foreignWord, quint64 level)
    {
        auto word = std::make_shared<QLXWord>(yourWord, foreignWord);
        word->setLevel(level);
        vocabulary.addWord(word);
    }

    test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> open = Lexicarta::create(fakes.services);
    std::shared_ptr<Lexicarta> imported = Lexicarta::create(fakes.services);
    QTemporaryDir vocabularies;
};

TEST_F(VocabularyFileImportTest, ANewLanguageNamePassesTheLanguageSheetsRules)
{
    QFile existing(vocabularies.filePath(u"German - English.qlxv"_s));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    const struct
    {
        QString field;
        QString displayName;
        std::optional<NameProblem> problem;
    } cases[] = {
        {u" Italian "_s, u"Italian - English"_s, std::nullopt},
        {u""_s, u"Unknown - English"_s, std::nullopt},
        {u"english"_s, u"english - English"_s, NameProblem::sameNames},
        {u"It/alian"_s, u"It/alian - English"_s, NameProblem::unusableName},
        {u".Italian"_s, u".Italian - English"_s, NameProblem::unusableName},
        {u".."_s, u".. - English"_s, NameProblem::unusableName},
        {u"Italian (2) - x"_s, u"Italian (2) - x - English"_s, std::nullopt},
        {u"German"_s, u"German - English"_s, NameProblem::exists},
        {u"GERMAN"_s, u"GERMAN - English"_s, NameProblem::exists},
    };
    for (const auto &entry : cases) {
        const LanguageNames names = VocabularyFileImport::newLanguageNames(entry.field, u"English"_s);
        EXPECT_EQ(names.displayName(), entry.displayName);
        EXPECT_EQ(VocabularyFileImport::problemWithNewLanguage(names, vocabularies.path()), entry.problem)
            << entry.field.toStdString();
    }
    EXPECT_EQ(VocabularyFileImport::newLanguageNames(u"Italian"_s, u"English (UK)"_s).your, u"English (UK)_"_s);
}

TEST_F(VocabularyFileImportTest, ANewLanguageIsMarkedForTheNextSynchronisation)
{
    imported->setNeedsSync(false);
    const WordList words = imported->allWords();
    VocabularyFileImport import(imported);
    import.makeNewLanguage({u"Italian"_s, u"English"_s}, false);
    EXPECT_EQ(imported->foreignLanguageName(), u"Italian"_s);
    EXPECT_EQ(imported->yourLanguageName(), u"English"_s);
    EXPECT_TRUE(imported->needsSync());
    EXPECT_EQ(imported->allWords(), words);
    EXPECT_EQ(imported->level5Words().size(), 1);
}

TEST_F(VocabularyFileImportTest, MarkingANewLanguageAsUnknownSetsLevelZeroAndNumbersTheWordsAsOneBatch)
{
    const WordList words = imported->allWords();
    VocabularyFileImport import(imported);
    import.makeNewLanguage({u"Italian"_s, u"English"_s}, true);
    ASSERT_EQ(imported->countAllWords(), 3);
    EXPECT_EQ(imported->level0Words().size(), 3);
    const qint64 base = words[0]->creationID();
    for (qsizetype k = 0; k < 3; ++k) {
        EXPECT_EQ(words[k]->creationID(), base + k);
        EXPECT_EQ(words[k]->weakVocForSort().lock(), imported);
    }
}

TEST_F(VocabularyFileImportTest, JoiningAddsTheWordsNotThereAndMarkingPutsThemAtLevelZero)
{
    for (const bool mark : {false, true}) {
        std::shared_ptr<Lexicarta> target = Lexicarta::create(fakes.services);
        add(*target, u"house"_s, u"maison"_s, 3);
        std::shared_ptr<Lexicarta> file = Lexicarta::create(fakes.services);
        add(*file, u"house"_s, u"maison"_s, 5);
        add(*file, u"dog"_s, u"chien"_s, 4);
        VocabularyFileImport import(file);
        EXPECT_EQ(import.joinInto(*target, mark), (ImportCount{1, 1}));
        ASSERT_EQ(target->countAllWords(), 2);
        EXPECT_EQ(target->findWordEqualTo(QLXWord(u"house"_s, u"maison"_s))->level(), 3u);
        EXPECT_EQ(target->findWordEqualTo(QLXWord(u"dog"_s, u"chien"_s))->level(), mark ? 0u : 4u);
    }
}

} // namespace
} // namespace lexi
