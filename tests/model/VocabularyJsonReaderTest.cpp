#include "support/FakeVocabularyServices.h"

#include "model/Lexicarta.h"
#include "model/VocabularyJsonReader.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Outcome = lexi::VocabularyJsonReader::Outcome;

namespace {

// More words and daily snapshots than any document of these tests holds.
constexpr qsizetype noLimit = 1000;

class VocabularyJsonReaderTest : public testing::Test
{
protected:
    // What the document tree makes of the text: nothing when it is no vocabulary's document.
    std::shared_ptr<Lexicarta> throughDocumentTree(const QByteArray &json)
    {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(json, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject()
            || !Lexicarta::isVocabularyDocument(document.object()))
            return nullptr;
        return Lexicarta::initWithDictionary(document.object(), fakes.services);
    }

    lexi::VocabularyJsonReader::Result inPieces(const QByteArray &json, qsizetype pieceSize)
    {
        qsizetype position = 0;
        return lexi::VocabularyJsonReader::read(
            [&] {
                const QByteArray piece = json.mid(position, pieceSize);
                position += piece.size();
                return piece;
            },
            fakes.services, noLimit);
    }

    lexi::test::FakeVocabularyServices fakes;
};

TEST_F(VocabularyJsonReaderTest, ReadsWhatTheDocumentTreeReadsByTheSameRules)
{
    const QByteArray documents[] = {
        // Every key, the words of every level with every value.
        R"({"language": "Latin", "foreignLanguageName": "Greek", "yourLanguageName": "English",
            "unknownWords": {"words": [{"yw": "house", "fw": "oikos", "c": "a comment", "daa": true,
                "la": 1400000000, "t": ["b", "a", "b"], "mid": 7, "cid": 3, "wc": 2, "l": 5}]},
            "ultraShortTermWords": {"words": [{"yw": "sea", "fw": "thalassa"}]},
            "shortTermWords": {"words": []}, "midTermWords": {"words": [{"fw": "only foreign"}]},
            "longTermWords": {"words": [{"yw": "sun", "fw": "helios", "daa": true, "l": 1}]},
            "nativeWords": {"words": [{"yw": "moon", "fw": "selene", "daa": true}, {"yw": "star", "fw": "aster"}]},
            "yourFacultativeWords": ["the", 1, "a", "the"], "foreignFacultativeWords": "ho",
            "statistics": {"dailySnapshots": [{"day": 1400000000, "noU": 3, "noN": -1, "noUST": 2.5},
                {"noST": "x"}, 5, {"day": "x", "noLT": 2, "noMT": 1}]},
            "yourTextInputSourceName": "", "foreignTextInputSourceName": 7,
            "isAutoSelectInputSource": 1, "isDisableMisspellRecognition": "yes", "isDirty": true, "version": 12,
            "lineage": ["b:2", 3, "a:1", "b:2"]})",
        // Values of the wrong type read as missing.
        R"({"language": 5, "foreignLanguageName": null, "yourLanguageName": ["x"], "isDirty": 2, "version": -4, "lineage": "a:1",
            "shortTermWords": {"words": [3, "word", null, [], {"yw": 1, "fw": {"x": 1}, "c": [], "daa": "x",
                "la": "x", "t": "tag", "mid": -3, "cid": "12", "wc": true, "l": null}]}})",
        // The last of two equal keys counts, whatever it holds.
        R"({"language": "A", "language": "B", "foreignLanguageName": "C", "foreignLanguageName": 3,
            "unknownWords": {"words": [{"yw": "first"}]},
            "unknownWords": {"words": [{"yw": "a", "yw": "b", "t": ["x"], "t": 5, "la": 1, "la": []}]},
            "statistics": {"dailySnapshots": [{"day": 1}]}, "statistics": 7,
            "yourFacultativeWords": ["x"], "yourFacultativeWords": null})",
        // Unknown keys and containers of any depth are passed over.
        R"({"extra": {"a": [1, {"b": [[], {}]}]}, "more": [{"unknownWords": 5}],
            "unknownWords": {"other": [1, {"words": 2}],
                "words": [{"yw": "a", "x": {"y": [{"z": 1}]}, "t": ["t", ["u"], {"v": 1}, "w"]}]}})",
        // Numbers of every form: fractions, exponents, beyond 53 bits and beyond 64.
        R"({"unknownWords": {"words": [
            {"yw": "a", "la": 1400000000.75, "cid": 9007199254740993, "mid": 1.9, "wc": -3, "daa": 0.0},
            {"yw": "b", "la": -1e20, "cid": 2e3, "daa": 1, "mid": 9223372036854775808, "wc": 1E2},
            {"yw": "c", "la": -86400.5, "cid": -0, "mid": 18446744073709551616, "daa": -0.0}]},
            "version": 12.7, "isDirty": 1e-3})",
        // Versions at the top of their range.
        R"({"unknownWords": {"words": []}, "version": 1e308})",
        R"({"unknownWords": {"words": []}, "version": 9223372036854775807})",
        // A byte order mark and white space around; sides are trimmed, comments are not.
        "\xEF\xBB\xBF \n{\"nativeWords\": {\"words\": [{\"yw\": \" padded \", \"fw\": \"\\tx\\n\", \"c\": \" c \","
        " \"daa\": true, \"l\": 9}]}} \n",
        // Every character, escaped or not.
        R"({"unknownWords": {"words": [{"yw": "é\u00e9 \ud83d\ude00 😀 \"\\\/\b\f\n\r\t", "fw": "\u0000nul"}]}})",
        // An escaped lone low surrogate is kept.
        R"({"unknownWords": {"words": [{"yw": "a\udc00b\udfff", "t": ["\udc01"], "c": "\ud83d\ude00\udc00"}]}})",
        // Lists that hold no word besides other things, or that a later list replaces.
        R"({"unknownWords": {"words": [[1], {"yw": "a"}]}})",
        R"({"unknownWords": {"words": [[1]]}, "unknownWords": {"words": []}})",
        // No vocabulary's documents: lists that hold something, but no word, would be saved empty.
        R"({"unknownWords": {"words": [[1], [{"yw": "a"}]]}})",
        R"({"unknownWords": {"words": [1, "x", null]}, "nativeWords": {"words": []}})",
        "{}",
        "[1]",
        "5",
        R"("text")",
        R"({"unknownWords": 5})",
        R"({"unknownWords": {}})",
        R"({"unknownWords": {"words": {}}})",
        R"({"unknownWords": {"words": []}, "midTermWords": {"words": [], "words": 3}})",
        R"({"unknownWords": {"words": []}, "unknownWords": null})",
        // No JSON.
        "",
        "{",
        R"({"unknownWords": {"words": []}} trailing)",
        R"({"unknownWords": {"words": [01]}})",
        "{\"unknownWords\": {\"words\": [\"\xff\"]}}",
    };
    for (const QByteArray &json : documents) {
        SCOPED_TRACE(json.toStdString());
        const std::shared_ptr<Lexicarta> expected = throughDocumentTree(json);
        for (const qsizetype pieceSize : {qsizetype(1) << 20, qsizetype(1), qsizetype(7)}) {
            SCOPED_TRACE(pieceSize);
            const lexi::VocabularyJsonReader::Result read = inPieces(json, pieceSize);
            ASSERT_EQ(read.outcome == Outcome::read, expected != nullptr);
            if (!expected)
                continue;
            ASSERT_TRUE(read.vocabulary);
            // Words stored without an identifier get the one the document tree gives them.
            EXPECT_EQ(read.vocabulary->dictionaryRepresentation(), expected->dictionaryRepresentation());
        }
    }
}

