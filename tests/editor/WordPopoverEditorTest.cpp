#include "support/FakeVocabularyServices.h"

#include "editor/WordPopoverEditor.h"
#include "model/CreationIdentifiers.h"
#include "model/Lexicarta.h"

#include <gtest/gtest.h>

#include <set>

using namespace Qt::StringLiterals;
using lexi::CheckState;
using lexi::WordList;
using lexi::WordPopoverForm;
namespace Editor = lexi::WordPopoverEditor;

namespace {

constexpr qint64 now1970 = 1'700'000'000;

class WordPopoverEditorTest : public testing::Test
{
protected:
    WordPopoverEditorTest()
    {
        vocabulary->setYourLanguageName(u"English"_s);
        vocabulary->setForeignLanguageName(u"German"_s);
    }

    std::shared_ptr<QLXWord> add(const QString &your, const QString &foreign, quint64 level = 0,
                                 const QStringList &tags = {}, const QString &comment = {}, bool dontAsk = false)
    {
        auto word = std::make_shared<QLXWord>(your, foreign, comment);
        word->setLevel(level);
        word->setTags(tags);
        word->setDontAskAgain(dontAsk);
        vocabulary->addWord(word);
        return word;
    }

    QStringList texts() const
    {
        QStringList pairs;
        for (const auto &word : vocabulary->allWords())
            pairs.append(word->yourWord() + u'/' + word->foreignWord());
        return pairs;
    }

