#include "support/FakeVocabularyServices.h"

#include "editor/ShownWords.h"
#include "model/Lexicarta.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace Qt::StringLiterals;
using lexi::ShownWords;
using lexi::ShownWordsQuery;
using lexi::WordColumn;

namespace {

QStringList yourWords(const lexi::WordList &words)
{
    QStringList texts;
    for (const auto &word : words)
        texts.append(word->yourWord());
    return texts;
}

class ShownWordsTest : public testing::Test
{
protected:
    ShownWordsTest()
    {
        vocabulary->setForeignFacultativeWords({u"der"_s, u"die"_s});
        const lexi::Date asked = fakes.clock.now();
        add(u"apple"_s, u"der Apfel"_s, 0, {u"fruit"_s}, u"red"_s, std::nullopt);
        add(u"Banana"_s, u"die Banane"_s, 1, {u"fruit"_s, u"yellow"_s}, QString(), asked.addingSeconds(100));
        add(u"cherry"_s, u"die Kirsche"_s, 5, {}, u"Small"_s, asked.addingSeconds(50));
        add(u"dog"_s, u"der Hund"_s, 0, {u"animal"_s}, u"barks"_s, asked.addingSeconds(10));
        add(u"hound"_s, u"der Hund"_s, 7, {u"Animal"_s}, u"big"_s, asked.addingSeconds(20));
    }

    void add(const QString &your, const QString &foreign, quint64 level, const QStringList &tags,
             const QString &comment, std::optional<lexi::Date> lastAsked)
    {
        auto word = std::make_shared<QLXWord>(your, foreign, comment);
        word->setLevel(level);
        word->setTags(tags);
        word->setLastAsked(lastAsked);
        vocabulary->addWord(word);
    }

    QStringList shown(const ShownWordsQuery &query)
    {
        words.recalculate(*vocabulary, query);
        return yourWords(words.words());
    }