TEST_F(VocabularyJsonReaderTest, ANumberThatFitsNoDoubleReadsAsMissing)
{
    const QByteArray json = R"({"unknownWords": {"words": [{"yw": "kept", "la": 1e400, "cid": 1e400, "mid": -1e400,
        "wc": 1e400, "daa": 1e400}, {"yw": "tiny", "la": 1e-400, "cid": 5}]},
        "statistics": {"dailySnapshots": [{"day": 1e400, "noU": 1e400, "noN": 2}]},
        "version": 1e400, "isDirty": 1e400})";
    // The document tree refuses the whole text.
    EXPECT_FALSE(throughDocumentTree(json));

    const lexi::VocabularyJsonReader::Result read = lexi::VocabularyJsonReader::read(json, fakes.services, noLimit);
    ASSERT_EQ(read.outcome, Outcome::read);
    const lexi::WordList words = read.vocabulary->allWords();
    ASSERT_EQ(words.size(), 2);
    EXPECT_EQ(words[0]->yourWord(), u"kept"_s);
    EXPECT_FALSE(words[0]->lastAsked());
    EXPECT_GT(words[0]->creationID(), 5);
    EXPECT_EQ(words[0]->modificationID(), 0);
    EXPECT_EQ(words[0]->fallenDownCounter(), 0u);
    EXPECT_FALSE(words[0]->dontAskAgain());
    EXPECT_FALSE(words[1]->lastAsked());
    EXPECT_EQ(words[1]->creationID(), 5);
    EXPECT_EQ(read.vocabulary->version(), 0);
    EXPECT_FALSE(read.vocabulary->needsSync());
    ASSERT_EQ(read.vocabulary->statistics().dailySnapshots().size(), 1);
    const QLXDailyStatisticsSnapshot &snapshot = read.vocabulary->statistics().dailySnapshots().front();
    EXPECT_EQ(snapshot.day().secondsSince1970(), 0.0);
    EXPECT_EQ(snapshot.numberOfWordsInLevel(0), 0);
    EXPECT_EQ(snapshot.numberOfWordsInLevel(5), 2);
}

