#include "support/FakeVocabularyServices.h"
#include "support/KeyedArchiveTesting.h"

#include "model/CreationIdentifiers.h"
#include "model/Lexicarta.h"
#include "platform/plist/KeyedArchive.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace Qt::StringLiterals;
using lexi::Date;

namespace {

using RoundTrip = std::function<std::shared_ptr<Lexicarta>(const Lexicarta &, const lexi::VocabularyServices &)>;

std::shared_ptr<Lexicarta> throughJson(const Lexicarta &vocabulary, const lexi::VocabularyServices &services)
{
    const QByteArray text = QJsonDocument(vocabulary.dictionaryRepresentation()).toJson(QJsonDocument::Compact);
    return Lexicarta::initWithDictionary(QJsonDocument::fromJson(text).object(), services);
}

std::shared_ptr<Lexicarta> fromArchive(const QByteArray &data, const lexi::VocabularyServices &services)
{
    const auto archive = lexi::KeyedArchive::fromData(data);
    if (!archive)
        return nullptr;
    const auto root = archive->rootObjectDecoder(Lexicarta::archiveClassName);
    return root ? Lexicarta::initWithCoder(*root, services) : nullptr;
}

std::shared_ptr<Lexicarta> throughArchive(const Lexicarta &vocabulary, const lexi::VocabularyServices &services)
{
    return fromArchive(lexi::KeyedArchive::archivedData(vocabulary), services);
}

const struct
{
    const char *form;
    RoundTrip roundTrip;
} forms[] = {{"own format", throughJson}, {"keyed archive", throughArchive}};

class LexicartaStoredFormsTest : public testing::Test
{
protected:
    std::shared_ptr<QLXWord> add(const QString &yourWord, quint64 level, bool dontAskAgain = false)
    {
        auto word = std::make_shared<QLXWord>(yourWord, u"foreign "_s + yourWord, u"comment on "_s + yourWord);
        word->setLevel(level);
        word->setDontAskAgain(dontAskAgain);
        word->setTags({u"tag "_s + yourWord, u"common"_s});
        word->setLastAsked(Date::fromSecondsSince1970(1400000000.0 + double(level)));
        word->setFallenDownCounter(level * 2);
        word->setModificationID(1400000000 + qint64(level));
        vocabulary->addWord(word);
        word->setCreationID(1000 + qint64(level));
        return word;
    }

    void fillEveryField()
    {
        vocabulary->setForeignLanguageName(u"Français"_s);
        vocabulary->setYourLanguageName(u"English"_s);
        vocabulary->setForeignFacultativeWords({u"le"_s, u"la"_s});
        vocabulary->setYourFacultativeWords({u"the"_s});
        vocabulary->setForeignTextInputSourceId(u"xkb:fr"_s);
        vocabulary->setYourTextInputSourceId(u"xkb:us"_s);
        vocabulary->setIsAutoSelectInputSource(false);
        vocabulary->setIsDisableMisspellRecognition(true);
        vocabulary->setNeedsSync(true);
        vocabulary->setVersion(42);
        QLXDailyStatisticsSnapshot monday(lexi::test::localMidnight(2015, 5, 4));
        monday.setNumberOfWordsInLevel(0, 12);
        QLXDailyStatisticsSnapshot tuesday(lexi::test::localMidnight(2015, 5, 5));
        tuesday.setNumberOfWordsInLevel(3, 7);
        QLXStatistics statistics;
        statistics.setDailySnapshots({monday, tuesday});
        vocabulary->setStatistics(statistics);
    }