    lexi::test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    ShownWords words;
};

TEST_F(ShownWordsTest, LevelsSynonymsSearchAndTagsNarrowTheWordsInSortOrder)
{
    const struct
    {
        const char *what;
        ShownWordsQuery query;
        QStringList expected;
    } cases[] = {
        {"all words", {}, {u"apple"_s, u"Banana"_s, u"cherry"_s, u"dog"_s, u"hound"_s}},
        {"level 0", {.level = 0}, {u"apple"_s, u"dog"_s}},
        {"level 2 is empty", {.level = 2}, {}},
        {"level 5 holds levels above it", {.level = 5}, {u"cherry"_s, u"hound"_s}},
        {"any other level is all words", {.level = 9}, {u"apple"_s, u"Banana"_s, u"cherry"_s, u"dog"_s, u"hound"_s}},
        {"synonyms replace the level", {.level = 0, .synonyms = true}, {u"dog"_s, u"hound"_s}},
        {"search ignores case, looks at comments", {.searchTerm = u"SMALL"_s}, {u"cherry"_s}},
        {"search looks at tags and foreign words", {.searchTerm = u"an"_s},
         {u"Banana"_s, u"dog"_s, u"hound"_s}},
        {"search within a level", {.level = 0, .searchTerm = u"a"_s}, {u"apple"_s, u"dog"_s}},
        {"any one tag passes, exactly", {.tags = {u"yellow"_s, u"animal"_s}}, {u"Banana"_s, u"dog"_s}},
        {"tags within search", {.searchTerm = u"e"_s, .tags = {u"fruit"_s}}, {u"apple"_s, u"Banana"_s}},
        {"nothing matches", {.searchTerm = u"zebra"_s}, {}},
    };
    for (const auto &test : cases)
        EXPECT_EQ(shown(test.query), test.expected) << test.what;
}

TEST_F(ShownWordsTest, EachColumnSortsAscendingAndRowsMapBothWaysWhenReversed)
{
    const struct
    {
        WordColumn column;
        QStringList ascending;
    } cases[] = {
        {WordColumn::YourWord, {u"apple"_s, u"Banana"_s, u"cherry"_s, u"dog"_s, u"hound"_s}},
        // Without the facultative article; equal keys in stored order.
        {WordColumn::ForeignWord, {u"apple"_s, u"Banana"_s, u"dog"_s, u"hound"_s, u"cherry"_s}},
        {WordColumn::Comment, {u"Banana"_s, u"dog"_s, u"hound"_s, u"apple"_s, u"cherry"_s}},
        // Fewer tags first, then the tags ignoring case.
        {WordColumn::Tags, {u"cherry"_s, u"dog"_s, u"hound"_s, u"apple"_s, u"Banana"_s}},
        // Never asked first.
        {WordColumn::LastAsked, {u"apple"_s, u"dog"_s, u"hound"_s, u"cherry"_s, u"Banana"_s}},
    };
    for (const auto &test : cases) {
        const QString column = lexi::columnIdentifier(test.column);
        words.setSortDescending(false);
        EXPECT_EQ(shown({.column = test.column}), test.ascending) << column.toStdString();

        words.setSortDescending(true);
        QStringList rows;
        for (qsizetype row = 0; row < words.count(); ++row) {
            rows.append(words.wordAtRow(row)->yourWord());
            EXPECT_EQ(words.rowOfWord(words.wordAtRow(row).get()), row) << column.toStdString();
            EXPECT_EQ(words.rowForWordIndex(words.wordIndexForRow(row)), row);
        }
        QStringList descending = test.ascending;
        std::reverse(descending.begin(), descending.end());
        EXPECT_EQ(rows, descending) << column.toStdString();
        EXPECT_EQ(yourWords(words.wordsInRowOrder()), descending) << column.toStdString();
    }
    EXPECT_EQ(words.wordAtRow(-1), nullptr);
    EXPECT_EQ(words.wordAtRow(words.count()), nullptr);
    EXPECT_EQ(words.rowOfWord(nullptr), std::nullopt);
}

TEST_F(ShownWordsTest, OrderFollowsChangedWordsListsAndFacultatives)
{
    ASSERT_EQ(shown({}).first(), u"apple"_s);
    const auto apple = words.words().first();

    apple->setYourWord(u"zucchini"_s);
    EXPECT_EQ(shown({}).last(), u"zucchini"_s);

    add(u"aardvark"_s, u"das Erdferkel"_s, 0, {}, QString(), std::nullopt);
    EXPECT_EQ(shown({}).first(), u"aardvark"_s);

    vocabulary->removeWord(apple);
    EXPECT_EQ(shown({}).last(), u"hound"_s);

    // "das" becomes facultative: Erdferkel sorts after Banane.
    EXPECT_EQ(shown({.column = WordColumn::ForeignWord}).first(), u"Banana"_s);
    vocabulary->setForeignFacultativeWords({u"der"_s, u"die"_s, u"das"_s});
    EXPECT_EQ(shown({.column = WordColumn::ForeignWord}).mid(0, 2), (QStringList{u"Banana"_s, u"aardvark"_s}));

    // The search sees changed words too.
    const auto banana = words.words().first();
    EXPECT_TRUE(shown({.searchTerm = u"zoo"_s}).isEmpty());
    banana->addTag(u"Zoo"_s);
    EXPECT_EQ(shown({.searchTerm = u"zoo"_s}), QStringList{u"Banana"_s});
    banana->setComment(u"zoo keeper"_s);
    EXPECT_EQ(shown({.searchTerm = u"keeper"_s}), QStringList{u"Banana"_s});

    banana->setTags({u"a"_s, u"b"_s, u"c"_s});
    EXPECT_EQ(shown({.column = WordColumn::Tags}).last(), u"Banana"_s);
    vocabulary->setAllWords({});
    EXPECT_TRUE(shown({.column = WordColumn::Tags}).isEmpty());
}

// A search that extends the term looks only at the words found before it, and one that takes a
// character back finds the words found then: through typing, taking back, and changes of words,
// levels and tags in between, the words kept equal those found anew. Large enough to be searched
// in slices at once.
TEST(ShownWordsSearchTest, SearchingOnFromEarlierTermsEqualsSearchingAnew)
{
    std::mt19937 random(5);
    const auto below = [&random](int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random); };
    const QString letters = u"abAB\u00dfs"_s;
    const auto text = [&] {
        QString result;
        for (int i = below(6); i > 0; --i)
            result += letters[below(int(letters.size()))];
        return result;
    };
    lexi::test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    lexi::WordList words;
    for (int i = 0; i < 12000; ++i) {
        auto word = std::make_shared<QLXWord>(text(), text(), text());
        word->setLevel(quint64(below(6)));
        word->setTags(i % 4 == 0 ? QStringList{} : QStringList{u"t%1"_s.arg(below(3))});
        words.append(word);
    }
    vocabulary->setAllWords(words);

