#include "support/FakeVocabularyServices.h"

#include "model/CreationIdentifiers.h"
#include "model/Lexicarta.h"

#include <gtest/gtest.h>

#include <QJsonDocument>

#include <functional>
#include <map>
#include <thread>

using namespace Qt::StringLiterals;
using lexi::Date;
using lexi::WordList;

namespace {

// A word as a case table states it.
struct WordSketch
{
    WordSketch(qint64 id, const QString &yourWord, const QString &foreignWord)
        : id(id), yourWord(yourWord), foreignWord(foreignWord)
    {
    }
    WordSketch &atLevel(quint64 value)
    {
        level = value;
        return *this;
    }
    WordSketch &editedAt(qint64 seconds)
    {
        modificationID = seconds;
        return *this;
    }
    WordSketch &notAskedAgain()
    {
        dontAskAgain = true;
        return *this;
    }
    WordSketch &askedAt(double seconds)
    {
        lastAsked = seconds;
        return *this;
    }
    WordSketch &withComment(const QString &text)
    {
        comment = text;
        return *this;
    }
    WordSketch &withTag(const QString &tag)
    {
        tags.append(tag);
        return *this;
    }

    std::shared_ptr<QLXWord> make() const
    {
        auto word = std::make_shared<QLXWord>(yourWord, foreignWord, comment);
        word->setCreationID(id);
        word->setLevel(level);
        word->setModificationID(modificationID);
        word->setDontAskAgain(dontAskAgain);
        if (lastAsked)
            word->setLastAsked(Date::fromSecondsSinceReferenceDate(*lastAsked));
        word->setTags(tags);
        return word;
    }

    qint64 id;
    QString yourWord;
    QString foreignWord;
    QString comment;
    QStringList tags;
    quint64 level = 0;
    qint64 modificationID = 0;
    bool dontAskAgain = false;
    std::optional<double> lastAsked;
};

class MergeTestBase : public testing::Test
{
protected:
    std::shared_ptr<Lexicarta> vocabularyOf(const std::vector<WordSketch> &sketches, const QString &origin)
    {
        auto vocabulary = Lexicarta::create(fakes.services);
        WordList words;
        for (const WordSketch &sketch : sketches) {
            words.append(sketch.make());
            words.last()->setWeakVocForSort(vocabulary);
            origins[words.last().get()] = origin + QString::number(words.size() - 1);
        }
        vocabulary->setAllWords(words);
        return vocabulary;
    }

    // Another copy of the vocabulary, as another installation loads it.
    std::shared_ptr<Lexicarta> copyOf(const Lexicarta &vocabulary)
    {
        auto copy = Lexicarta::create(fakes.services);
        WordList words;
        for (const auto &word : vocabulary.allWords())
            words.append(word->copy());
        copy->setAllWords(words);
        return copy;
    }

    // "L0 your/foreign l2 daa @100": where the word object came from and what it holds.
    QStringList described(const WordList &words) const
    {
        QStringList texts;
        for (const auto &word : words) {
            QString text = origins.at(word.get()) + u' ' + word->yourWord() + u'/' + word->foreignWord() + u" l"_s
                           + QString::number(word->level());
            if (word->dontAskAgain())
                text += u" daa"_s;
            if (word->lastAsked())
                text += u" @"_s + QString::number(word->lastAsked()->secondsSinceReferenceDate());
            texts.append(text);
        }
        texts.sort();
        return texts;
    }