    lexi::test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
};

TEST_F(LexicartaStoredFormsTest, EveryFieldSurvivesBothFormsAndWordsComeBackOrderedByLevel)
{
    fillEveryField();
    // Added out of level order, with don't-ask-again on levels that cannot keep it.
    const auto native = add(u"native"_s, 5, true);
    const auto beyond = add(u"beyond"_s, 7);
    const auto unknown = add(u"unknown"_s, 0, true);
    const auto mid = add(u"mid"_s, 3, true);
    const auto longTerm = add(u"long"_s, 4, true);
    const auto ultraShort = add(u"ultra"_s, 1);
    const auto shortTerm = add(u"short"_s, 2, true);
    // Words without an identifier get ones derived from their text when they are read.
    auto bare = std::make_shared<QLXWord>(u"bare"_s, u"nu"_s);
    vocabulary->addWord(bare);
    bare->setCreationID(0);
    bare->setLevel(2);
    auto alsoBare = std::make_shared<QLXWord>(u"also bare"_s, u"nu aussi"_s);
    vocabulary->addWord(alsoBare);
    alsoBare->setCreationID(0);
    alsoBare->setLevel(3);

    for (const auto &f : forms) {
        const auto read = f.roundTrip(*vocabulary, fakes.services);
        ASSERT_TRUE(read) << f.form;
        EXPECT_EQ(read->foreignLanguageName(), u"Français"_s) << f.form;
        EXPECT_EQ(read->language(), u"Français"_s) << f.form;
        EXPECT_EQ(read->yourLanguageName(), u"English"_s) << f.form;
        EXPECT_EQ(read->foreignFacultativeWords(), (QStringList{u"le"_s, u"la"_s})) << f.form;
        EXPECT_EQ(read->yourFacultativeWords(), QStringList{u"the"_s}) << f.form;
        EXPECT_EQ(read->foreignTextInputSourceId(), u"xkb:fr"_s) << f.form;
        EXPECT_EQ(read->yourTextInputSourceId(), u"xkb:us"_s) << f.form;
        EXPECT_FALSE(read->isAutoSelectInputSource()) << f.form;
        EXPECT_TRUE(read->isDisableMisspellRecognition()) << f.form;
        EXPECT_TRUE(read->needsSync()) << f.form;
        EXPECT_EQ(read->version(), 42) << f.form;
        EXPECT_EQ(read->statistics().dailySnapshots(), vocabulary->statistics().dailySnapshots()) << f.form;

        const auto words = read->allWords();
        const std::vector<std::shared_ptr<QLXWord>> expected = {unknown, ultraShort, shortTerm, bare, mid,
                                                                alsoBare, longTerm, native, beyond};
        ASSERT_EQ(size_t(words.size()), expected.size()) << f.form;
        for (size_t i = 0; i < expected.size(); ++i) {
            const QLXWord &original = *expected[i];
            const QLXWord &copy = *words[qsizetype(i)];
            const bool keepsDontAskAgain = original.level() >= 4;
            EXPECT_EQ(copy.dontAskAgain(), keepsDontAskAgain && original.dontAskAgain()) << f.form << i;
            EXPECT_EQ(copy.level(), std::min<quint64>(original.level(), 5)) << f.form << i;
            // Everything else is kept as it was.
            auto adjusted = original.copy();
            adjusted->setDontAskAgain(copy.dontAskAgain());
            adjusted->setLevel(copy.level());
            if (original.creationID() == 0)
                adjusted->setCreationID(lexi::derivedCreationID(0, original.foreignWord(), original.yourWord()));
            EXPECT_TRUE(copy.isAllPropertiesEqual(*adjusted)) << f.form << i;
            EXPECT_EQ(copy.weakVocForSort().lock(), read) << f.form << i;
        }
        EXPECT_EQ(read->level2Words().size(), 2) << f.form;
        QSet<qint64> identifiers;
        for (const auto &word : words)
            identifiers.insert(word->creationID());
        EXPECT_EQ(identifiers.size(), words.size()) << f.form;
    }
}

QJsonObject json(const QByteArray &text)
{
    return QJsonDocument::fromJson(text).object();
}

TEST_F(LexicartaStoredFormsTest, TheOwnFormatWritesAllEighteenKeysWithTheirDefaults)
{
    const QJsonObject written = vocabulary->dictionaryRepresentation();
    const QStringList keys = {u"foreignFacultativeWords"_s, u"foreignLanguageName"_s, u"foreignTextInputSourceName"_s,
                              u"isAutoSelectInputSource"_s, u"isDirty"_s, u"isDisableMisspellRecognition"_s,
                              u"language"_s, u"longTermWords"_s, u"midTermWords"_s, u"nativeWords"_s,
                              u"shortTermWords"_s, u"statistics"_s, u"ultraShortTermWords"_s, u"unknownWords"_s,
                              u"version"_s, u"yourFacultativeWords"_s, u"yourLanguageName"_s,
                              u"yourTextInputSourceName"_s};
    EXPECT_EQ(written.keys(), keys);
    EXPECT_EQ(written["unknownWords"_L1].toObject(), QJsonObject({{"words"_L1, QJsonArray()}}));
    EXPECT_EQ(written["yourTextInputSourceName"_L1], u""_s);
    EXPECT_EQ(written["foreignFacultativeWords"_L1], QJsonArray());
    EXPECT_EQ(written["isAutoSelectInputSource"_L1], true);
    EXPECT_EQ(written["version"_L1], 0);
}

TEST_F(LexicartaStoredFormsTest, TheListHoldingAWordDecidesItsLevel)
{
    const auto read = Lexicarta::initWithDictionary(
        json(R"({"midTermWords": {"words": [{"yw": "a", "fw": "b", "l": 5, "daa": true}]},
                 "nativeWords": {"words": [{"yw": "c", "fw": "d", "l": 9, "daa": 1}, {"yw": "e", "fw": "f"}]},
                 "unknownWords": {"words": [{"yw": "g", "fw": "h", "l": 4}]}})"),
        fakes.services);
    const auto words = read->allWords();
    ASSERT_EQ(words.size(), 4);
    const struct
    {
        QString yourWord;
        quint64 level;
        bool dontAskAgain;
    } expected[] = {{u"g"_s, 0, false}, {u"a"_s, 3, false}, {u"c"_s, 5, true}, {u"e"_s, 5, false}};
    for (qsizetype i = 0; i < words.size(); ++i) {
        EXPECT_EQ(words[i]->yourWord(), expected[i].yourWord);
        EXPECT_EQ(words[i]->level(), expected[i].level) << i;
        EXPECT_EQ(words[i]->dontAskAgain(), expected[i].dontAskAgain) << i;
    }
}