    ShownWords kept;
    ShownWordsQuery query;
    // Typing, taking characters back, clearing; now and then a change of the words or of what
    // else narrows them.
    for (int step = 0; step < 120; ++step) {
        const lexi::WordList all = vocabulary->allWords();
        const auto &word = all[below(int(all.size()))];
        switch (below(12)) {
        case 0:
            word->setYourWord(text());
            break;
        case 1:
            vocabulary->removeWords({word});
            break;
        case 2:
            vocabulary->addWord(std::make_shared<QLXWord>(text(), text(), text()));
            break;
        case 3:
            query.level = quint64(below(7));
            break;
        case 4:
            query.tags = below(2) ? QStringList{} : QStringList{u"t1"_s};
            break;
        case 5:
            query.column = WordColumn(below(5));
            break;
        case 6:
        case 7:
            query.searchTerm.chop(1);
            break;
        case 8:
            query.searchTerm.clear();
            break;
        default:
            query.searchTerm += letters[below(int(letters.size()))];
            break;
        }
        kept.recalculate(*vocabulary, query);
        ShownWords anew;
        anew.recalculate(*vocabulary, query);
        ASSERT_TRUE(kept.words() == anew.words())
            << "step " << step << ", term \"" << query.searchTerm.toStdString() << "\"";
    }
}

// The rows `edits` lead to from `rows`, each edit made as the rows stand then.
lexi::WordList editedRows(lexi::WordList rows, const std::vector<lexi::RowEdit> &edits)
{
    for (const lexi::RowEdit &edit : edits) {
        switch (edit.kind) {
        case lexi::RowEdit::Kind::Removed:
            EXPECT_EQ(rows.at(edit.row), edit.word);
            rows.remove(edit.row);
            break;
        case lexi::RowEdit::Kind::Inserted:
            rows.insert(edit.row, edit.word);
            break;
        case lexi::RowEdit::Kind::Changed:
            EXPECT_EQ(rows.at(edit.row), edit.word);
            break;
        }
    }
    return rows;
}

