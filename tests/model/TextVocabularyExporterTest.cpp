#include "support/FakeVocabularyServices.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingLogger.h"

#include "logging/QLXLog.h"
#include "model/Lexicarta.h"
#include "model/TextVocabularyExporter.h"
#include "model/TextVocabularyParser.h"
#include "model/VocabularyExport.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>


using namespace Qt::StringLiterals;

namespace {

struct ExportOptions
{
    bool usingComma;
    bool includeComment;
    bool includeDifficulty;
    bool direction;
};

class TextVocabularyExporterTest : public testing::Test
{
protected:
    void SetUp() override
    {
        add(u"dog"_s, u"der \"Hund\""_s, u"big, \"loyal\""_s, 0);
        add(u"a\tb"_s, u"c\r\nd\ne"_s, u"one\ttwo\nthree"_s, 7);
        add(u"cat"_s, u"Katze"_s, QString(), 3);
    }

    void add(const QString &yourWord, const QString &foreignWord, const QString &comment, quint64 level)
    {
        auto word = std::make_shared<QLXWord>(yourWord, foreignWord, comment);
        word->setLevel(level);
        word->setTags({u"pet"_s});
        vocabulary->addWord(word);
    }

    // Writes the text as an export does; whether it was written. A failure's alert is kept.
    bool exportTo(const QString &path, const ExportOptions &options)
    {
        const std::atomic<bool> cancelled = false;
        const lexi::ExportResult result =
            lexi::writeExport(*vocabulary, path, lexi::ExportFormat::text,
                              {options.usingComma, options.includeComment, options.includeDifficulty, options.direction},
                              cancelled);
        failure = result.failure;
        return result.written;
    }

    // The exported text, checked to be UTF-16 little-endian with a byte-order mark.
    QString exported(const ExportOptions &options)
    {
        const QString path = folder.filePath(u"words.csv"_s);
        EXPECT_TRUE(exportTo(path, options));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith("\xff\xfe"));
        QStringDecoder decoder(QStringConverter::Utf16LE);
        return decoder.decode(bytes);
    }

    lexi::test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    QTemporaryDir folder;
    std::optional<lexi::Alert> failure;
};

const QString header = u"#your word, #foreign word, #comment, #difficulty"_s;

struct LayoutCase
{
    const char *name;
    ExportOptions options;
    QString lines;
};

void PrintTo(const LayoutCase &layoutCase, std::ostream *out)
{
    *out << layoutCase.name;
}

class ExportLayoutTest : public TextVocabularyExporterTest, public testing::WithParamInterface<LayoutCase>
{
};

TEST_P(ExportLayoutTest, WritesTheHeaderAndOneLinePerWord)
{
    EXPECT_EQ(exported(GetParam().options), header + u'\n' + GetParam().lines);
    EXPECT_FALSE(failure);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExportLayoutTest,
    testing::Values(
        LayoutCase{"CommaEverythingYourWordFirst",
                   {true, true, true, true},
                   u"\"dog\",\"der Hund\",\"big, \"loyal\"\",\"5\"\n"
                   u"\"a\tb\",\"c d e\",\"one\ttwo three\",\"0\"\n"
                   u"\"cat\",\"Katze\",\"\",\"2\""_s},
        LayoutCase{"CommaSidesForeignWordFirst",
                   {true, false, false, false},
                   u"\"der Hund\",\"dog\"\n\"c d e\",\"a\tb\"\n\"Katze\",\"cat\""_s},
        LayoutCase{"TabEverythingYourWordFirst",
                   {false, true, true, true},
                   u"dog\tder \"Hund\"\tbig, \"loyal\"\t5\na b\tc d e\tone\ttwo three\t0\ncat\tKatze\t\t2"_s},
        LayoutCase{"TabDifficultyForeignWordFirst",
                   {false, false, true, false},
                   u"der \"Hund\"\tdog\t5\nc d e\ta b\t0\nKatze\tcat\t2"_s}),
    [](const testing::TestParamInfo<LayoutCase> &info) { return std::string(info.param.name); });

struct RoundTripCase
{
    const char *name;
    ExportOptions options;
    std::vector<const char *> words; // "your|foreign|comment|tag,tag"
};

void PrintTo(const RoundTripCase &roundTripCase, std::ostream *out)
{
    *out << roundTripCase.name;
}

class RoundTripTest : public TextVocabularyExporterTest, public testing::WithParamInterface<RoundTripCase>
{
};