    lexi::test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
};

TEST_F(WordPopoverEditorTest, SetUpForOneWordShowsItsValues)
{
    const auto house = add(u"house"_s, u"das Haus"_s, 5, {u"home"_s, u"Building"_s}, u"n."_s, true);
    const WordPopoverForm form = Editor::setUp({house}, *vocabulary, false, u"Locale"_s);
    EXPECT_EQ(form.yourLanguageName, u"English"_s);
    EXPECT_EQ(form.foreignLanguageName, u"German"_s);
    EXPECT_EQ(form.yourWord, u"house"_s);
    EXPECT_EQ(form.foreignWord, u"das Haus"_s);
    EXPECT_EQ(form.comment, u"n."_s);
    EXPECT_EQ(form.tags, (QStringList{u"Building"_s, u"home"_s}));
    EXPECT_FALSE(form.keepsVariousTags);
    EXPECT_EQ(form.dontAskAgain, CheckState::On);
    EXPECT_FALSE(form.checkBoxAllowsMixed);
    EXPECT_TRUE(form.checkBoxShown);
    EXPECT_TRUE(form.wordFieldsEnabled);
    EXPECT_FALSE(form.showsQuizSelected);

    vocabulary->setYourLanguageName(QString());
    EXPECT_EQ(Editor::setUp({house}, *vocabulary, false, u"Locale"_s).yourLanguageName, u"Locale"_s);
    house->setLevel(4);
    EXPECT_FALSE(Editor::setUp({house}, *vocabulary, false, u"Locale"_s).checkBoxShown);
}

TEST_F(WordPopoverEditorTest, SetUpForSeveralWordsShowsWhatTheyShare)
{
    const auto a = add(u"a"_s, u"A"_s, 5, {u"x"_s, u"y"_s}, QString(), true);
    const auto b = add(u"b"_s, u"B"_s, 5, {u"y"_s, u"x"_s}, QString(), false);
    const auto c = add(u"c"_s, u"C"_s, 3, {u"x"_s}, u"note"_s, true);
    const struct
    {
        const char *what;
        WordList words;
        CheckState box;
        bool boxShown;
        std::optional<QString> comment;
        QStringList tags;
        bool variousTags;
    } cases[] = {
        {"same tags, no comment, mixed marks", {a, b}, CheckState::Mixed, true, QString(), {u"x"_s, u"y"_s}, false},
        {"tags differ, a comment, levels 5 and 3", {a, b, c}, CheckState::Mixed, false, std::nullopt, {}, true},
        {"a word lacking a tag", {c, a}, CheckState::On, false, std::nullopt, {}, true},
    };
    for (const auto &test : cases) {
        const WordPopoverForm form = Editor::setUp(test.words, *vocabulary, false, {});
        EXPECT_FALSE(form.wordFieldsEnabled) << test.what;
        EXPECT_TRUE(form.checkBoxAllowsMixed) << test.what;
        EXPECT_TRUE(form.showsQuizSelected) << test.what;
        EXPECT_EQ(form.dontAskAgain, test.box) << test.what;
        EXPECT_EQ(form.checkBoxShown, test.boxShown) << test.what;
        EXPECT_EQ(form.comment, test.comment) << test.what;
        EXPECT_EQ(form.tags, test.tags) << test.what;
        EXPECT_EQ(form.keepsVariousTags, test.variousTags) << test.what;
    }
}

TEST_F(WordPopoverEditorTest, ApplyingToOneWordTakesTheFields)
{
    const auto house = add(u"house"_s, u"das Haus"_s);
    add(u"tree"_s, u"der Baum"_s);
    WordPopoverForm form = Editor::setUp({house}, *vocabulary, false, {});
    form.yourWord = u" tree "_s;
    form.foreignWord = u"der Baum"_s;
    form.comment = u"m."_s;
    form.tags = {u"nature"_s};
    form.dontAskAgain = CheckState::On;
    // Outside adding, an equal word elsewhere does not stop the edit.
    EXPECT_EQ(Editor::apply(form, {house}, *vocabulary, now1970), Editor::Applied::Changed);
    EXPECT_EQ(house->yourWord(), u"tree"_s);
    EXPECT_EQ(house->comment(), u"m."_s);
    EXPECT_EQ(house->tags(), QStringList{u"nature"_s});
    EXPECT_TRUE(house->dontAskAgain());
    EXPECT_EQ(house->modificationID(), now1970);
}

TEST_F(WordPopoverEditorTest, AddingADuplicateRemovesTheNewEntry)
{
    add(u"house"_s, u"das Haus"_s);
    const struct
    {
        QString your, foreign;
        Editor::Applied expected;
        QStringList words;
    } cases[] = {
        {u"house"_s, u"das Haus"_s, Editor::Applied::DuplicateRemoved, {u"house/das Haus"_s}},
        // Both fields empty find the blank entry itself.
        {QString(), QString(), Editor::Applied::DuplicateRemoved, {u"house/das Haus"_s}},
        {u"home"_s, u"das Haus"_s, Editor::Applied::Changed, {u"house/das Haus"_s, u"home/das Haus"_s}},
    };
    for (const auto &test : cases) {
        const auto blank = add(QString(), QString());
        WordPopoverForm form = Editor::setUp({blank}, *vocabulary, true, {});
        form.yourWord = test.your;
        form.foreignWord = test.foreign;
        EXPECT_EQ(Editor::apply(form, {blank}, *vocabulary, now1970), test.expected) << test.your.toStdString();
        EXPECT_EQ(texts(), test.words);
        if (test.expected == Editor::Applied::Changed)
            vocabulary->removeWord(blank);
    }
}

TEST_F(WordPopoverEditorTest, AlternativesMakeOneWordPerPairAsABatch)
{
    const auto other = add(u"x"_s, u"y"_s);
    const struct
    {
        QString your, foreign;
        QStringList added;
        bool selectedStays;
    } cases[] = {
        {u"a@b"_s, u"c@d"_s, {u"a/c"_s, u"a/d"_s, u"b/c"_s, u"b/d"_s}, false},
        // Blank parts make no word, whatever their white space.
        {u"a@ @@  @\t"_s, u"c"_s, {u"a/c"_s}, false},
        // The selected word is one of the pairs: it stays, with the fields' comment and tags.
        {u"sel@b"_s, u"c"_s, {u"b/c"_s}, true},
    };
    for (const auto &test : cases) {
        const auto selected = add(u"sel"_s, u"c"_s);
        selected->setModificationID(7);
        WordPopoverForm form = Editor::setUp({selected}, *vocabulary, false, {});
        form.yourWord = test.your;
        form.foreignWord = test.foreign;
        form.comment = u"note"_s;
        form.tags = {u"t"_s};
        Editor::apply(form, {selected}, *vocabulary, now1970);

        WordList added = vocabulary->allWords();
        added.removeAll(other);
        added.removeAll(selected);
        // Numbered in the order of the pairs: your parts first, each with every foreign part.
        std::sort(added.begin(), added.end(),
                  [](const auto &left, const auto &right) { return left->creationID() < right->creationID(); });
        QStringList addedTexts;
        std::set<qint64> identifiers{other->creationID(), selected->creationID()};
        for (const auto &word : added) {
            addedTexts.append(word->yourWord() + u'/' + word->foreignWord());
            identifiers.insert(word->creationID());
            EXPECT_TRUE(lexi::CreationIdentifierMaker::isMadeHere(word->creationID()));
            EXPECT_EQ(word->comment(), u"note"_s);
            EXPECT_EQ(word->tags(), QStringList{u"t"_s});
        }
        EXPECT_EQ(addedTexts, test.added) << test.your.toStdString();
        EXPECT_EQ(qsizetype(identifiers.size()), added.size() + 2) << "distinct identifiers";
        EXPECT_EQ(vocabulary->allWords().contains(selected), test.selectedStays) << test.your.toStdString();
        if (test.selectedStays) {
            EXPECT_EQ(selected->comment(), u"note"_s);
            EXPECT_EQ(selected->modificationID(), 7);
        }
        vocabulary->setAllWords({other});
    }
}

TEST_F(WordPopoverEditorTest, SeveralWordsKeepWhatTheFormLeavesVarious)
{
    const auto a = add(u"a"_s, u"A"_s, 5, {u"x"_s}, u"one"_s, true);
    const auto b = add(u"b"_s, u"B"_s, 5, {u"y"_s}, QString(), false);
    const struct
    {
        const char *what;
        void (*edit)(WordPopoverForm &);
        QStringList aTags, bTags;
        QString aComment, bComment;
        bool aMark, bMark;
    } cases[] = {
        {"untouched", [](WordPopoverForm &) {}, {u"x"_s}, {u"y"_s}, u"one"_s, QString(), true, false},
        {"a tag beside the placeholder is added",
         [](WordPopoverForm &form) { form.tags = {u"z"_s}; },
         {u"x"_s, u"z"_s},
         {u"y"_s, u"z"_s},
         u"one"_s,
         QString(),
         true,
         false},
        {"the placeholder removed replaces the tags; comment and mark set",
         [](WordPopoverForm &form) {
             form.keepsVariousTags = false;
             form.tags = {u"z"_s};
             form.comment = u"two"_s;
             form.dontAskAgain = CheckState::On;
         },
         {u"z"_s},
         {u"z"_s},
         u"two"_s,
         u"two"_s,
         true,
         true},
    };
    for (const auto &test : cases) {
        a->setTags({u"x"_s});
        b->setTags({u"y"_s});
        a->setComment(u"one"_s);
        b->setComment(QString());
        a->setDontAskAgain(true);
        b->setDontAskAgain(false);
        WordPopoverForm form = Editor::setUp({a, b}, *vocabulary, false, {});
        test.edit(form);
        Editor::apply(form, {a, b}, *vocabulary, now1970);
        EXPECT_EQ(a->tags(), test.aTags) << test.what;
        EXPECT_EQ(b->tags(), test.bTags) << test.what;
        EXPECT_EQ(a->comment(), test.aComment) << test.what;
        EXPECT_EQ(b->comment(), test.bComment) << test.what;
        EXPECT_EQ(a->dontAskAgain(), test.aMark) << test.what;
        EXPECT_EQ(b->dontAskAgain(), test.bMark) << test.what;
        EXPECT_EQ(a->modificationID(), now1970);
    }
}

TEST_F(WordPopoverEditorTest, DeletingAndCarryingWordsOverToAFreshLoad)
{
    const auto a = add(u"a"_s, u"A"_s);
    const auto b = add(u"b"_s, u"B"_s);
    add(u"c"_s, u"C"_s);
    Editor::deleteWords({a, b}, *vocabulary);
    EXPECT_EQ(texts(), QStringList{u"c/C"_s});

    auto reloaded = Lexicarta::create(fakes.services);
    auto freshA = std::make_shared<QLXWord>(u"a"_s, u"A"_s);
    reloaded->addWord(freshA);
    EXPECT_EQ(Editor::carryOver({a, b}, *reloaded, false), WordList{freshA});

    // An unsaved new entry is carried into the fresh load while adding, and only then.
    const auto blank = std::make_shared<QLXWord>();
    EXPECT_TRUE(Editor::carryOver({blank}, *reloaded, false).isEmpty());
    EXPECT_EQ(Editor::carryOver({blank}, *reloaded, true), WordList{blank});
    EXPECT_TRUE(reloaded->allWords().contains(blank));
}

} // namespace