TEST_F(VocabularyJsonReaderTest, WordsOrDailySnapshotsBeyondTheLimitStopTheReading)
{
    const QByteArray twoWords = R"({"unknownWords": {"words": [{"yw": "a"}, {"yw": "b"}]}})";
    const QByteArray threeWords = R"({"unknownWords": {"words": [{}, {}]}, "nativeWords": {"words": [{}]}})";
    // Words a later list of the same key replaces count too: they were read.
    const QByteArray replaced = R"({"unknownWords": {"words": [{}, {}]}, "unknownWords": {"words": [{}]}})";
    const QByteArray threeSnapshots =
        R"({"unknownWords": {"words": []}, "statistics": {"dailySnapshots": [{"day": 0}, {}, {}]}})";
    const std::pair<QByteArray, Outcome> cases[] = {
        {twoWords, Outcome::read},
        {threeWords, Outcome::tooLarge},
        {replaced, Outcome::tooLarge},
        {threeSnapshots, Outcome::tooLarge},
    };
    for (const auto &[json, outcome] : cases) {
        SCOPED_TRACE(json.toStdString());
        EXPECT_EQ(lexi::VocabularyJsonReader::read(json, fakes.services, 2).outcome, outcome);
        qsizetype position = 0;
        const auto inPiecesOfFour = [&] {
            const QByteArray piece = json.mid(position, 4);
            position += piece.size();
            return piece;
        };
        EXPECT_EQ(lexi::VocabularyJsonReader::read(inPiecesOfFour, fakes.services, 2).outcome, outcome);
    }
}

TEST_F(VocabularyJsonReaderTest, AnEscapedLoneHighSurrogateIsLeftToTheDocumentTree)
{
    const QByteArray json = R"({"unknownWords": {"words": [{"yw": "\ud800 alone"}]}})";
    EXPECT_TRUE(throughDocumentTree(json));
    EXPECT_EQ(lexi::VocabularyJsonReader::read(json, fakes.services, noLimit).outcome, Outcome::refused);
}

} // namespace

namespace {

TEST_F(VocabularyJsonReaderTest, WordsTakeNoMemoryForWhatTheyLackAndShareWhatRepeats)
{
    const QByteArray json = R"({"unknownWords": {"words": [{"yw": "bare", "fw": "", "c": ""},
        {"yw": "one tag", "t": ["topic"]}, {"yw": "sorted", "t": ["a", "B", "c"]},
        {"yw": "unsorted", "t": ["c", "topic", "a"]}]}})";
    const lexi::VocabularyJsonReader::Result read = lexi::VocabularyJsonReader::read(json, fakes.services, noLimit);
    ASSERT_EQ(read.outcome, Outcome::read);
    const lexi::WordList words = read.vocabulary->allWords();
    ASSERT_EQ(words.size(), 4);
    // No tag storage and no string storage for what is empty.
    EXPECT_EQ(words[0]->tags().capacity(), 0);
    EXPECT_EQ(words[0]->tagsSorted().capacity(), 0);
    EXPECT_TRUE(words[0]->foreignWord().isNull());
    EXPECT_TRUE(words[0]->comment().isNull());
    // Tags already in order are one list; equal tags of different words one string.
    EXPECT_EQ(words[1]->tags().constData(), words[1]->tagsSorted().constData());
    EXPECT_EQ(words[2]->tags().constData(), words[2]->tagsSorted().constData());
    EXPECT_EQ(words[3]->tagsSorted(), (QStringList{u"a"_s, u"c"_s, u"topic"_s}));
    EXPECT_EQ(words[1]->tags()[0].constData(), words[3]->tags()[1].constData());
    EXPECT_EQ(words[2]->tags()[0].constData(), words[3]->tags()[2].constData());
}

} // namespace