TEST_P(RoundTripTest, ReadingAnExportBackGivesTheWords)
{
    const QString path = folder.filePath(u"words.txt"_s);
    ASSERT_TRUE(exportTo(path, GetParam().options));
    QStringList words;
    for (const auto &word : lexi::TextVocabularyParser().wordsFromCSVFile(path, false).words)
        words.append(word->yourWord() + u'|' + word->foreignWord() + u'|' + word->comment() + u'|'
                     + word->tags().join(u','));
    QStringList expected;
    for (const char *word : GetParam().words)
        expected.append(QString::fromUtf8(word));
    EXPECT_EQ(words, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RoundTripTest,
    testing::Values(
        // Quotes of the sides are lost; the difficulty comes back as a tag.
        RoundTripCase{"CommaEverything",
                      {true, true, true, true},
                      {"dog|der Hund|big, \"loyal\"|5", "a\tb|c d e|one\ttwo three|0", "cat|Katze||2"}},
        RoundTripCase{"CommaDifficultyBecomesTheComment",
                      {true, false, true, true},
                      {"dog|der Hund|5|", "a\tb|c d e|0|", "cat|Katze|2|"}},
        RoundTripCase{"CommaSides", {true, false, false, true}, {"dog|der Hund||", "a\tb|c d e||", "cat|Katze||"}},
        // A tab in a comment splits it into the comment and tags.
        RoundTripCase{"TabEverything",
                      {false, true, true, true},
                      {"dog|der \"Hund\"|big, \"loyal\"|5", "a b|c d e|one|two three,0", "cat|Katze||2"}},
        RoundTripCase{"TabSidesForeignWordFirst",
                      {false, false, false, false},
                      {"der \"Hund\"|dog||", "c d e|a b||", "Katze|cat||"}}),
    [](const testing::TestParamInfo<RoundTripCase> &info) { return std::string(info.param.name); });

TEST_F(TextVocabularyExporterTest, AnEmptyVocabularyIsTheHeaderAloneAndReadsAsNoWords)
{
    vocabulary->setAllWords({});
    for (const bool usingComma : {true, false}) {
        EXPECT_EQ(exported({usingComma, true, true, true}), header);
        EXPECT_TRUE(lexi::TextVocabularyParser().wordsFromCSVFile(folder.filePath(u"words.csv"_s), false).words.isEmpty());
    }
}

TEST_F(TextVocabularyExporterTest, ReplacesAnExistingFileWithoutLeavingATemporaryOne)
{
    const QString path = folder.filePath(u"words.csv"_s);
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
    old.close();
    EXPECT_TRUE(exported({true, false, false, true}).startsWith(header));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"words.csv"_s});
}

TEST_F(TextVocabularyExporterTest, AFailedWriteIsToldLoggedAndLeavesTheFolderAlone)
{
    auto logger = std::make_shared<RecordingLogger>();
    QLXLog::addLogger(logger);
    const QString missingFolder = folder.filePath(u"missing/words.csv"_s);
    const QString aFolder = folder.filePath(u"folder"_s);
    ASSERT_TRUE(QDir().mkdir(aFolder));

    for (const QString &path : {missingFolder, aFolder}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(exportTo(path, {true, true, true, true}));
        ASSERT_TRUE(failure);
        const lexi::Alert &alert = *failure;
        EXPECT_EQ(alert.title, u"Error"_s);
        EXPECT_TRUE(alert.message.startsWith(u"The vocabulary could not be exported to '%1'. ("_s.arg(path)));
        EXPECT_EQ(alert.buttons, QStringList{u"OK"_s});
        EXPECT_TRUE(logger->texts().last().startsWith(u"exporter > writing %1 failed: "_s.arg(path)));
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{u"folder"_s});
    EXPECT_TRUE(QDir(aFolder).isEmpty());
    QLXLog::removeAllLoggers();
}

TEST_F(TextVocabularyExporterTest, AWriteCutShortLeavesThePreviousFile)
{
    const QString path = folder.filePath(u"words.csv"_s);
    ASSERT_TRUE(exportTo(path, {true, true, true, true}));
    QFile previous(path);
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    const QByteArray before = previous.readAll();
    previous.close();
    // A few words more: the new text still fits in one write buffer, so it goes out only on commit.
    for (int i = 0; i < 30; ++i)
        vocabulary->addWord(std::make_shared<QLXWord>(u"word %1"_s.arg(i), u"mot %1"_s.arg(i)));

    // Files may not grow beyond what is there: writing the longer export fails half-way.
    bool exported = false;
    {
        lexi::test::FileSizeLimit limit(rlim_t(before.size()));
        exported = exportTo(path, {true, true, true, true});
    }

    EXPECT_FALSE(exported);
    EXPECT_TRUE(failure);
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"words.csv"_s});
}

} // namespace