TEST_F(LexicartaStoredFormsTest, MissingAndMistypedValuesReadAsTheirDefaults)
{
    const struct
    {
        const char *document;
        QString language;
        QString yourLanguage;
        bool isDirty;
        qint64 version;
        qsizetype words;
    } cases[] = {
        {"{}", u"No name"_s, u"My language"_s, false, 0, 0},
        {R"({"language": "Latin"})", u"Latin"_s, u"My language"_s, false, 0, 0},
        {R"({"language": "Latin", "foreignLanguageName": "Greek", "yourLanguageName": "English"})", u"Greek"_s,
         u"English"_s, false, 0, 0},
        {R"({"language": 5, "foreignLanguageName": null, "yourLanguageName": ["x"], "isDirty": 2, "version": -4})",
         u"No name"_s, u"My language"_s, true, 0, 0},
        {R"({"isDirty": "yes", "version": "7", "unknownWords": "none", "shortTermWords": {"words": {"yw": "a"}},
             "midTermWords": {"words": [3, "word", null, {"yw": "kept"}]}})",
         u"No name"_s, u"My language"_s, false, 0, 1},
        {R"({"version": 9007199254740993, "isDirty": 0})", u"No name"_s, u"My language"_s, false,
         9007199254740993, 0},
        // The next synchronisation adds one to versions at the top of their range.
        {R"({"version": 1e308})", u"No name"_s, u"My language"_s, false, Lexicarta::largestVersion, 0},
        {R"({"version": 9223372036854775807})", u"No name"_s, u"My language"_s, false, Lexicarta::largestVersion, 0},
    };
    for (const auto &c : cases) {
        const auto read = Lexicarta::initWithDictionary(json(c.document), fakes.services);
        EXPECT_EQ(read->language(), c.language) << c.document;
        EXPECT_EQ(read->foreignLanguageName(), c.language) << c.document;
        EXPECT_EQ(read->yourLanguageName(), c.yourLanguage) << c.document;
        EXPECT_EQ(read->needsSync(), c.isDirty) << c.document;
        EXPECT_EQ(read->version(), c.version) << c.document;
        EXPECT_EQ(read->countAllWords(), c.words) << c.document;
        // Settings missing from a file are off, unlike those of a new vocabulary.
        EXPECT_FALSE(read->isAutoSelectInputSource()) << c.document;
        EXPECT_FALSE(read->isDisableMisspellRecognition()) << c.document;
        EXPECT_FALSE(read->yourTextInputSourceId()) << c.document;
        EXPECT_TRUE(read->foreignFacultativeWords().isEmpty()) << c.document;
        EXPECT_EQ(read->statistics().numberOfDaysRecorded(), 0) << c.document;
    }
    const auto facultatives = Lexicarta::initWithDictionary(
        json(R"({"yourFacultativeWords": ["the", 1, "a", "the"], "yourTextInputSourceName": ""})"), fakes.services);
    EXPECT_EQ(facultatives->yourFacultativeWords(), (QStringList{u"the"_s, u"a"_s}));
    EXPECT_EQ(facultatives->yourTextInputSourceId(), u""_s);
}

