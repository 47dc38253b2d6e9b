#include "support/AddressSpaceLimit.h"
#include "support/ConsoleCapture.h"
#include "support/NonRegularFiles.h"
#include "support/RecordingLogger.h"

#include "logging/QLXLog.h"
#include "model/TextVocabularyParser.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace Qt::StringLiterals;
using lexi::TextVocabularyParser;

namespace {

// "your|foreign|comment|tag,tag"
QString described(const QLXWord &word)
{
    return word.yourWord() + u'|' + word.foreignWord() + u'|' + word.comment() + u'|' + word.tags().join(u',');
}

QStringList described(const lexi::WordList &words)
{
    QStringList texts;
    for (const auto &word : words)
        texts.append(described(*word));
    return texts;
}

class TextVocabularyParserTest : public testing::Test
{
protected:
    void SetUp() override { QLXLog::addLogger(logger); }
    void TearDown() override { QLXLog::removeAllLoggers(); }

    // A file that gives no words, and why: the reason is also the error logged.
    QString failure(const QString &path)
    {
        const TextVocabularyParser::Result result = parser.wordsFromCSVFile(path, false);
        EXPECT_TRUE(result.words.isEmpty());
        const QString reason = result.failure.value_or(u"(none)"_s);
        EXPECT_EQ(logger->texts().value(logger->texts().size() - 1), u"StorageM > wordsFromCSVFile > "_s + reason);
        return reason;
    }

