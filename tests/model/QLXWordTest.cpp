#include "support/ConsoleCapture.h"
#include "support/FakeVocabularyServices.h"
#include "support/KeyedArchiveTesting.h"

#include "model/Lexicarta.h"
#include "model/QLXWord.h"
#include "model/VocabularySnapshot.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;
using lexi::Date;

namespace {

std::shared_ptr<QLXWord> word(const QString &yourWord, const QString &foreignWord, const QString &comment = {})
{
    return std::make_shared<QLXWord>(yourWord, foreignWord, comment);
}

QJsonObject json(const char *text)
{
    return QJsonDocument::fromJson(QByteArray(text)).object();
}

TEST(QLXWordTest, SidesAreTrimmedOfWhiteSpaceAndNewlinesEachByItsOwnSetter)
{
    const struct
    {
        QString assigned;
        QString stored;
    } cases[] = {
        {u"  Haus \n"_s, u"Haus"_s},
        {u"\t\r\n Haus\u00a0\u2003"_s, u"Haus"_s},
        {u"Haus  Maus"_s, u"Haus  Maus"_s},
        {u" \n\t "_s, u""_s},
        {QString(), u""_s},
    };
    for (const auto &c : cases) {
        QLXWord w(u"your"_s, u"foreign"_s);
        w.setYourWord(c.assigned);
        EXPECT_EQ(w.yourWord(), c.stored) << c.assigned.toStdString();
        EXPECT_EQ(w.foreignWord(), u"foreign"_s);
        w.setForeignWord(c.assigned);
        EXPECT_EQ(w.foreignWord(), c.stored) << c.assigned.toStdString();
        EXPECT_EQ(w.yourWord(), c.stored);
    }
    const QLXWord constructed(u" a "_s, u"\nb"_s, u" kept as it is \n"_s);
    EXPECT_EQ(constructed.yourWord(), u"a"_s);
    EXPECT_EQ(constructed.foreignWord(), u"b"_s);
    EXPECT_EQ(constructed.comment(), u" kept as it is \n"_s);
    EXPECT_TRUE(QLXWord().comment().isEmpty());
}

TEST(QLXWordTest, RemovesTheFirstFacultativeFollowedByABlank)
{
    const QStringList articles = {u"der"_s, u"die"_s, u"das"_s};
    const struct
    {
        QStringList facultatives;
        QString word;
        QString stripped;
    } cases[] = {
        {articles, u"die Katze"_s, u"Katze"_s},
        {articles, u"Katze"_s, u"Katze"_s},
        {articles, u"Die Katze"_s, u"Die Katze"_s},
        {articles, u"der die Katze"_s, u"die Katze"_s},
        {articles, u"das   Haus  "_s, u"Haus"_s},
        {articles, u"das\tHaus"_s, u"das\tHaus"_s},
        {articles, u"das"_s, u"das"_s},
        {{u"the"_s}, u"the house"_s, u"house"_s},
        {{u"the"_s}, u"theatre"_s, u"theatre"_s},
        {{u"the"_s}, u"the"_s, u"the"_s},
        {{u" the\t"_s}, u"the house"_s, u"house"_s},
        {{}, u"the house"_s, u"the house"_s},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QLXWord::wordByRemovingFacultatives(c.facultatives, c.word), c.stripped) << c.word.toStdString();
}

TEST(QLXWordTest, FacultativesComeFromTheWordsVocabulary)
{
    lexi::test::FakeVocabularyServices fakes;
    const auto vocabulary = Lexicarta::create(fakes.services);
    vocabulary->setForeignFacultativeWords({u"die"_s});
    vocabulary->setYourFacultativeWords({u"the"_s});
    const auto cat = word(u"the cat"_s, u"die Katze"_s);
    EXPECT_EQ(cat->foreignWordWithoutFacultatives(), u"die Katze"_s);
    vocabulary->addWord(cat);
    EXPECT_EQ(cat->foreignWordWithoutFacultatives(), u"Katze"_s);
    EXPECT_EQ(cat->yourWordWithoutFacultatives(), u"cat"_s);
    EXPECT_EQ(cat->compareForeignLang(*word(u""_s, u"katze"_s)), std::weak_ordering::equivalent);
}

std::shared_ptr<QLXWord> tagged(const QStringList &tags)
{
    auto w = word(u"a"_s, u"b"_s);
    w->setTags(tags);
    return w;
}

std::shared_ptr<QLXWord> askedAt(std::optional<double> seconds)
{
    auto w = word(u"a"_s, u"b"_s);
    if (seconds)
        w->setLastAsked(Date::fromSecondsSinceReferenceDate(*seconds));
    return w;
}

TEST(QLXWordTest, ComparatorsOrderAsDescribed)
{
    using Compare = std::weak_ordering (QLXWord::*)(const QLXWord &) const;
    const auto less = std::weak_ordering::less;
    const auto same = std::weak_ordering::equivalent;
    const auto greater = std::weak_ordering::greater;
    const struct
    {
        const char *what;
        Compare compare;
        std::shared_ptr<QLXWord> left, right;
        std::weak_ordering expected;
    } cases[] = {
        {"your words ignore case", &QLXWord::compareYourLang, word(u"Apple"_s, u""_s), word(u"banana"_s, u""_s), less},
        {"your words equal but for case", &QLXWord::compareYourLang, word(u"APPLE"_s, u""_s),
         word(u"apple"_s, u""_s), same},
        {"foreign words", &QLXWord::compareForeignLang, word(u""_s, u"Zebra"_s), word(u""_s, u"apfel"_s),
         greater},
        {"comments ignore case", &QLXWord::compareComment, word(u""_s, u""_s, u"Note"_s),
         word(u""_s, u""_s, u"note"_s), same},
        {"no comment first", &QLXWord::compareComment, word(u""_s, u""_s), word(u""_s, u""_s, u"a"_s), less},
        {"never asked twice", &QLXWord::compareLastAsked, askedAt({}), askedAt({}), same},
        {"never asked first", &QLXWord::compareLastAsked, askedAt({}), askedAt(-1e9), less},
        {"earlier first", &QLXWord::compareLastAsked, askedAt(20), askedAt(10), greater},
        {"no tags twice", &QLXWord::compareTags, tagged({}), tagged({}), same},
        {"fewer tags first", &QLXWord::compareTags, tagged({u"b"_s}), tagged({u"a"_s, u"c"_s}), less},
        {"tags equal but for case", &QLXWord::compareTags, tagged({u"a"_s, u"B"_s}), tagged({u"A"_s, u"b"_s}), same},
        {"second tag decides", &QLXWord::compareTags, tagged({u"c"_s, u"a"_s}), tagged({u"A"_s, u"b"_s}), greater},
    };
    for (const auto &c : cases)
        EXPECT_EQ(((*c.left).*c.compare)(*c.right), c.expected) << c.what;
}

TEST(QLXWordTest, TagOrderIsAStrictWeakOrdering)
{
    // {a, c} and {A, b} differ first at a/A, which are the same ignoring case; taking that as the
    // verdict would make {a, c} the same as {A, b} and {A, b} the same as {a, b}, yet {a, c}
    // comes after {a, b}. The next position decides instead.
    const auto x = tagged({u"a"_s, u"c"_s});
    const auto y = tagged({u"A"_s, u"b"_s});
    const auto z = tagged({u"a"_s, u"b"_s});
    EXPECT_EQ(y->compareTags(*z), std::weak_ordering::equivalent);
    EXPECT_EQ(x->compareTags(*z), std::weak_ordering::greater);
    EXPECT_EQ(x->compareTags(*y), std::weak_ordering::greater);
    EXPECT_EQ(y->compareTags(*x), std::weak_ordering::less);
}

TEST(QLXWordTest, AddTagTrimsAndKeepsTagsDistinctAndSorted)
{
    QLXWord w;
    w.addTag(u"  food \n"_s);
    w.addTag(u"food"_s);
    EXPECT_EQ(w.tags(), QStringList{u"food"_s});
    w.addTag(u"Food"_s);
    w.addTag(u"apple"_s);
    w.addTag(u"Apple"_s);
    EXPECT_EQ(w.tags(), (QStringList{u"food"_s, u"Food"_s, u"apple"_s, u"Apple"_s}));
    EXPECT_EQ(w.tagsSorted(), (QStringList{u"Apple"_s, u"apple"_s, u"Food"_s, u"food"_s}));
    // Neither an empty tag nor one of blanks only is a tag.
    w.addTag(QString());
    w.addTag(u" \t\n"_s);
    EXPECT_EQ(w.tags().size(), 4);
}

TEST(QLXWordTest, SetTagsTakesDistinctTagsAndIgnoresTheSameSet)
{
    QLXWord w;
    w.setTags({u"b"_s, u"a"_s, u"b"_s});
    EXPECT_EQ(w.tags(), (QStringList{u"b"_s, u"a"_s}));
    EXPECT_EQ(w.tagsSorted(), (QStringList{u"a"_s, u"b"_s}));
    w.setTags({u"a"_s, u"b"_s});
    EXPECT_EQ(w.tags(), (QStringList{u"b"_s, u"a"_s}));
    w.setTags({});
    EXPECT_TRUE(w.tags().isEmpty());
    EXPECT_TRUE(w.tagsSorted().isEmpty());
}

TEST(QLXWordTest, SearchLooksIntoEverySideCommentAndTagIgnoringCase)
{
    auto w = word(u"the house"_s, u"das Haus"_s, u"a building"_s);
    w->setTags({u"Home"_s});
    const struct
    {
        QString term;
        bool matches;
    } cases[] = {{u"HOUSE"_s, true}, {u"s ha"_s, true}, {u"build"_s, true}, {u"hom"_s, true}, {u"garden"_s, false}};
    for (const auto &c : cases)
        EXPECT_EQ(w->matchesSearchTerm(c.term), c.matches) << c.term.toStdString();

    lexi::test::ConsoleCapture console;
    EXPECT_FALSE(w->matchesSearchTerm(std::nullopt));
    EXPECT_EQ(console.lines(), QStringList{u"QLXWord > matchesSearchTerm > searching NIL"_s});
}

std::shared_ptr<QLXWord> everyPropertySet()
{
    auto w = word(u"the cat"_s, u"die Katze"_s, u"sits on the mat"_s);
    w->setTags({u"animals"_s, u"home"_s});
    w->setLastAsked(Date::fromSecondsSince1970(1431000000.0));
    w->setDontAskAgain(true);
    w->setCreationID(452000000);
    w->setModificationID(1431000001);
    w->setFallenDownCounter(3);
    w->setLevel(4);
    return w;
}

TEST(QLXWordTest, AllPropertiesEqualComparesEveryPropertyAndTwoNeverAskedWordsAgree)
{
    EXPECT_TRUE(QLXWord().isAllPropertiesEqual(QLXWord()));
    const auto base = everyPropertySet();
    EXPECT_TRUE(base->isAllPropertiesEqual(*everyPropertySet()));

    const std::function<void(QLXWord &)> changes[] = {
        [](QLXWord &w) { w.setYourWord(u"The cat"_s); },
        [](QLXWord &w) { w.setForeignWord(u"Katze"_s); },
        [](QLXWord &w) { w.setComment(u""_s); },
        [](QLXWord &w) { w.addTag(u"pets"_s); },
        [](QLXWord &w) { w.setLastAsked(std::nullopt); },
        [](QLXWord &w) { w.setLastAsked(Date::fromSecondsSince1970(1431000000.5)); },
        [](QLXWord &w) { w.setDontAskAgain(false); },
        [](QLXWord &w) { w.setCreationID(1); },
        [](QLXWord &w) { w.setModificationID(0); },
        [](QLXWord &w) { w.setFallenDownCounter(0); },
        [](QLXWord &w) { w.setLevel(5); },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        const auto changed = everyPropertySet();
        changes[i](*changed);
        EXPECT_FALSE(base->isAllPropertiesEqual(*changed)) << "change " << i;
    }
    // Tags compare as sets.
    const auto reordered = everyPropertySet();
    reordered->setTags({u"home"_s, u"animals"_s, u"x"_s});
    reordered->setTags({u"home"_s, u"animals"_s});
    EXPECT_TRUE(base->isAllPropertiesEqual(*reordered));
}

TEST(QLXWordTest, IsEqualToWordLooksAtTheTwoSidesOnly)
{
    const auto base = everyPropertySet();
    EXPECT_TRUE(base->isEqualToWord(*word(u"the cat"_s, u"die Katze"_s)));
    EXPECT_FALSE(base->isEqualToWord(*word(u"The cat"_s, u"die Katze"_s)));
    EXPECT_FALSE(base->isEqualToWord(*word(u"the cat"_s, u"Katze"_s)));
}

TEST(QLXWordTest, ACopyIsAnotherObjectWithEqualPropertiesAndTheSameVocabulary)
{
    lexi::test::FakeVocabularyServices fakes;
    const auto vocabulary = Lexicarta::create(fakes.services);
    const auto original = everyPropertySet();
    vocabulary->addWord(original);
    const auto copy = original->copy();
    EXPECT_NE(copy, original);
    EXPECT_TRUE(copy->isAllPropertiesEqual(*original));
    EXPECT_EQ(copy->weakVocForSort().lock(), vocabulary);
    EXPECT_EQ(copy->tagsSorted(), original->tagsSorted());
    // What is stored of both is shared until one of them changes.
    const auto stored = original->storedForm();
    EXPECT_EQ(original->copy()->storedForm(), stored);
    copy->addTag(u"pets"_s);
    EXPECT_EQ(original->tags().size(), 2);
    EXPECT_EQ(copy->storedForm()->tags.size(), 3);
    EXPECT_EQ(original->storedForm(), stored);
}

TEST(QLXWordTest, DescriptionShowsLevelSidesCommentAndAge)
{
    lexi::test::FakeClock clock;
    auto w = word(u"house"_s, u"Haus"_s, u"note"_s);
    w->setLevel(3);
    EXPECT_EQ(w->description(clock), u"3 <Haus = house> note never  "_s);
    w->setLastAsked(clock.now().addingSeconds(-3 * 3600));
    EXPECT_EQ(w->description(clock), u"3 <Haus = house> note 3 Hours  "_s);
}

TEST(QLXWordTest, DictionaryWritesOnlyWhatIsSetAndReadsItBack)
{
    EXPECT_EQ(QLXWord().dictionaryRepresentation(), json(R"({"yw": "", "fw": ""})"));

    const auto full = everyPropertySet();
    const QJsonObject written = full->dictionaryRepresentation();
    EXPECT_EQ(written, json(R"({"yw": "the cat", "fw": "die Katze", "c": "sits on the mat", "daa": true,
                                "la": 1431000000, "t": ["animals", "home"], "mid": 1431000001,
                                "cid": 452000000, "wc": 3, "l": 4})"));
    EXPECT_TRUE(written["la"_L1].toVariant().typeId() == QMetaType::LongLong);
    EXPECT_TRUE(QLXWord::initWithDictionary(written)->isAllPropertiesEqual(*full));

    // Identifiers of 0 or below are not written.
    full->setCreationID(-7);
    full->setModificationID(0);
    EXPECT_FALSE(full->dictionaryRepresentation().contains("cid"_L1));
    EXPECT_FALSE(full->dictionaryRepresentation().contains("mid"_L1));
}

TEST(QLXWordTest, LastAskedIsReadWithItsFractionAndWrittenAsSignedWholeSeconds)
{
    const auto fractional = QLXWord::initWithDictionary(json(R"({"la": 1431000000.75})"));
    EXPECT_EQ(fractional->lastAsked(), Date::fromSecondsSince1970(1431000000.75));
    EXPECT_EQ(fractional->dictionaryRepresentation()["la"_L1].toInteger(), 1431000000);

    // Before 1970 the whole seconds stay negative instead of wrapping around.
    const auto early = QLXWord::initWithDictionary(json(R"({"la": -86400.5})"));
    EXPECT_EQ(early->dictionaryRepresentation()["la"_L1].toInteger(), -86400);
}

TEST(QLXWordTest, DictionaryValuesOfTheWrongKindReadAsMissing)
{
    const struct
    {
        const char *dictionary;
        std::function<bool(const QLXWord &)> check;
    } cases[] = {
        {R"({"yw": 5, "fw": ["x"], "c": {}})",
         [](const QLXWord &w) { return w.yourWord().isEmpty() && w.foreignWord().isEmpty() && w.comment().isEmpty(); }},
        {R"({"yw": "  padded  "})", [](const QLXWord &w) { return w.yourWord() == u"padded"_s; }},
        {R"({"l": -3, "wc": -1})", [](const QLXWord &w) { return w.level() == 0 && w.fallenDownCounter() == 0; }},
        {R"({"l": "2"})", [](const QLXWord &w) { return w.level() == 0; }},
        {R"({"l": 2.7})", [](const QLXWord &w) { return w.level() == 2; }},
        {R"({"l": 1e300})", [](const QLXWord &w) { return w.level() > 5; }},
        {R"({"cid": -5, "mid": "1"})", [](const QLXWord &w) { return w.creationID() == 0 && w.modificationID() == 0; }},
        {R"({"cid": 9007199254740993})", [](const QLXWord &w) { return w.creationID() == 9007199254740993; }},
        {R"({"la": "yesterday"})", [](const QLXWord &w) { return !w.lastAsked(); }},
        {R"({"la": 1e300})", [](const QLXWord &w) { return !w.lastAsked(); }},
        {R"({"t": "food"})", [](const QLXWord &w) { return w.tags().isEmpty(); }},
        {R"({"t": ["a", 3, "a", null, "b"]})",
         [](const QLXWord &w) { return w.tags() == QStringList{u"a"_s, u"b"_s} && w.tagsSorted() == w.tags(); }},
        {R"({"daa": 1})", [](const QLXWord &w) { return w.dontAskAgain(); }},
        {R"({"daa": "yes"})", [](const QLXWord &w) { return !w.dontAskAgain(); }},
    };
    for (const auto &c : cases)
        EXPECT_TRUE(c.check(*QLXWord::initWithDictionary(json(c.dictionary)))) << c.dictionary;
}

TEST(QLXWordTest, KeyedArchiveRoundTripKeepsEveryProperty)
{
    const auto full = everyPropertySet();
    full->setLastAsked(Date::fromSecondsSinceReferenceDate(452000000.25));
    EXPECT_TRUE(lexi::test::archiveRoundTrip(*full)->isAllPropertiesEqual(*full));
    EXPECT_TRUE(lexi::test::archiveRoundTrip(QLXWord())->isAllPropertiesEqual(QLXWord()));
}

TEST(QLXWordTest, KeyedArchiveWritesTheFieldsInOrderWithTheirTypes)
{
    lexi::KeyedArchiver archiver;
    const quint64 root = archiver.encodeRootObject(*everyPropertySet());
    const lexi::PlistPointer objects = archiver.takeObjects();
    plist_t fields = plist_array_get_item(objects.get(), uint32_t(root));
    EXPECT_EQ(lexi::test::dictionaryKeys(fields),
              (std::vector<std::string>{"$class", "yourWord", "foreignWord", "comment", "lastAsked", "tags",
                                        "dontAskAgain", "creationID", "modificationID", "wrongAnswerCounter",
                                        "level"}));
    const struct
    {
        const char *key;
        plist_type type;
    } types[] = {{"yourWord", PLIST_UID}, {"lastAsked", PLIST_UID},  {"tags", PLIST_UID},
                 {"dontAskAgain", PLIST_BOOLEAN}, {"creationID", PLIST_UINT}, {"level", PLIST_UINT}};
    for (const auto &t : types)
        EXPECT_EQ(plist_get_node_type(plist_dict_get_item(fields, t.key)), t.type) << t.key;
}

// A word as Foundation archives it, references as XML writes them, with a negative identifier,
// a mutable string for the comment and no tag set.
const char *const foundationWord = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>$archiver</key><string>NSKeyedArchiver</string>
<key>$objects</key><array>
  <string>$null</string>
  <dict>
    <key>$class</key><dict><key>CF$UID</key><integer>7</integer></dict>
    <key>comment</key><dict><key>CF$UID</key><integer>4</integer></dict>
    <key>creationID</key><integer>-42</integer>
    <key>dontAskAgain</key><true/>
    <key>foreignWord</key><dict><key>CF$UID</key><integer>2</integer></dict>
    <key>lastAsked</key><dict><key>CF$UID</key><integer>5</integer></dict>
    <key>level</key><integer>4</integer>
    <key>modificationID</key><integer>1431000000</integer>
    <key>tags</key><dict><key>CF$UID</key><integer>0</integer></dict>
    <key>wrongAnswerCounter</key><integer>3</integer>
    <key>yourWord</key><dict><key>CF$UID</key><integer>3</integer></dict>
  </dict>
  <string>die Katze</string>
  <string>  the cat </string>
  <dict>
    <key>$class</key><dict><key>CF$UID</key><integer>8</integer></dict>
    <key>NS.string</key><string>sits on the mat</string>
  </dict>
  <dict>
    <key>$class</key><dict><key>CF$UID</key><integer>6</integer></dict>
    <key>NS.time</key><real>452000000.5</real>
  </dict>
  <dict>
    <key>$classes</key><array><string>NSDate</string><string>NSObject</string></array>
    <key>$classname</key><string>NSDate</string>
  </dict>
  <dict>
    <key>$classes</key><array><string>QLXWord</string><string>NSObject</string></array>
    <key>$classname</key><string>QLXWord</string>
  </dict>
  <dict>
    <key>$classes</key><array><string>NSMutableString</string><string>NSString</string><string>NSObject</string></array>
    <key>$classname</key><string>NSMutableString</string>
  </dict>
</array>
<key>$top</key><dict><key>root</key><dict><key>CF$UID</key><integer>1</integer></dict></dict>
<key>$version</key><integer>100000</integer>
</dict></plist>)";

