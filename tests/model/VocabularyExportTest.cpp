#include "QLXStorageManagerFixture.h"

#include "model/ExportCopy.h"
#include "model/TextVocabularyParser.h"
#include "model/VocabularyExport.h"
#include "platform/dispatch/WorkProgress.h"

#include <QProcess>
#include <QStandardPaths>

namespace lexi {
namespace {

using namespace Qt::StringLiterals;
using test::QLXStorageManagerTest;

// Writing exports, read back by the program's readers and by others, and where an export may go.
class VocabularyExportTest : public QLXStorageManagerTest
{
protected:
    VocabularyExportTest()
    {
        // "house" / "maison" at level 2 comes from the fixture.
        addWord(u"the dog"_s, u"le chien"_s, 4)->setTags({u"pets"_s, u"animals"_s});
        addWord(u"café, black"_s, u"café noir"_s, 0)->setComment(u"strong, hot"_s);
    }

    ExportResult write(const QString &path, ExportFormat format, const TextExportOptions &options = {})
    {
        return writeExport(*vocabulary, path, format, options, notCancelled);
    }

    // What a shell command line prints.
    static QByteArray runShell(const QString &script, const QStringList &arguments)
    {
        QProcess process;
        process.start(u"sh"_s, QStringList{u"-c"_s, script, u"sh"_s} + arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return process.readAllStandardOutput();
    }

    const std::atomic<bool> notCancelled = false;
};

TEST_F(VocabularyExportTest, EachFormatIsReadBackByTheProgramAsItWasWritten)
{
    const QString own = elsewhere(u"French.qlxv"_s);
    const QString archive = elsewhere(u"French.tbf"_s);
    ASSERT_TRUE(write(own, ExportFormat::ownFormat).written);
    ASSERT_TRUE(write(archive, ExportFormat::olderArchive).written);
    for (const auto &loaded : {store.vocabularyFromQLXVFile(own), store.vocabularyFromTBFFile(archive)}) {
        ASSERT_TRUE(loaded);
        ASSERT_EQ(loaded->countAllWords(), 3);
        for (const std::shared_ptr<QLXWord> &word : vocabulary->allWords())
            EXPECT_TRUE(loaded->findWordEqualTo(*word)->isAllPropertiesEqual(*word)) << word->yourWord().toStdString();
    }

    const QString text = elsewhere(u"French.csv"_s);
    ASSERT_TRUE(write(text, ExportFormat::text, {true, true, false, true}).written);
    const WordList words = TextVocabularyParser().wordsFromCSVFile(text, false).words;
    ASSERT_EQ(words.size(), 3);
    EXPECT_EQ(words[2]->yourWord(), u"café, black"_s);
    EXPECT_EQ(words[2]->comment(), u"strong, hot"_s);
    EXPECT_TRUE(fakes.alerts.alerts.isEmpty());
}

TEST_F(VocabularyExportTest, TheOwnFormatIsBzip2AndJsonForOtherPrograms)
{
    const QString path = elsewhere(u"French.qlxv"_s);
    ASSERT_TRUE(write(path, ExportFormat::ownFormat).written);
    const QByteArray printed = runShell(
        u"bzip2 -dc \"$1\" | python3 -c '\n"
        "import json, sys\n"
        "document = json.load(sys.stdin)\n"
        "print(document[\"foreignLanguageName\"], len(document[\"statistics\"][\"dailySnapshots\"]))\n"
        "for key in (\"unknownWords\", \"shortTermWords\", \"longTermWords\"):\n"
        "    for word in document[key][\"words\"]:\n"
        "        print(key, word[\"yw\"], \"=\", word[\"fw\"], \"/\".join(word.get(\"t\", [])))\n"
        "'"_s,
        {path});
    EXPECT_EQ(QString::fromUtf8(printed), u"French 1\n"
                                          "unknownWords café, black = café noir \n"
                                          "shortTermWords house = maison \n"
                                          "longTermWords the dog = le chien pets/animals\n"_s);
}

TEST_F(VocabularyExportTest, TheTextFormsAreUtf16WithTheirHeaderForACsvReader)
{
    const QString script = u"python3 -c '\n"
                           "import csv, sys\n"
                           "raw = open(sys.argv[1], \"rb\").read()\n"
                           "assert raw.startswith(b\"\\xff\\xfe\"), raw[:2]\n"
                           "delimiter = \",\" if sys.argv[2] == \"comma\" else \"\\t\"\n"
                           "with open(sys.argv[1], encoding=\"utf-16\", newline=\"\") as text:\n"
                           "    for row in csv.reader(text, delimiter=delimiter):\n"
                           "        print(\"|\".join(row))\n"
                           "' \"$1\" \"$2\""_s;
    const QString comma = elsewhere(u"comma.csv"_s);
    ASSERT_TRUE(write(comma, ExportFormat::text, {true, true, true, false}).written);
    EXPECT_EQ(QString::fromUtf8(runShell(script, {comma, u"comma"_s})),
              u"#your word| #foreign word| #comment| #difficulty\n"
              "maison|house||3\n"
              "le chien|the dog||1\n"
              "café noir|café, black|strong, hot|5\n"_s);

    const QString tabs = elsewhere(u"tabs.txt"_s);
    ASSERT_TRUE(write(tabs, ExportFormat::text, {false, false, false, true}).written);
    EXPECT_EQ(QString::fromUtf8(runShell(script, {tabs, u"tab"_s})),
              u"#your word, #foreign word, #comment, #difficulty\n"
              "house|maison\n"
              "the dog|le chien\n"
              "café, black|café noir\n"_s);
}

// The text form tells how many of its words are written; the other forms cannot tell.
TEST_F(VocabularyExportTest, TheTextFormTellsHowFarItHasCome)
{
    for (int i = 0; i < 2100; ++i)
        addWord(u"your %1"_s.arg(i), u"foreign %1"_s.arg(i), 1);
    WorkProgress text;
    EXPECT_TRUE(writeExport(*vocabulary, elsewhere(u"French.csv"_s), ExportFormat::text, {}, notCancelled, &text).written);
    ASSERT_TRUE(text.permille());
    EXPECT_GE(*text.permille(), 600);
    WorkProgress own;
    EXPECT_TRUE(writeExport(*vocabulary, elsewhere(u"French.qlxv"_s), ExportFormat::ownFormat, {}, notCancelled, &own).written);
    EXPECT_FALSE(own.permille());
}

TEST_F(VocabularyExportTest, ACancelledExportLeavesTheFileAsItWas)
{
    const QString path = elsewhere(u"French.csv"_s);
    writeFile(path, "before");
    const std::atomic<bool> cancelled = true;
    for (const ExportFormat format : {ExportFormat::ownFormat, ExportFormat::olderArchive, ExportFormat::text}) {
        const ExportResult result = writeExport(*vocabulary, path, format, {}, cancelled);
        EXPECT_FALSE(result.written);
        EXPECT_FALSE(result.failure);
    }
    EXPECT_EQ(readFile(path), "before");
}

TEST_F(VocabularyExportTest, TheProgramsOwnFoldersAreNoPlaceForAnExport)
{
    ASSERT_TRUE(QFile::link(vocabularyFolder(), elsewhere(u"link"_s)));
    ASSERT_TRUE(QDir().mkpath(vocabularyFolder() + u"/inner"_s));
    const struct
    {
        QString path;
        bool refused;
    } cases[] = {
        {vocabularyFolder() + u"/French - English.qlxv"_s, true},
        {vocabularyFolder() + u"/inner/words.csv"_s, true},
        {vocabularyFolder() + u"/../Vocabularies/words.csv"_s, true},
        {elsewhere(u"link/words.csv"_s), true},
        {backupFolder() + u"/French.tbf"_s, true},
        {folders.downloadFolderPath() + u"/French.qlxv"_s, true},
        {folders.applicationSupportFolder() + u"/Vocabularies words.csv"_s, false},
        {elsewhere(u"French.qlxv"_s), false},
        {elsewhere(u"Vocabularies/French.qlxv"_s), false},
    };
    for (const auto &entry : cases)
        EXPECT_EQ(isInProgramFolders(entry.path, folders), entry.refused) << entry.path.toStdString();
}

} // namespace
} // namespace lexi