    QString write(const QByteArray &bytes)
    {
        const QString path = folder.filePath(u"words.csv"_s);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    // The words of a file that can be read.
    QStringList read(const QByteArray &bytes, bool invertDirection = false)
    {
        const TextVocabularyParser::Result result = parser.wordsFromCSVFile(write(bytes), invertDirection);
        EXPECT_EQ(result.failure, std::nullopt);
        return described(result.words);
    }

    QTemporaryDir folder;
    TextVocabularyParser parser;
    lexi::test::ConsoleCapture console;
    std::shared_ptr<RecordingLogger> logger = std::make_shared<RecordingLogger>();
};

struct TextCase
{
    const char *name;
    const char *text; // UTF-8
    char16_t delimiter;
    char16_t quote; // 0 for none
    std::vector<const char *> words;
};

void PrintTo(const TextCase &textCase, std::ostream *out)
{
    *out << textCase.name;
}

class TextFileTest : public TextVocabularyParserTest, public testing::WithParamInterface<TextCase>
{
};

TEST_P(TextFileTest, DetectsDelimiterAndQuoteAndReadsTheWords)
{
    const TextCase &textCase = GetParam();
    QStringList expected;
    for (const char *word : textCase.words)
        expected.append(QString::fromUtf8(word));
    EXPECT_EQ(read(textCase.text), expected);
    EXPECT_EQ(parser.csvDelimiter(), QChar(textCase.delimiter));
    EXPECT_EQ(parser.csvQuotation(), textCase.quote ? std::optional<QChar>(textCase.quote) : std::nullopt);
    EXPECT_TRUE(logger->texts().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextFileTest,
    testing::Values(
        TextCase{"Commas", "dog,Hund\ncat,Katze", u',', 0, {"dog|Hund||", "cat|Katze||"}},
        TextCase{"CrLfLineEnds", "dog,Hund\r\ncat,Katze\r\n", u',', 0, {"dog|Hund||", "cat|Katze||"}},
        TextCase{"CrLineEnds", "dog,Hund\rcat,Katze\r", u',', 0, {"dog|Hund||", "cat|Katze||"}},
        TextCase{"OneTabALine", "dog\tHund\ncat\tKatze\nhouse\tHaus", u'\t', 0,
                 {"dog|Hund||", "cat|Katze||", "house|Haus||"}},
        TextCase{"TabsTiedWithSemicolonsKeepTheComma", "dog\tHund;Rüde\ncat\tKatze;Kater", u',', 0, {}},
        TextCase{"Semicolons", "dog;Hund;a pet\ncat;Katze", u';', 0, {"dog|Hund|a pet|", "cat|Katze||"}},
        TextCase{"CommasOutnumberSemicolons", "dog,Hund;Rüde\ncat,Katze", u',', 0,
                 {"dog|Hund;Rüde||", "cat|Katze||"}},
        TextCase{"EveryFieldQuoted", "\"dog\",\"Hund\",\"big, loyal\"\n\"cat\",\"Katze\"", u',', u'"',
                 {"dog|Hund|big, loyal|", "cat|Katze||"}},
        TextCase{"QuotesOnlyWhereNeeded", "dog,Hund,\"big, loyal\"\ncat,Katze,\"small, proud\"", u',', u'"',
                 {"dog|Hund|big, loyal|", "cat|Katze|small, proud|"}},
        TextCase{"FewerQuotesThanLinesAreText", "a,\"b\nc,d\"\ne,f\ng,\"h", u',', 0,
                 {"a|\"b||", "c|d\"||", "e|f||", "g|\"h||"}},
        TextCase{"DoubledQuotes", "\"say \"\"hi\"\"\",\"sag \"\"hallo\"\"\"", u',', u'"',
                 {"say \"hi\"|sag \"hallo\"||"}},
        TextCase{"LineBreakInAQuotedField", "\"dog\",\"Hund\",\"first line\nsecond line\"\n\"cat\",\"Katze\"", u',',
                 u'"', {"dog|Hund|first line\nsecond line|", "cat|Katze||"}},
        TextCase{"AFieldThatDoesNotCloseIsReadUnquoted",
                 "\"dog\",\"Hund\n\"cat\",\"Katze\"\n\"house,Haus\n\"a\",\"b\"", u',', u'"',
                 {"dog|\"Hund||", "cat|Katze||", "\"house|Haus||", "a|b||"}},
        TextCase{"QuotesInsideAQuotedField", "\"dog\",\"Hund\",\"he said \"woof\"\"", u',', u'"',
                 {"dog|Hund|he said \"woof\"|"}},
        TextCase{"RunsOfDelimitersAreEmptyFields", "\"dog\",\"Hund\",,,\"pet\"\ndog,Hund,,pet", u',', u'"',
                 {"dog|Hund||pet", "dog|Hund||pet"}},
        TextCase{"ApostrophesInUnquotedFields", "l'homme,man\nl'eau,water", u',', 0,
                 {"l'homme|man||", "l'eau|water||"}},
        TextCase{"AFieldStartingWithAnApostrophe", "'cause\tweil\n'til\tbis\nl'eau\tdas Wasser", u'\t', 0,
                 {"'cause|weil||", "'til|bis||", "l'eau|das Wasser||"}},
        TextCase{"AFieldStartingWithAQuotedWord", "\"Big\" Ben\tBig Ben\n\"Hi\" there\tHallo", u'\t', 0,
                 {"\"Big\" Ben|Big Ben||", "\"Hi\" there|Hallo||"}},
        TextCase{"OneQuotedCellInACommaFile",
                 "apple,Apfel,\"fruit, red\"\npear,Birne,fruit\nplum,Pflaume,stone fruit\ncherry,Kirsche,small", u',',
                 u'"', {"apple|Apfel|fruit, red|", "pear|Birne|fruit|", "plum|Pflaume|stone fruit|", "cherry|Kirsche|small|"}},
        TextCase{"OneQuotedCellInASemicolonFile", "Hund;dog;\"bellt; beißt nicht\"\nKatze;cat;miaut\nMaus;mouse;piepst",
                 u';', u'"', {"Hund|dog|bellt; beißt nicht|", "Katze|cat|miaut|", "Maus|mouse|piepst|"}},
        TextCase{"TabsAgainstMoreCommasInComments", "dog\tHund\tbig, loyal, barks, wags, sheds\ncat\tKatze\tsmall, sly",
                 u'\t', 0, {"dog|Hund|big, loyal, barks, wags, sheds|", "cat|Katze|small, sly|"}},
        TextCase{"OwnTabExportWithMoreCommasThanTabs",
                 "#your word, #foreign word, #comment, #difficulty\ndog\tHund\tbig, loyal, barks, wags\t5\n"
                 "cat\t\"Katze\"\tsmall, proud, sly\t4",
                 u'\t', 0, {"dog|Hund|big, loyal, barks, wags|5", "cat|\"Katze\"|small, proud, sly|4"}},
        TextCase{"OwnCommaExportWithQuotesAndCommasInComments",
                 "#your word, #foreign word, #comment, #difficulty\n\"dog\",\"Hund\",\"he said \"woof\", loud\",\"5\"\n"
                 "\"cat\",\"Katze\",\"a, \"b\" \",\"4\"",
                 u',', u'"', {"dog|Hund|he said \"woof\", loud|5", "cat|Katze|a, \"b\" |4"}},
        TextCase{"SingleQuotes", "'dog','Hund'\n'cat','Katze'", u',', u'\'', {"dog|Hund||", "cat|Katze||"}},
        TextCase{"Alternatives", "dog @ hound,Hund\na@b,c@d\n@cat,Katze\nmouse@ ,Maus\nbird@  ,Vogel", u',', 0,
                 {"dog|Hund||", "hound|Hund||", "a|c||", "a|d||", "b|c||", "b|d||", "cat|Katze||", "mouse|Maus||",
                  "bird|Vogel||", "|Vogel||"}},
        TextCase{"TagsFromFurtherColumns", "dog\tHund\ta pet\tanimals, mammals\t \thome,animals\ncat@kitten\tKatze\t\tpets",
                 u'\t', 0, {"dog|Hund|a pet|animals,mammals,home", "cat|Katze||pets", "kitten|Katze||pets"}},
        TextCase{"SidesTrimmedCommentKept", " dog ,\tHund , a pet ", u',', 0, {"dog|Hund| a pet |"}},
        TextCase{"EmptyLinesAndShortRows", "dog,Hund\n\nlonely\n,\n \t \ncat,Katze\n", u',', 0,
                 {"dog|Hund||", "cat|Katze||"}},
        TextCase{"TheExportersHeaderLineAlone", "#your word, #foreign word, #comment, #difficulty", u',', 0, {}},
        TextCase{"Nothing", "", u',', 0, {}}),
    [](const testing::TestParamInfo<TextCase> &info) { return std::string(info.param.name); });

TEST_F(TextVocabularyParserTest, InvertingSwapsTheFirstTwoColumns)
{
    EXPECT_EQ(read("dog@hound,Hund,a pet,animals", true),
              (QStringList{u"Hund|dog|a pet|animals"_s, u"Hund|hound|a pet|animals"_s}));
}

TEST_F(TextVocabularyParserTest, WritesTheCountsAndTheChoiceToTheConsole)
{
    read("\"dog\",\"Hund\"\n'cat'\t\"Katze\"");
    EXPECT_EQ(console.lines(),
              QStringList{u"finding DElimiters in 2 lines:\n \" 6   ' 2   t 1ld   , 1\nchosen: \" ,"_s});
    read("dog\tHund");
    EXPECT_EQ(console.lines().last(), u"finding DElimiters in 1 lines:\n \" 0   ' 0   t 1ld   , 0\nchosen: (null) \t"_s);
}

TEST_F(TextVocabularyParserTest, ReadsUtf8AndByteOrderMarkedUnicode)
{
    const QString text = u"Grüße,greetings\n\"Straße\",street"_s;
    const QStringList expected = {u"Grüße|greetings||"_s, u"Straße|street||"_s};
    for (const auto encoding : {QStringConverter::Utf8, QStringConverter::Utf16LE, QStringConverter::Utf16BE,
                                QStringConverter::Utf32LE}) {
        SCOPED_TRACE(QStringConverter::nameForEncoding(encoding));
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        EXPECT_EQ(read(encoder.encode(text)), expected);
    }
    EXPECT_EQ(read(text.toUtf8()), expected);
}

TEST_F(TextVocabularyParserTest, TextThatIsNotUnicodeIsRefusedWithAnError)
{
    const struct
    {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"Latin-1", QByteArray("dog,Hund\ncat,K\xe4tze")},
        {"UTF-8 with a mark, cut in a character", QByteArray("\xef\xbb\xbf" "dog,Hund\xc3")},
        {"UTF-16 without a mark", QByteArray("d\0o\0g\0,\0H\0u\0n\0d\0", 16)},
        {"UTF-16 of an odd length", QByteArray("\xff\xfe" "d\0,\0H", 7)},
        {"NUL bytes in UTF-8", QByteArray("dog,Hund\0\ncat,Katze", 19)},
    };
    for (const auto &textCase : cases) {
        SCOPED_TRACE(textCase.name);
        EXPECT_EQ(failure(write(textCase.bytes)),
                  u"%1 is no UTF-8 text, nor UTF-16 or UTF-32 with a byte-order mark"_s.arg(folder.filePath(u"words.csv"_s)));
    }
}

TEST_F(TextVocabularyParserTest, AMissingFileIsAnErrorAndEmpty)
{
    const QString path = folder.filePath(u"missing.csv"_s);
    EXPECT_TRUE(failure(path).startsWith(u"can't open "_s + path));
    EXPECT_EQ(logger->texts().size(), 1);
}

TEST_F(TextVocabularyParserTest, FilesLargerThanTheLimitAreRefused)
{
    const QString path = write("dog,Hund\n");
    QFile file(path);
    ASSERT_TRUE(file.resize(TextVocabularyParser::maximumFileSize + 1));
    EXPECT_EQ(failure(path), u"%1 is larger than 67108864 bytes"_s.arg(path));
}

TEST_F(TextVocabularyParserTest, ALinkToAnEndlessFileOfProcIsReadOnlyToTheBound)
{
    const QString path = folder.filePath(u"pagemap.csv"_s);
    ASSERT_TRUE(QFile::link(u"/proc/self/pagemap"_s, path));
    QString reason;
    {
        const lexi::test::AddressSpaceLimit limit(std::size_t(512) << 20);
        reason = failure(path);
    }
    EXPECT_EQ(reason, u"%1 is larger than 67108864 bytes"_s.arg(path));
}

TEST_F(TextVocabularyParserTest, WhatIsNoRegularFileIsRefusedAtOnce)
{
    const lexi::test::NonRegularFiles files(folder.path(), u"csv"_s);
    for (const auto &entry : files.entries()) {
        SCOPED_TRACE(entry.kind);
        QString reason;
        EXPECT_TRUE(files.endsWithoutWriter([&] { reason = failure(entry.path); }));
        EXPECT_EQ(reason, u"can't open %1: not a regular file"_s.arg(entry.path));
    }
}

TEST_F(TextVocabularyParserTest, TenMegabyteLinesAreReadWhole)
{
    const qsizetype size = 10 * 1024 * 1024;
    const QByteArray comment(size, 'x');
    const auto words = parser.wordsFromCSVFile(write("\"dog\",\"Hund\",\"" + comment + "\"\n\"cat\",\"Katze\""), false).words;
    ASSERT_EQ(words.size(), 2);
    EXPECT_EQ(words[0]->comment(), QString::fromLatin1(comment));
    EXPECT_EQ(described(*words[1]), u"cat|Katze||"_s);

    // A field for every two characters: one word, whose tags are all empty.
    EXPECT_EQ(read(QByteArray("\",").repeated(size / 2)), QStringList{u",|,|,|"_s});
    // Quotes that are neither doubled nor followed by a delimiter keep the line one field.
    EXPECT_TRUE(read("\"" + QByteArray("a\"").repeated(size / 2)).isEmpty());
    EXPECT_TRUE(read(QByteArray(size, 'x')).isEmpty());
    EXPECT_TRUE(logger->texts().isEmpty());
}

TEST_F(TextVocabularyParserTest, AlternativesMultiplyingBeyondTheLimitAreRefused)
{
    // 2000 alternatives of each side would make 4,000,000 words.
    const QByteArray side = QByteArray("a@").repeated(2000);
    const QString path = write("dog,Hund\n" + side + ',' + side);
    EXPECT_EQ(failure(path), u"%1 gives more than 500000 words"_s.arg(path));
    EXPECT_EQ(logger->texts().size(), 1);

    // Up to the limit they are words.
    const QByteArray yours = QByteArray("a@").repeated(1000);
    const QByteArray foreign = QByteArray("b@").repeated(500);
    EXPECT_EQ(parser.wordsFromCSVFile(write(yours + ',' + foreign), false).words.size(), 500'000);
}

// One line of 700 alternatives a side gives 490,000 words, which share the line's tags. Within
// the bound they are read in a few hundred megabytes; beyond it nothing is made.
TEST_F(TextVocabularyParserTest, TheWordsOfALineShareItsTagsAndTheirTagsAreBounded)
{
    const struct
    {
        int tagColumns;
        std::optional<const char *> failure;
    } cases[] = {
        {20, std::nullopt},
        {21, "gives more than 10000000 tags on its words in all"},
        {1000, "gives more than 10000000 tags on its words in all"},
    };
    QByteArray yours;
    QByteArray foreign;
    for (int i = 0; i < 700; ++i) {
        yours += "y" + QByteArray::number(i) + '@';
        foreign += "f" + QByteArray::number(i) + '@';
    }
    for (const auto &c : cases) {
        SCOPED_TRACE(c.tagColumns);
        QByteArray line = yours + '\t' + foreign + "\tcomment";
        for (int tag = 0; tag < c.tagColumns; ++tag)
            line += "\ttag" + QByteArray::number(tag);
        const QString path = write(line);
        std::optional<TextVocabularyParser::Result> result;
        {
            const lexi::test::AddressSpaceLimit limit(std::size_t(512) << 20);
            result = parser.wordsFromCSVFile(path, false);
        }
        EXPECT_EQ(result->failure, c.failure ? std::optional(path + u' ' + QString::fromUtf8(*c.failure)) : std::nullopt);
        if (c.failure) {
            EXPECT_TRUE(result->words.isEmpty());
            continue;
        }
        ASSERT_EQ(result->words.size(), 490000);
        EXPECT_EQ(described(*result->words.last()), u"y699|f699|comment|"_s + result->words.first()->tags().join(u','));
        EXPECT_EQ(result->words.last()->tags().size(), c.tagColumns);
    }
}

} // namespace