    lexi::test::FakeVocabularyServices fakes;
    std::map<const QLXWord *, QString> origins;
};

struct MergeCase
{
    const char *name;
    std::vector<WordSketch> local;
    std::vector<WordSketch> remote;
    QStringList merged;
};

void PrintTo(const MergeCase &c, std::ostream *out)
{
    *out << c.name;
}

class MergeTest : public MergeTestBase, public testing::WithParamInterface<MergeCase>
{
};

TEST_P(MergeTest, TakesOverTheOtherVersionWordByWord)
{
    const auto local = vocabularyOf(GetParam().local, u"L"_s);
    const auto remote = vocabularyOf(GetParam().remote, u"R"_s);
    local->mergeWithOtherVersion(*remote);
    EXPECT_EQ(described(local->allWords()), GetParam().merged);
    for (const auto &word : local->allWords())
        EXPECT_EQ(word->weakVocForSort().lock(), local);
}

// All a vocabulary holds of its words, in stored order, and what it derives from them.
QStringList everythingOf(Lexicarta &vocabulary)
{
    const auto describe = [&vocabulary](const WordList &words) {
        QStringList texts;
        for (const auto &word : words) {
            texts.append(QString::number(word->creationID()) + u' ' + word->yourWord() + u'/' + word->foreignWord()
                         + u" \""_s + word->comment() + u"\" ["_s + word->tags().join(u',') + u"] l"_s
                         + QString::number(word->level()) + u" m"_s + QString::number(word->modificationID())
                         + (word->dontAskAgain() ? u" daa"_s : QString())
                         + (word->lastAsked() ? u" @"_s + QString::number(word->lastAsked()->secondsSinceReferenceDate())
                                              : QString())
                         + (word->weakVocForSort().lock().get() == &vocabulary ? QString() : u" unlinked"_s));
        }
        return texts;
    };
    QStringList everything = describe(vocabulary.allWords());
    for (quint64 level = 0; level <= QLXWord::nativeLevel; ++level)
        everything += u"level %1: "_s.arg(level) + describe(vocabulary.wordsInLevel(level)).join(u"; "_s);
    everything += u"native to ask: "_s + describe(vocabulary.nativeWithoutDontAsk()).join(u"; "_s);
    everything += u"synonyms: "_s + describe(vocabulary.synonyms()).join(u"; "_s);
    everything += u"tags: "_s + vocabulary.allTags().join(u", "_s);
    everything += QString::fromUtf8(QJsonDocument(vocabulary.dictionaryRepresentation()).toJson());
    return everything;
}

TEST_P(MergeTest, AMergePreparedOnAnotherThreadEqualsTheMergeHere)
{
    const auto here = vocabularyOf(GetParam().local, u"L"_s);
    const auto elsewhere = copyOf(*here);
    elsewhere->setStatistics(here->statistics());
    const auto remote = vocabularyOf(GetParam().remote, u"R"_s);
    const QStringList remoteBefore = everythingOf(*remote);

    Lexicarta::PreparedMerge merge = elsewhere->prepareMerge();
    std::thread([&] { merge.merge(*remote); }).join();
    ASSERT_TRUE(elsewhere->takePreparedMerge(std::move(merge)));
    here->mergeWithOtherVersion(*copyOf(*remote));
    EXPECT_EQ(everythingOf(*elsewhere), everythingOf(*here));
    // The other version stays as it was, for a merge here should the prepared one come too late.
    EXPECT_EQ(everythingOf(*remote), remoteBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MergeTest,
    testing::Values(
        MergeCase{"a missing word is appended",
                  {WordSketch(1, u"a"_s, u"A"_s)},
                  {WordSketch(1, u"a"_s, u"A"_s), WordSketch(2, u"b"_s, u"B"_s).atLevel(3)},
                  {u"L0 a/A l0"_s, u"R1 b/B l3"_s}},
        MergeCase{"a remote edit of lower level replaces",
                  {WordSketch(1, u"a"_s, u"A"_s).atLevel(3).editedAt(100)},
                  {WordSketch(1, u"a2"_s, u"A"_s).atLevel(1).editedAt(200)},
                  {u"R0 a2/A l1"_s}},
        MergeCase{"a remote edit older than the local one changes nothing",
                  {WordSketch(1, u"a"_s, u"A"_s).atLevel(3).editedAt(200)},
                  {WordSketch(1, u"a2"_s, u"A"_s).atLevel(1).editedAt(100)},
                  {u"L0 a/A l3"_s}},
        MergeCase{"an unedited remote word of lower level changes nothing",
                  {WordSketch(1, u"a"_s, u"A"_s).atLevel(3)},
                  {WordSketch(1, u"a"_s, u"A"_s).atLevel(2).notAskedAgain().askedAt(500)},
                  {u"L0 a/A l3"_s}},
        MergeCase{"a remote word of higher level replaces",
                  {WordSketch(1, u"a"_s, u"A"_s).atLevel(2).askedAt(900)},
                  {WordSketch(1, u"a"_s, u"A"_s).atLevel(3).askedAt(100)},
                  {u"R0 a/A l3 @100"_s}},
        MergeCase{"equal levels keep the local word with don't-ask-again and the later lastAsked",
                  {WordSketch(1, u"a"_s, u"A"_s).atLevel(2).askedAt(100)},
                  {WordSketch(1, u"a"_s, u"A"_s).atLevel(2).notAskedAgain().askedAt(200)},
                  {u"L0 a/A l2 daa @200"_s}},
        MergeCase{"equal levels keep a later local lastAsked",
                  {WordSketch(1, u"a"_s, u"A"_s).atLevel(2).askedAt(300)},
                  {WordSketch(1, u"a"_s, u"A"_s).atLevel(2).askedAt(200)},
                  {u"L0 a/A l2 @300"_s}},
        MergeCase{"equal levels leave a local word never asked",
                  {WordSketch(1, u"a"_s, u"A"_s).atLevel(2)},
                  {WordSketch(1, u"a"_s, u"A"_s).atLevel(2).askedAt(200)},
                  {u"L0 a/A l2"_s}},
        MergeCase{"levels above native count as native",
                  {WordSketch(1, u"a"_s, u"A"_s).atLevel(5)},
                  {WordSketch(1, u"a"_s, u"A"_s).atLevel(7).notAskedAgain()},
                  {u"L0 a/A l5 daa"_s}},
        MergeCase{"a local-only word stays",
                  {WordSketch(1, u"a"_s, u"A"_s), WordSketch(3, u"c"_s, u"C"_s)},
                  {WordSketch(1, u"a"_s, u"A"_s)},
                  {u"L0 a/A l0"_s, u"L1 c/C l0"_s}},
        MergeCase{"of local words sharing an identifier the one equal in text is replaced",
                  {WordSketch(5, u"a"_s, u"A"_s), WordSketch(5, u"c"_s, u"C"_s)},
                  {WordSketch(5, u"c"_s, u"C"_s).atLevel(4)},
                  {u"L0 a/A l0"_s, u"R0 c/C l4"_s}},
        MergeCase{"an edited word goes to the one local word of its identifier not yet paired",
                  {WordSketch(5, u"a"_s, u"A"_s), WordSketch(5, u"c"_s, u"C"_s)},
                  {WordSketch(5, u"a"_s, u"A"_s), WordSketch(5, u"c2"_s, u"C"_s).editedAt(100)},
                  {u"L0 a/A l0"_s, u"R1 c2/C l0"_s}},
        MergeCase{"a word that cannot be told to be either local word is added",
                  {WordSketch(5, u"a"_s, u"A"_s), WordSketch(5, u"c"_s, u"C"_s)},
                  {WordSketch(5, u"e"_s, u"E"_s).editedAt(100)},
                  {u"L0 a/A l0"_s, u"L1 c/C l0"_s, u"R0 e/E l0"_s}},
        MergeCase{"a second remote word of one identifier is added",
                  {WordSketch(5, u"a"_s, u"A"_s)},
                  {WordSketch(5, u"a"_s, u"A"_s), WordSketch(5, u"c"_s, u"C"_s)},
                  {u"L0 a/A l0"_s, u"R1 c/C l0"_s}},
        MergeCase{"a remote word listed twice is merged as one",
                  {WordSketch(5, u"a"_s, u"A"_s).atLevel(1)},
                  {WordSketch(5, u"a"_s, u"A"_s).atLevel(2), WordSketch(5, u"a"_s, u"A"_s).atLevel(3)},
                  {u"R1 a/A l3"_s}}));

class CombineTest : public MergeTestBase
{
};

TEST_F(CombineTest, MergedWordsShowInTheLevelListsTagsAndSynonyms)
{
    const auto local = vocabularyOf({WordSketch(1, u"house"_s, u"Haus"_s)}, u"L"_s);
    const auto remote = vocabularyOf(
        {WordSketch(1, u"house"_s, u"Haus"_s), WordSketch(2, u"building"_s, u"Haus"_s).atLevel(2).withTag(u"town"_s)}, u"R"_s);
    ASSERT_TRUE(local->level2Words().isEmpty());
    ASSERT_TRUE(local->synonyms().isEmpty());
    local->mergeWithOtherVersion(*remote);
    EXPECT_EQ(described(local->level2Words()), QStringList{u"R1 building/Haus l2"_s});
    EXPECT_EQ(local->allTags(), QStringList{u"town"_s});
    EXPECT_EQ(described(local->synonyms()), (QStringList{u"L0 house/Haus l0"_s, u"R1 building/Haus l2"_s}));
}

TEST_F(CombineTest, MergingOrJoiningAVocabularyWithItselfChangesNothing)
{
    // Stored out of order, so that anything finding the synonyms anew would reorder them.
    const auto vocabulary = vocabularyOf({WordSketch(1, u"b"_s, u"B"_s).atLevel(3), WordSketch(2, u"a"_s, u"A"_s).atLevel(1)},
                                         u"V"_s);
    const WordList before = vocabulary->allWords();
    vocabulary->mergeWithOtherVersion(*vocabulary);
    vocabulary->joinWithVocabulary(*vocabulary, true);
    EXPECT_EQ(vocabulary->allWords(), before);
    EXPECT_EQ(described(before), (QStringList{u"V0 b/B l3"_s, u"V1 a/A l1"_s}));
    EXPECT_EQ(before[0]->creationID(), 1);
}

TEST_F(CombineTest, JoiningAddsTheWordsNotYetHereAsABatch)
{
    const auto here = vocabularyOf({WordSketch(1, u"bank"_s, u"Bank"_s).atLevel(4)}, u"H"_s);
    const auto other = vocabularyOf({WordSketch(7, u"bank"_s, u"Bank"_s).atLevel(2),
                                     WordSketch(8, u"Bank"_s, u"Bank"_s).atLevel(3).askedAt(50),
                                     WordSketch(9, u"tree"_s, u"Baum"_s).atLevel(1).notAskedAgain(),
                                     WordSketch(10, u"tree"_s, u"Baum"_s)},
                                    u"O"_s);
    const WordList incoming = other->allWords();
    here->joinWithVocabulary(*other, false);
    EXPECT_EQ(described(here->allWords()),
              (QStringList{u"H0 bank/Bank l4"_s, u"O1 Bank/Bank l3 @50"_s, u"O2 tree/Baum l1 daa"_s}));
    // The words taken get new identifiers; the one passed over keeps its own.
    EXPECT_TRUE(lexi::CreationIdentifierMaker::isMadeHere(incoming[1]->creationID()));
    EXPECT_TRUE(lexi::CreationIdentifierMaker::isMadeHere(incoming[2]->creationID()));
    EXPECT_NE(incoming[2]->creationID(), incoming[1]->creationID());
    EXPECT_EQ(incoming[3]->creationID(), 10);
    EXPECT_EQ(incoming[1]->weakVocForSort().lock(), here);
    EXPECT_EQ(described(here->level3Words()), QStringList{u"O1 Bank/Bank l3 @50"_s});
}

TEST_F(CombineTest, JoiningIntoUnknownSetsEveryIncomingWordToLevelZero)
{
    const auto here = vocabularyOf({WordSketch(1, u"a"_s, u"A"_s).atLevel(4)}, u"H"_s);
    const auto other = vocabularyOf({WordSketch(1, u"a"_s, u"A"_s).atLevel(3), WordSketch(2, u"b"_s, u"B"_s).atLevel(5)}, u"O"_s);
    const WordList incoming = other->allWords();
    here->joinWithVocabulary(*other, true);
    EXPECT_EQ(described(here->allWords()), (QStringList{u"H0 a/A l4"_s, u"O1 b/B l0"_s}));
    // The word not taken is set back too, in the other vocabulary.
    EXPECT_EQ(incoming[0]->level(), 0);

    // With every word here already, nothing changes here.
    const auto same = vocabularyOf({WordSketch(3, u"a"_s, u"A"_s).atLevel(2)}, u"S"_s);
    const WordList before = here->allWords();
    here->joinWithVocabulary(*same, true);
    EXPECT_EQ(here->allWords(), before);
    EXPECT_EQ(described(here->allWords()), (QStringList{u"H0 a/A l4"_s, u"O1 b/B l0"_s}));
}

struct DuplicateCase
{
    const char *name;
    WordSketch first;
    WordSketch second;
    const char *kept;
};

void PrintTo(const DuplicateCase &c, std::ostream *out)
{
    *out << c.name;
}

class DuplicateTest : public MergeTestBase, public testing::WithParamInterface<DuplicateCase>
{
};

TEST_P(DuplicateTest, KeepsTheBetterOfTwoDuplicates)
{
    const auto vocabulary = vocabularyOf({GetParam().first, GetParam().second}, u"W"_s);
    EXPECT_EQ(vocabulary->deleteDuplicates(), 1);
    ASSERT_EQ(vocabulary->countAllWords(), 1);
    EXPECT_EQ(origins.at(vocabulary->allWords().front().get()), QString::fromLatin1(GetParam().kept));
}

WordSketch dup(quint64 level)
{
    return WordSketch(1, u"a"_s, u"A"_s).atLevel(level);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DuplicateTest,
    testing::Values(DuplicateCase{"the higher level wins", dup(2), dup(4), "W1"},
                    DuplicateCase{"the higher level wins first", dup(4), dup(2), "W0"},
                    DuplicateCase{"a higher level wins over a comment", dup(1).withComment(u"c"_s), dup(2), "W1"},
                    DuplicateCase{"levels above native count as native", dup(5).withComment(u"c"_s), dup(7), "W0"},
                    DuplicateCase{"equal levels: the one with a comment", dup(2), dup(2).withComment(u"c"_s), "W1"},
                    DuplicateCase{"equal levels: the first with a comment", dup(2).withComment(u"c"_s), dup(2), "W0"},
                    DuplicateCase{"equal levels: the one with tags", dup(2), dup(2).withTag(u"t"_s), "W1"},
                    DuplicateCase{"equal levels: tags over a comment alone", dup(2).withComment(u"c"_s),
                                  dup(2).withTag(u"t"_s), "W1"},
                    DuplicateCase{"equal levels: both with a comment, the one with tags",
                                  dup(2).withComment(u"c"_s), dup(2).withComment(u"d"_s).withTag(u"t"_s), "W1"},
                    DuplicateCase{"otherwise the first stays", dup(3), dup(3), "W0"}));

TEST_F(CombineTest, DuplicateDeletionFindsEveryDuplicateWhateverTheOrder)
{
    const auto vocabulary = vocabularyOf({WordSketch(1, u"the house"_s, u"Haus"_s).atLevel(1), WordSketch(2, u"house"_s, u"Haus"_s),
                                          WordSketch(3, u"the house"_s, u"Haus"_s).atLevel(3), WordSketch(4, u"Bank"_s, u"x"_s),
                                          WordSketch(5, u"bank"_s, u"x"_s), WordSketch(6, u"Bank"_s, u"x"_s).withTag(u"t"_s),
                                          WordSketch(7, u"b-c"_s, u"a"_s), WordSketch(8, u"c"_s, u"a-b"_s),
                                          WordSketch(9, u"Bank"_s, u"x"_s)},
                                         u"W"_s);
    vocabulary->setYourFacultativeWords({u"the"_s});
    // One word object listed twice is one word: it stays, listed once, and counts as removed once.
    WordList words = vocabulary->allWords();
    words.append(words[1]);
    vocabulary->setAllWords(words);
    EXPECT_EQ(vocabulary->deleteDuplicates(), 4);
    EXPECT_EQ(described(vocabulary->allWords()),
              (QStringList{u"W1 house/Haus l0"_s, u"W2 the house/Haus l3"_s, u"W4 bank/x l0"_s,
                           u"W5 Bank/x l0"_s, u"W6 b-c/a l0"_s, u"W7 c/a-b l0"_s}));
    EXPECT_EQ(described(vocabulary->level3Words()), QStringList{u"W2 the house/Haus l3"_s});
}

TEST_F(CombineTest, BatchAddingNumbersWordsWithoutIdentifierAndLinksThemBack)
{
    const auto vocabulary = vocabularyOf({WordSketch(600000001, u"a"_s, u"A"_s)}, u"V"_s);
    const auto first = WordSketch(-1, u"b"_s, u"A"_s).make();
    const auto kept = WordSketch(0, u"c"_s, u"C"_s).make();
    const auto second = WordSketch(-5, u"d"_s, u"D"_s).atLevel(2).make();
    const auto given = WordSketch(600000002, u"e"_s, u"E"_s).make();
    vocabulary->batchAddWords({first, nullptr, kept, second, given});
    // Negative ones get new identifiers; 0 and positive ones stay.
    EXPECT_TRUE(lexi::CreationIdentifierMaker::isMadeHere(first->creationID()));
    EXPECT_TRUE(lexi::CreationIdentifierMaker::isMadeHere(second->creationID()));
    EXPECT_NE(first->creationID(), second->creationID());
    EXPECT_EQ(kept->creationID(), 0);
    EXPECT_EQ(given->creationID(), 600000002);
    EXPECT_EQ(vocabulary->countAllWords(), 5);
    EXPECT_EQ(second->weakVocForSort().lock(), vocabulary);
    EXPECT_EQ(vocabulary->level2Words(), WordList{second});
    EXPECT_EQ(vocabulary->synonymsForWord(*first).size(), 1);
}

TEST_F(CombineTest, BatchIdentifiersAreRangesOfNewIdentifiersThatNeverRepeat)
{
    const auto vocabulary = vocabularyOf({}, u"V"_s);
    const auto copy = vocabularyOf({}, u"C"_s);
    const qint64 first = vocabulary->batchImportIdForRange(99);
    const qint64 second = vocabulary->batchImportIdForRange(99);
    const qint64 third = copy->batchImportIdForRange(10000);
    for (const qint64 base : {first, second, third})
        EXPECT_TRUE(lexi::CreationIdentifierMaker::isMadeHere(base));
    EXPECT_TRUE(second >= first + 99 || first >= second + 99);
    EXPECT_TRUE(third >= first + 99 || first >= third + 10000);
}

TEST_F(CombineTest, TwoWordsThatOnlyShareTheirIdentifierAreBothKept)
{
    struct Case
    {
        const char *name;
        WordSketch local;
        WordSketch remote;
        QStringList merged;
        // Whether the remote word came in under the identifier derived from its own.
        bool renumbered;
    };
    const Case cases[] = {
        {"two unedited words", WordSketch(5, u"a"_s, u"A"_s).atLevel(1), WordSketch(5, u"b"_s, u"B"_s).atLevel(3),
         {u"L0 a/A l1"_s, u"R0 b/B l3"_s}, true},
        {"only the foreign word differs", WordSketch(5, u"a"_s, u"A"_s), WordSketch(5, u"a"_s, u"X"_s),
         {u"L0 a/A l0"_s, u"R0 a/X l0"_s}, true},
        // Edits still travel.
        {"the remote word was edited", WordSketch(5, u"a"_s, u"A"_s), WordSketch(5, u"b"_s, u"B"_s).editedAt(100),
         {u"R0 b/B l0"_s}, false},
        {"the local word was edited", WordSketch(5, u"a"_s, u"A"_s).editedAt(100).atLevel(2),
         WordSketch(5, u"b"_s, u"B"_s).atLevel(1), {u"L0 a/A l2"_s}, false},
        {"the same word", WordSketch(5, u"a"_s, u"A"_s).atLevel(1), WordSketch(5, u"a"_s, u"A"_s).atLevel(3),
         {u"R0 a/A l3"_s}, false},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        const auto local = vocabularyOf({test.local, WordSketch(6, u"c"_s, u"C"_s)}, u"L"_s);
        const auto remote = vocabularyOf({test.remote}, u"R"_s);
        const auto remoteWord = remote->allWords().front();
        const qint64 derived = lexi::derivedCreationID(*remoteWord);
        local->mergeWithOtherVersion(*remote);
        QStringList merged = described(local->allWords());
        merged.removeAll(u"L1 c/C l0"_s);
        EXPECT_EQ(merged, test.merged);
        if (test.renumbered) {
            EXPECT_EQ(remoteWord->creationID(), derived);
            EXPECT_EQ(local->findWordByID(5)->yourWord(), test.local.yourWord);
        } else {
            EXPECT_EQ(remoteWord->creationID(), 5);
        }
    }
}

TEST_F(CombineTest, CopiesThatEachMetTwoWordsSharingAnIdentifierAgreeOnThemAfterwards)
{
    // Here and there a word of identifier 5; each merged the other's, and so did a third copy
    // that still has the older identifier for the one word it holds.
    const auto here = [this] { return vocabularyOf({WordSketch(5, u"a"_s, u"A"_s)}, u"H"_s); };
    const auto there = [this] { return vocabularyOf({WordSketch(5, u"b"_s, u"B"_s)}, u"T"_s); };
    const auto mergedHere = here();
    mergedHere->mergeWithOtherVersion(*there());
    const auto mergedThere = there();
    mergedThere->mergeWithOtherVersion(*here());
    const QStringList both = {u"a/A"_s, u"b/B"_s};
    const auto texts = [](const Lexicarta &vocabulary) {
        QStringList texts;
        for (const auto &word : vocabulary.allWords())
            texts.append(word->yourWord() + u'/' + word->foreignWord());
        texts.sort();
        return texts;
    };
    const struct
    {
        const char *name;
        std::function<std::shared_ptr<Lexicarta>()> base;
        std::function<std::shared_ptr<Lexicarta>()> other;
    } cases[] = {
        {"there's merge into here's", [&] { return copyOf(*mergedHere); }, [&] { return copyOf(*mergedThere); }},
        {"here's merge into there's", [&] { return copyOf(*mergedThere); }, [&] { return copyOf(*mergedHere); }},
        {"an older copy into here's merge", [&] { return copyOf(*mergedHere); }, there},
        {"here's merge into an older copy", there, [&] { return copyOf(*mergedHere); }},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        const auto base = test.base();
        const auto other = test.other();
        base->mergeWithOtherVersion(*other);
        EXPECT_EQ(texts(*base), both);
    }
}

TEST_F(CombineTest, AMergeTellsWhetherItChangedAnything)
{
    const auto local = [this] {
        return vocabularyOf({WordSketch(1, u"a"_s, u"A"_s).atLevel(2).askedAt(100), WordSketch(2, u"b"_s, u"B"_s)},
                            u"L"_s);
    };
    const struct
    {
        const char *name;
        std::vector<WordSketch> remote;
        bool changed;
    } cases[] = {
        {"nothing new", {WordSketch(1, u"a"_s, u"A"_s).atLevel(1).askedAt(300), WordSketch(2, u"b"_s, u"B"_s)}, false},
        {"an earlier answer", {WordSketch(1, u"a"_s, u"A"_s).atLevel(2).askedAt(50)}, false},
        {"a new word", {WordSketch(3, u"c"_s, u"C"_s)}, true},
        {"a higher level", {WordSketch(2, u"b"_s, u"B"_s).atLevel(1)}, true},
        {"a later answer", {WordSketch(1, u"a"_s, u"A"_s).atLevel(2).askedAt(300)}, true},
        {"don't ask again", {WordSketch(1, u"a"_s, u"A"_s).atLevel(2).notAskedAgain()}, true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(local()->mergeWithOtherVersion(*vocabularyOf(c.remote, u"R"_s)), c.changed) << c.name;
}

TEST_F(CombineTest, APreparedMergeIsTakenOnlyWhileNothingChanged)
{
    const auto local = vocabularyOf({WordSketch(1, u"house"_s, u"Haus"_s).atLevel(2), WordSketch(2, u"tree"_s, u"Baum"_s)},
                                    u"L"_s);
    const auto remote = vocabularyOf({WordSketch(1, u"house"_s, u"Haus"_s).atLevel(2), WordSketch(2, u"tree"_s, u"Baum"_s),
                                      WordSketch(3, u"dog"_s, u"Hund"_s)},
                                     u"R"_s);
    const auto word = [&local](int index) { return local->allWords().at(index); };
    const std::vector<std::pair<const char *, std::function<void()>>> changes = {
        {"a word added", [&] { local->addWord(std::make_shared<QLXWord>(u"cat"_s, u"Katze"_s)); }},
        {"a word removed", [&] { local->removeWord(word(1)); }},
        {"an answer", [&] { local->answeredWord(*word(0), 1); }},
        {"a comment", [&] { word(0)->setComment(u"big"_s); }},
        {"a side", [&] { word(1)->setYourWord(u"trees"_s); }},
        {"a tag", [&] { word(1)->addTag(u"nature"_s); }},
        {"the statistics", [&] { local->setStatistics({}); }},
    };
    for (const auto &[name, change] : changes) {
        Lexicarta::PreparedMerge merge = local->prepareMerge();
        merge.merge(*remote);
        change();
        const QStringList changed = everythingOf(*local);
        EXPECT_FALSE(local->takePreparedMerge(std::move(merge))) << name;
        EXPECT_EQ(everythingOf(*local), changed) << name;
    }
    // Nor one that was never merged.
    EXPECT_FALSE(local->takePreparedMerge(local->prepareMerge()));

    const WordList before = local->allWords();
    const auto mergedHere = copyOf(*local);
    mergedHere->setStatistics(local->statistics());
    mergedHere->mergeWithOtherVersion(*copyOf(*remote));
    Lexicarta::PreparedMerge merge = local->prepareMerge();
    merge.merge(*remote);
    ASSERT_TRUE(local->takePreparedMerge(std::move(merge)));
    EXPECT_TRUE(local->containsWordWithID(3));
    EXPECT_EQ(everythingOf(*local), everythingOf(*mergedHere));
    // The words replaced by their merged copies no longer tell this vocabulary of their changes.
    for (const auto &old : before) {
        EXPECT_FALSE(local->allWords().contains(old));
        EXPECT_EQ(old->weakVocForSort().lock(), nullptr);
    }
}

} // namespace