TEST(QLXWordTest, ReadsAWordArchivedByFoundation)
{
    const lexi::PlistPointer archive = lexi::test::parseXmlPlist(foundationWord);
    lexi::KeyedUnarchiver unarchiver(plist_dict_get_item(archive.get(), "$objects"));
    const auto decoder = unarchiver.decoderForObject(
        plist_dict_get_item(plist_dict_get_item(archive.get(), "$top"), "root"), QLXWord::archiveClassName);
    ASSERT_TRUE(decoder);
    const auto w = QLXWord::initWithCoder(*decoder);
    EXPECT_EQ(w->yourWord(), u"the cat"_s);
    EXPECT_EQ(w->foreignWord(), u"die Katze"_s);
    EXPECT_EQ(w->comment(), u"sits on the mat"_s);
    EXPECT_EQ(w->lastAsked(), Date::fromSecondsSinceReferenceDate(452000000.5));
    EXPECT_TRUE(w->tags().isEmpty());
    EXPECT_TRUE(w->dontAskAgain());
    EXPECT_EQ(w->creationID(), 0);
    EXPECT_EQ(w->modificationID(), 1431000000);
    EXPECT_EQ(w->fallenDownCounter(), 3u);
    EXPECT_EQ(w->level(), 4u);
}

} // namespace
