#include "support/FakeVocabularyServices.h"

#include "model/Lexicarta.h"
#include "model/VocabularyJsonWriter.h"
#include "model/VocabularySnapshot.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

using namespace Qt::StringLiterals;
using lexi::Date;

namespace {

// A vocabulary holding the values that are hard to write: every kind of character, identifiers
// beyond what a double holds, dates before 1970 and with fractions, counters beyond 64 bits
// signed, levels above 5, and snapshots dated with fractions or not at all.
std::shared_ptr<Lexicarta> awkwardVocabulary(const lexi::VocabularyServices &services)
{
    auto vocabulary = Lexicarta::create(services);
    vocabulary->setForeignLanguageName(u"Fran\u00e7ais \"quoted\" \\ / \U0001F600"_s);
    vocabulary->setYourLanguageName(u"English"_s);
    vocabulary->setYourFacultativeWords({u"the"_s, u"a"_s});
    vocabulary->setForeignTextInputSourceId(u"com.example.french"_s);
    vocabulary->setVersion(std::numeric_limits<qint64>::max());
    vocabulary->setNeedsSync(true);
    vocabulary->setIsDisableMisspellRecognition(true);
    vocabulary->setLineage({u"3f9a0c1d2e4b5a69:12"_s, u"\u00e9:1"_s});
    lexi::WordList words;
    const struct
    {
        QString yourWord;
        QString comment;
        quint64 level;
        double lastAsked;
        qint64 identifier;
        quint64 falls;
    } values[] = {
        {u"plain"_s, u""_s, 0, 1400000000.0, 1, 0},
        {u"controls \t\n\r\b\f\u0001\u001f\u007f end"_s, u"line one\nline two"_s, 1, -86400.5, 0, 3},
        {u"\u00e9\u00df\u4e2d\u6587 \U0001F600"_s, u"comment"_s, 2, 1400000000.75, qint64(1) << 62,
         std::numeric_limits<quint64>::max()},
        {u"level seven"_s, u"\"\\/"_s, 7, 1e12, std::numeric_limits<qint64>::max(), 1},
        {u""_s, u""_s, 4, 0.0, -5, 0},
    };
    for (const auto &value : values) {
        auto word = std::make_shared<QLXWord>(value.yourWord, u"f "_s + value.yourWord, value.comment);
        word->setLevel(value.level);
        word->setDontAskAgain(true);
        word->setLastAsked(Date::fromSecondsSince1970(value.lastAsked));
        word->setCreationID(value.identifier);
        word->setModificationID(value.identifier);
        word->setFallenDownCounter(value.falls);
        word->setTags(value.level % 2 ? QStringList{u"b"_s, u"A"_s, u"\u00e4"_s} : QStringList());
        words.append(word);
    }
    vocabulary->setAllWords(words);
    QLXStatistics statistics;
    QList<QLXDailyStatisticsSnapshot> snapshots;
    for (const double day : {1400000000.0, 1400086400.25, 1234567890.123456789, 1e300}) {
        QLXDailyStatisticsSnapshot snapshot(Date::fromSecondsSince1970(day));
        snapshot.setNumberOfWordsInLevel(1, 12);
        snapshot.setNumberOfWordsInLevel(5, std::numeric_limits<qint64>::max());
        snapshots.append(snapshot);
    }
    statistics.setDailySnapshots(snapshots);
    vocabulary->setStatistics(statistics);
    return vocabulary;
}

QByteArray json(const Lexicarta &vocabulary)
{
    return lexi::VocabularyJsonWriter::json(lexi::VocabularySnapshot(vocabulary));
}

TEST(VocabularyJsonWriterTest, WritesTheDocumentTheVocabularyDescribes)
{
    lexi::test::FakeVocabularyServices fakes;
    const auto empty = Lexicarta::create(fakes.services);
    const auto awkward = awkwardVocabulary(fakes.services);
    for (const Lexicarta *vocabulary : {empty.get(), awkward.get()}) {
        SCOPED_TRACE(vocabulary->countAllWords());
        const QByteArray written = json(*vocabulary);
        QJsonParseError error;
        const QJsonDocument parsed = QJsonDocument::fromJson(written, &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        EXPECT_EQ(parsed, QJsonDocument(vocabulary->dictionaryRepresentation())) << written.toStdString();
    }

    // Ordinary words come out as QJsonDocument writes them, byte for byte.
    const auto word = std::make_shared<QLXWord>(u"house"_s, u"Haus"_s, u"das"_s);
    word->setTags({u"home"_s});
    word->setLastAsked(Date::fromSecondsSince1970(1400000000.0));
    empty->addWord(word);
    empty->setLineage({u"3f9a0c1d2e4b5a69:12"_s});
    EXPECT_EQ(json(*empty), QJsonDocument(empty->dictionaryRepresentation()).toJson(QJsonDocument::Compact));

    // A lone surrogate (no character) is written as the replacement character, which every reader
    // takes, where an escaped surrogate would make strict readers refuse the whole file.
    word->setComment(u"lone "_s + QChar(0xd800) + u" surrogate"_s);
    EXPECT_TRUE(json(*empty).contains("\"c\":\"lone \xEF\xBF\xBD surrogate\""));
}

TEST(VocabularyJsonWriterTest, WrittenInPiecesItIsTheSameText)
{
    lexi::test::FakeVocabularyServices fakes;
    const auto vocabulary = awkwardVocabulary(fakes.services);
    lexi::WordList words = vocabulary->allWords();
    for (int i = 0; i < 20000; ++i)
        words.append(std::make_shared<QLXWord>(u"word %1"_s.arg(i), u"Wort %1"_s.arg(i), u"comment"_s));
    vocabulary->setAllWords(words);
    const lexi::VocabularySnapshot snapshot(*vocabulary);
    QByteArrayList pieces;
    lexi::VocabularyJsonWriter::write(snapshot, [&pieces](QByteArray piece) {
        pieces.append(piece);
        return true;
    });
    EXPECT_GT(pieces.size(), 1);
    EXPECT_EQ(pieces.join(), lexi::VocabularyJsonWriter::json(snapshot));

    // A taker that wants no more gets no more.
    int taken = 0;
    lexi::VocabularyJsonWriter::write(snapshot, [&taken](QByteArray) { return ++taken < 1; });
    EXPECT_EQ(taken, 1);
}

TEST(VocabularyJsonWriterTest, NumbersReadBackAsTheSameValues)
{
    lexi::test::FakeVocabularyServices fakes;
    const QByteArray written =
        lexi::VocabularyJsonWriter::json(lexi::VocabularySnapshot(*awkwardVocabulary(fakes.services)));
    // Whole numbers as integers, exact beyond the 53 bits of a double.
    // The largest version a vocabulary keeps leaves room for the next synchronisation's one.
    for (const char *integer : {"\"version\":9223372036854775806", "\"cid\":4611686018427387904",
                                "\"wc\":9223372036854775807", "\"la\":-86400,", "\"l\":7,", "\"day\":1400000000,",
                                // An implausible day is written as the stored form's zero.
                                "\"day\":0,"}) {
        EXPECT_TRUE(written.contains(integer)) << integer;
    }
    // Fractions in a form every reader turns back into the same double.
    EXPECT_TRUE(written.contains("\"day\":1400086400.25,")) << written.toStdString();
    const qsizetype longFraction = written.indexOf("\"day\":1234567890.");
    ASSERT_NE(longFraction, -1) << written.toStdString();
    EXPECT_EQ(std::strtod(written.constData() + longFraction + 6, nullptr), 1234567890.123456789);
}

} // namespace