std::string reference(int uid)
{
    return "<dict><key>CF$UID</key><integer>" + std::to_string(uid) + "</integer></dict>";
}

std::string classDescription(const std::string &name, const std::string &super = "NSObject")
{
    return "<dict><key>$classes</key><array><string>" + name + "</string><string>" + super
           + "</string></array><key>$classname</key><string>" + name + "</string></dict>";
}

QByteArray xmlArchive(const std::string &objects)
{
    return QByteArray::fromStdString(
        R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><dict>)"
        "<key>$archiver</key><string>NSKeyedArchiver</string><key>$objects</key><array>"
        + objects + "</array><key>$top</key><dict><key>root</key>" + reference(1)
        + "</dict><key>$version</key><integer>100000</integer></dict></plist>");
}

TEST_F(LexicartaStoredFormsTest, ReadsArchivesAsFoundationWritesThem)
{
    // 1 the vocabulary, 2 its class, 3 an immutable array holding word 5 twice, 4 a mutable array
    // holding word 5 again, 5 a word, 6 the word's class, 7 a mutable string, 8 a set, 9 a date,
    // 10 a string, 11 to 15 the classes of the set, the date, the arrays and the mutable string.
    const QByteArray data = xmlArchive(
        "<string>$null</string>"
        "<dict><key>$class</key>" + reference(2) + "<key>unknownWords</key>" + reference(3) + "<key>nativeWords</key>"
        + reference(4) + "<key>language</key>" + reference(10) + "<key>isDirty</key><true/>"
          "<key>version</key><integer>-3</integer><key>yourTextInputSourceName</key>" + reference(0) + "</dict>"
        + classDescription("Lexicarta")
        + "<dict><key>$class</key>" + reference(13) + "<key>NS.objects</key><array>" + reference(5) + reference(5)
        + "</array></dict>"
          "<dict><key>$class</key>" + reference(14) + "<key>NS.objects</key><array>" + reference(5)
        + "</array></dict>"
          "<dict><key>$class</key>" + reference(6) + "<key>yourWord</key>" + reference(7) + "<key>foreignWord</key>"
        + reference(10) + "<key>tags</key>" + reference(8) + "<key>lastAsked</key>" + reference(9)
        + "<key>dontAskAgain</key><true/><key>creationID</key><integer>-8</integer>"
          "<key>wrongAnswerCounter</key><integer>2</integer><key>level</key><integer>3</integer></dict>"
        + classDescription("QLXWord")
        + "<dict><key>$class</key>" + reference(15) + "<key>NS.string</key><string>mutable</string></dict>"
          "<dict><key>$class</key>" + reference(11) + "<key>NS.objects</key><array>" + reference(10)
        + "</array></dict>"
          "<dict><key>$class</key>" + reference(12) + "<key>NS.time</key><real>450000000.5</real></dict>"
          "<string>Latin</string>" + classDescription("NSSet") + classDescription("NSDate")
        + classDescription("NSArray") + classDescription("NSMutableArray", "NSArray")
        + classDescription("NSMutableString", "NSString"));
    const auto read = fromArchive(data, fakes.services);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->language(), u"Latin"_s);
    EXPECT_EQ(read->foreignLanguageName(), u"Latin"_s);
    EXPECT_EQ(read->yourLanguageName(), u"My language"_s);
    EXPECT_TRUE(read->needsSync());
    EXPECT_EQ(read->version(), 0);
    EXPECT_FALSE(read->yourTextInputSourceId());
    EXPECT_FALSE(read->isAutoSelectInputSource());
    EXPECT_EQ(read->statistics().numberOfDaysRecorded(), 0);
    // One word object, referred to three times, is one word: the first list that holds it decides.
    ASSERT_EQ(read->countAllWords(), 1);
    const QLXWord &word = *read->allWords().front();
    EXPECT_EQ(word.yourWord(), u"mutable"_s);
    EXPECT_EQ(word.foreignWord(), u"Latin"_s);
    EXPECT_EQ(word.tags(), QStringList{u"Latin"_s});
    EXPECT_EQ(word.lastAsked(), Date::fromSecondsSinceReferenceDate(450000000.5));
    EXPECT_EQ(word.level(), 0u);
    EXPECT_FALSE(word.dontAskAgain());
    EXPECT_EQ(word.fallenDownCounter(), 2u);
}

