#include "support/FakeVocabularyServices.h"

#include "model/Lexicarta.h"
#include "model/TextImport.h"
#include "platform/dispatch/WorkProgress.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lexi {
namespace {

using namespace Qt::StringLiterals;

// A text file in a temporary folder and a vocabulary to import it into.
class TextImportTest : public testing::Test
{
protected:
    QString write(const QByteArray &contents)
    {
        const QString path = folder.filePath(u"words.csv"_s);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        return path;
    }

    // "your i,foreign i" for i in [first, first + count).
    static QByteArray lines(int first, int count)
    {
        QByteArray text;
        for (int i = first; i < first + count; ++i)
            text += "your " + QByteArray::number(i) + ",foreign " + QByteArray::number(i) + "\n";
        return text;
    }

    void addToVocabulary(int first, int count)
    {
        for (int i = first; i < first + count; ++i)
            vocabulary->addWord(std::make_shared<QLXWord>(u"your %1"_s.arg(i), u"foreign %1"_s.arg(i)));
    }

    test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    QTemporaryDir folder;
};

TEST_F(TextImportTest, AFileWhoseWordsAreAllThereAddsNothingAndNumbersNothing)
{
    addToVocabulary(0, 5);
    const WordList before = vocabulary->allWords();
    TextImport import = TextImport::read(write(lines(0, 5)), false);
    ASSERT_EQ(import.words().size(), 5);

    EXPECT_EQ(import.addNewWordsTo(*vocabulary), (ImportCount{0, 5}));
    EXPECT_EQ(vocabulary->allWords(), before);
    for (const std::shared_ptr<QLXWord> &word : import.words())
        EXPECT_EQ(word->creationID(), 0);
}

TEST_F(TextImportTest, TheNewWordsAreNumberedInOrderFromOneBaseAndDuplicatesInTheFileStay)
{
    addToVocabulary(0, 10);
    // 150 words, the ten the vocabulary has among them, and one of the new ones twice.
    TextImport import = TextImport::read(write(lines(0, 149) + lines(140, 1)), false);
    ASSERT_EQ(import.words().size(), 150);

    EXPECT_EQ(import.addNewWordsTo(*vocabulary), (ImportCount{140, 10}));
    ASSERT_EQ(vocabulary->countAllWords(), 150);
    const WordList added = import.words().sliced(10);
    const qint64 base = added.first()->creationID();
    QSet<qint64> identifiers;
    for (qsizetype k = 0; k < added.size(); ++k) {
        EXPECT_EQ(added[k]->creationID(), base + k);
        EXPECT_EQ(added[k]->weakVocForSort().lock(), vocabulary);
        identifiers.insert(added[k]->creationID());
    }
    EXPECT_EQ(added.last()->yourWord(), u"your 140"_s);
    for (const std::shared_ptr<QLXWord> &word : import.words().sliced(0, 10))
        EXPECT_EQ(word->creationID(), 0) << "a word that is there is not numbered";
    for (const std::shared_ptr<QLXWord> &word : vocabulary->allWords()) {
        if (!added.contains(word)) {
            EXPECT_FALSE(identifiers.contains(word->creationID()));
        }
    }
}

TEST_F(TextImportTest, ThePreviewShowsTheFirstThreeWordsOfEachSide)
{
    const struct
    {
        QByteArray text;
        QString foreign;
        QString your;
    } cases[] = {
        {"dog,Hund\ncat,Katze\n", u"Hund\nKatze\n..."_s, u"dog\ncat\n..."_s},
        {"a,1\nb,2\nc,3\nd,4\n", u"1\n2\n3\n..."_s, u"a\nb\nc\n..."_s},
        {"", u"..."_s, u"..."_s},
    };
    for (const auto &entry : cases) {
        const TextImport import = TextImport::read(write(entry.text), false);
        EXPECT_EQ(import.foreignPreview(), entry.foreign) << entry.text.toStdString();
        EXPECT_EQ(import.yourPreview(), entry.your) << entry.text.toStdString();
    }
}

TEST_F(TextImportTest, TheOtherDirectionSwapsTheSidesOfTheWordsReadAndBackRestoresThem)
{
    const QString path = write("dog@hound,Hund,pet,animal\ncat,Katze\n");
    TextImport import = TextImport::read(path, false);
    const WordList read = import.words();
    ASSERT_EQ(read.size(), 3);

    // The file is gone: the other direction comes from the words read.
    ASSERT_TRUE(QFile::remove(path));
    import.setInvertDirection(true);
    EXPECT_TRUE(import.invertDirection());
    EXPECT_EQ(import.words(), read);
    EXPECT_EQ(import.foreignPreview(), u"dog\nhound\ncat\n..."_s);
    EXPECT_EQ(import.yourPreview(), u"Hund\nHund\nKatze\n..."_s);
    EXPECT_EQ(import.words()[1]->tags(), (QStringList{u"animal"_s}));

    import.setInvertDirection(true);
    EXPECT_EQ(import.foreignPreview(), u"dog\nhound\ncat\n..."_s) << "the same choice again changes nothing";
    import.setInvertDirection(false);
    EXPECT_EQ(import.foreignPreview(), u"Hund\nHund\nKatze\n..."_s);
    EXPECT_EQ(import.words()[0]->yourWord(), u"dog"_s);
}

// Reading tells how far into the file its words have come, for the bar of the busy sheet.
TEST_F(TextImportTest, ReadingTellsHowFarItHasCome)
{
    const QString path = write(lines(0, 5000));
    WorkProgress progress;
    EXPECT_EQ(TextImport::read(path, false, &progress).words().size(), 5000);
    ASSERT_TRUE(progress.permille());
    EXPECT_GE(*progress.permille(), 800);
    EXPECT_LE(*progress.permille(), 1000);
}

TEST_F(TextImportTest, AFileThatIsNoTextGivesTheReasonAndNoWords)
{
    const TextImport import = TextImport::read(write(QByteArray("PNG\0\x01\x02,dog", 11)), false);
    EXPECT_TRUE(import.failure());
    EXPECT_TRUE(import.words().isEmpty());
}

} // namespace
} // namespace lexi