// Adds, edits of the sides, levels, tags and comments, answers and deletions, one word or a few
// at a time, under a level, a search term, a tag filter or none, in either direction: the shown
// words kept and followed change by change equal those found anew, and the row edits lead from
// the rows before to the rows after. Few texts, so that many keys are equal and the stored order
// decides between them.
TEST(ShownWordsFollowTest, FollowingEachChangeEqualsFindingAnew)
{
    std::mt19937 random(17);
    const auto below = [&random](int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random); };
    const QStringList texts{u"a"_s, u"B"_s, u"the b"_s, u"ab"_s, u"A"_s, u""_s, u"Ba"_s};
    const auto text = [&] { return texts[below(int(texts.size()))]; };
    const QStringList tags{u"t0"_s, u"t1"_s, u"T1"_s};
    const auto someTags = [&] {
        QStringList result;
        for (int i = below(3); i > 0; --i)
            result.append(tags[below(int(tags.size()))]);
        return result;
    };
    lexi::test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    vocabulary->setYourFacultativeWords({u"the"_s});
    const auto makeWord = [&] {
        auto word = std::make_shared<QLXWord>(text(), text(), text());
        word->setLevel(quint64(below(7)));
        word->setTags(someTags());
        return word;
    };
    lexi::WordList words;
    for (int i = 0; i < 600; ++i)
        words.append(makeWord());
    vocabulary->setAllWords(words);
    // Finding the synonyms the first time sorts the stored words, which is no change of a few.
    vocabulary->buildSynonyms();

    const ShownWordsQuery queries[] = {
        {},
        {.level = 0},
        {.level = 5, .column = WordColumn::ForeignWord},
        {.searchTerm = u"b"_s},
        {.level = 2, .searchTerm = u"A"_s, .column = WordColumn::Comment},
        {.tags = {u"t1"_s}, .column = WordColumn::Tags},
        {.searchTerm = u"a"_s, .tags = {u"t0"_s, u"T1"_s}, .column = WordColumn::LastAsked},
    };
    ShownWords kept;
    ShownWordsQuery query;
    kept.recalculate(*vocabulary, query);
    lexi::WordList rows = kept.wordsInRowOrder();
    for (int step = 0; step < 600; ++step) {
        const ShownWordsQuery previousQuery = query;
        const bool previousDirection = kept.sortDescending();
        const bool changeWords = below(8) != 0;
        if (!changeWords) {
            query = queries[below(int(std::size(queries)))];
            kept.setSortDescending(below(2) == 1);
        }
        for (int change = below(3) + 1; changeWords && change > 0; --change) {
            const lexi::WordList all = vocabulary->allWords();
            const auto &word = all[below(int(all.size()))];
            switch (below(9)) {
            case 0:
                vocabulary->addWord(makeWord());
                break;
            case 1:
                word->setYourWord(text());
                break;
            case 2:
                word->setForeignWord(text());
                break;
            case 3:
                word->setLevel(quint64(below(7)));
                break;
            case 4:
                word->setTags(someTags());
                break;
            case 5:
                word->addTag(tags[below(int(tags.size()))]);
                break;
            case 6:
                word->setComment(text());
                break;
            case 7:
                vocabulary->answeredWord(*word, below(2) ? 1 : -1);
                break;
            default:
                vocabulary->removeWords({word, all[below(int(all.size()))]});
                break;
            }
        }
        kept.recalculate(*vocabulary, query);
        ShownWords anew;
        anew.setSortDescending(kept.sortDescending());
        anew.recalculate(*vocabulary, query);
        ASSERT_TRUE(kept.words() == anew.words()) << "step " << step;
        const std::optional<std::vector<lexi::RowEdit>> edits = kept.takeRowEdits();
        // One query on one vocabulary in one direction follows its words; another finds them anew.
        ASSERT_EQ(edits.has_value(), query == previousQuery && kept.sortDescending() == previousDirection)
            << "step " << step;
        if (edits) {
            ASSERT_TRUE(editedRows(rows, *edits) == kept.wordsInRowOrder()) << "step " << step;
        }
        rows = kept.wordsInRowOrder();
    }
}

// A word object listed twice is shown in both its places. Words of the same key that change or
// come between or after them go where finding the words anew puts them.
TEST(ShownWordsFollowTest, WordsBesideAWordListedTwiceFollowToWhereTheyBelong)
{
    for (const bool adding : {false, true}) {
        SCOPED_TRACE(adding ? "added after" : "edited between");
        lexi::test::FakeVocabularyServices fakes;
        std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
        const auto twice = std::make_shared<QLXWord>(u"bank"_s, u"Bank"_s, QString());
        const auto between = std::make_shared<QLXWord>(u"bank"_s, u"Ufer"_s, QString());
        vocabulary->setAllWords({twice, between, twice});
        ShownWords kept;
        kept.recalculate(*vocabulary, {});
        if (adding)
            vocabulary->addWord(std::make_shared<QLXWord>(u"bank"_s, u"Bankett"_s, QString()));
        else
            between->setComment(u"by the river"_s);
        kept.recalculate(*vocabulary, {});
        ShownWords anew;
        anew.recalculate(*vocabulary, {});
        EXPECT_EQ(kept.count(), adding ? 4 : 3);
        EXPECT_TRUE(kept.words() == anew.words());
    }
}

// A word shown next to a word listed twice whose edit takes it between that word's two listings
// moves there, though the neighbour it had still orders before it.
TEST(ShownWordsFollowTest, AWordEditedNextToAWordListedTwiceMovesWhereFindingAnewPutsIt)
{
    lexi::test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    const auto twice = std::make_shared<QLXWord>(u"bank"_s, u"Bank"_s, QString());
    const auto edited = std::make_shared<QLXWord>(u"river"_s, u"Fluss"_s, QString());
    vocabulary->setAllWords({twice, edited, twice});
    ShownWords kept;
    kept.recalculate(*vocabulary, {});
    ASSERT_TRUE(kept.words() == lexi::WordList({twice, twice, edited}));
    edited->setYourWord(u"bank"_s);
    kept.recalculate(*vocabulary, {});
    ShownWords anew;
    anew.recalculate(*vocabulary, {});
    EXPECT_TRUE(anew.words() == lexi::WordList({twice, edited, twice}));
    EXPECT_TRUE(kept.words() == anew.words());
}