// The class names of every object an archive holds.
std::set<std::string> classNames(const QByteArray &data)
{
    plist_t parsed = nullptr;
    plist_from_bin(data.constData(), uint32_t(data.size()), &parsed);
    const lexi::PlistPointer document(parsed);
    std::set<std::string> names;
    plist_t objects = plist_dict_get_item(document.get(), "$objects");
    for (uint32_t i = 0; i < plist_array_get_size(objects); ++i) {
        plist_t name = plist_dict_get_item(plist_array_get_item(objects, i), "$classname");
        if (name)
            names.insert(plist_get_string_ptr(name, nullptr));
    }
    return names;
}

TEST_F(LexicartaStoredFormsTest, ArchivesUseMutableCollectionsAndNilForWhatIsMissing)
{
    add(u"word"_s, 1);
    const QByteArray data = lexi::KeyedArchive::archivedData(*vocabulary);
    EXPECT_EQ(classNames(data), (std::set<std::string>{"Lexicarta", "NSDate", "NSMutableArray", "NSMutableSet",
                                                       "QLXDailyStatisticsSnapshot", "QLXStatistics", "QLXWord"}));
    const auto archive = lexi::KeyedArchive::fromData(data);
    const auto root = archive->rootObjectDecoder(Lexicarta::archiveClassName);
    ASSERT_TRUE(root);
    EXPECT_TRUE(root->containsValueForKey("yourTextInputSourceName"));
    EXPECT_FALSE(root->decodeString("yourTextInputSourceName"));
    EXPECT_TRUE(root->decodeBool("isAutoSelectInputSource"));
}

// A binary property list as libplist reads it, written out as XML: equal texts, equal object graphs.
std::string xmlOfBinaryPlist(const QByteArray &data)
{
    plist_t parsed = nullptr;
    plist_from_bin(data.constData(), uint32_t(data.size()), &parsed);
    const lexi::PlistPointer document(parsed);
    if (!document)
        return {};
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(document.get(), &xml, &length);
    std::string text(xml, length);
    plist_to_xml_free(xml);
    return text;
}

// The same vocabulary as archive-as-written.tbf, a file an earlier version of this program saved.
TEST_F(LexicartaStoredFormsTest, ArchivesHoldTheSameObjectsAsEarlierVersionsWrote)
{
    vocabulary->setForeignLanguageName(u"Ελληνικά"_s);
    vocabulary->setYourLanguageName(u"English"_s);
    vocabulary->setForeignFacultativeWords({u"ο"_s, u"η"_s, u"το"_s});
    vocabulary->setYourFacultativeWords({u"the"_s});
    vocabulary->setForeignTextInputSourceId(u"xkb:gr"_s);
    vocabulary->setVersion(7);
    QLXDailyStatisticsSnapshot day(Date::fromSecondsSinceReferenceDate(452000000));
    day.setNumberOfWordsInLevel(2, 3);
    QLXStatistics statistics;
    statistics.setDailySnapshots({day});
    vocabulary->setStatistics(statistics);
    add(u"cat"_s, 1);
    add(u"γάτα 🐈"_s, 4, true);
    add(u"common"_s, 2)->setComment(u"common"_s);
    auto bare = std::make_shared<QLXWord>(u"bare"_s, u"γυμνός"_s);
    vocabulary->addWord(bare);
    bare->setCreationID(-5);

    QFile earlier(QString::fromUtf8(TEST_DATA "/archive-as-written.tbf"));
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    const QByteArray expected = earlier.readAll();
    const QByteArray written = lexi::KeyedArchive::archivedData(*vocabulary);
    EXPECT_EQ(xmlOfBinaryPlist(written), xmlOfBinaryPlist(expected));
    ASSERT_TRUE(fromArchive(written, fakes.services));
}

} // namespace