// Large enough to be sorted on several threads; from few characters, so that many texts share
// their first characters or are equal, with characters whose UTF-16 units sort apart from their
// code points, letters that fold to other lengths, and U+0000, which ends no text.
TEST(WordOrderTest, ALargeVocabularyIsOrderedAsAStableSortOfTheFoldedTexts)
{
    const QString alphabet = u"aAb\u00df\u00e9\u00c9\xd83d\xde00\ufffd\ue000 "_s + QChar(0);
    std::mt19937 random(7);
    const auto text = [&](int maximumLength) {
        QString result;
        const int length = std::uniform_int_distribution<int>(0, maximumLength)(random);
        for (int i = 0; i < length; ++i)
            result += alphabet[std::uniform_int_distribution<qsizetype>(0, alphabet.size() - 1)(random)];
        return result;
    };
    lexi::test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    lexi::WordList words;
    for (int i = 0; i < 20000; ++i) {
        auto word = std::make_shared<QLXWord>(text(12), u"x"_s, QString());
        word->setTags(i % 3 == 0 ? QStringList{} : QStringList{text(3), text(3)});
        words.append(word);
    }
    vocabulary->setAllWords(words);

    const auto yourKey = [](const QLXWord &word) { return word.yourWord().toCaseFolded(); };
    const auto tagsKey = [](const QLXWord &word) {
        return std::pair(word.tagsSorted().size(), word.tagsSorted().join(QChar(0)).toCaseFolded());
    };
    const auto expected = [&words](auto key) {
        lexi::WordList sorted = words;
        std::stable_sort(sorted.begin(), sorted.end(), [&key](const auto &left, const auto &right) {
            return key(*left) < key(*right);
        });
        return sorted;
    };
    lexi::WordOrder order;
    EXPECT_TRUE(order.sortedWords(*vocabulary, WordColumn::YourWord) == expected(yourKey));
    EXPECT_TRUE(order.sortedWords(*vocabulary, WordColumn::Tags) == expected(tagsKey));
}

// Adds, edits, deletes and answers, one word or a few at a time: the orders kept and followed
// change by change equal the orders taken anew.
TEST(WordOrderTest, FollowingEachChangeEqualsOrderingAnew)
{
    std::mt19937 random(11);
    const auto below = [&random](int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random); };
    const auto text = [&below] { return QStringList{u"a"_s, u"B"_s, u"the b"_s, u"c"_s, u"A"_s, u""_s}[below(6)]; };
    lexi::test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    vocabulary->setYourFacultativeWords({u"the"_s});
    lexi::WordList words;
    for (int i = 0; i < 200; ++i)
        words.append(std::make_shared<QLXWord>(text(), text(), text()));
    vocabulary->setAllWords(words);
    lexi::WordOrder kept;
    for (int step = 0; step < 300; ++step) {
        const lexi::WordList all = vocabulary->allWords();
        const auto &word = all[below(int(all.size()))];
        switch (below(6)) {
        case 0:
            vocabulary->addWord(std::make_shared<QLXWord>(text(), text(), text()));
            break;
        case 1:
            word->setYourWord(text());
            break;
        case 2:
            word->setComment(text());
            word->setTags({text(), text()});
            break;
        case 3:
            vocabulary->removeWords({word, all[below(int(all.size()))]});
            break;
        case 4:
            vocabulary->answeredWord(*word, 1);
            break;
        default:
            word->setForeignWord(text());
            break;
        }
        for (int column = 0; column < 5; ++column) {
            lexi::WordOrder anew;
            ASSERT_TRUE(kept.sortedWords(*vocabulary, WordColumn(column))
                        == anew.sortedWords(*vocabulary, WordColumn(column)))
                << "step " << step << ", column " << column;
        }
    }
}

} // namespace
