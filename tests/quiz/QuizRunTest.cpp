#include "support/FakeVocabularyServices.h"
#include "support/RecordingKeeper.h"

#include "model/Lexicarta.h"
#include "quiz/QLXQuizInterface.h"
#include "quiz/QuizRun.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::AnswerVerdict;
using lexi::QuizRun;
using lexi::WordList;

namespace {

class QuizRunTest : public testing::Test
{
protected:
    QuizRunTest() { recording.keeper.setVocabulary(vocabulary); }

    std::shared_ptr<QLXWord> add(const QString &your, const QString &foreign, quint64 level = 0)
    {
        auto word = std::make_shared<QLXWord>(your, foreign);
        word->setLevel(level);
        vocabulary->addWord(word);
        return word;
    }

    // A run of exactly `words`, in this order.
    void start(const WordList &words)
    {
        quiz.setVocabulary(vocabulary);
        quiz.askInOrder(words);
        run.start();
    }

    QTemporaryDir folder;
    lexi::Defaults defaults{folder.filePath(u"Lexicarta.conf"_s)};
    lexi::test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    lexi::test::RecordingKeeper recording;
    QLXQuizInterface quiz{defaults};
    QuizRun run{quiz, recording.keeper};
};

TEST_F(QuizRunTest, EveryAnswerIsRecordedWhenItIsJudged)
{
    const auto tree = add(u"tree"_s, u"Baum"_s, 2);
    const auto house = add(u"house"_s, u"Haus"_s, 2);
    const auto water = add(u"water"_s, u"Wasser"_s, 2);
    start({tree, house, water});

    const struct
    {
        QString answer;
        AnswerVerdict verdict;
        quint64 levelAfter;
    } answers[] = {
        {u"Baum"_s, AnswerVerdict::Correct, 3},
        {u"haus"_s, AnswerVerdict::Misspelled, 2},
        {u" "_s, AnswerVerdict::Wrong, 1},
    };
    int saves = 0;
    for (const auto &step : answers) {
        SCOPED_TRACE(step.answer.toStdString());
        const std::shared_ptr<QLXWord> asked = run.nextWord();
        EXPECT_EQ(run.answer(step.answer, true, false).verdict, step.verdict);
        EXPECT_EQ(run.lastWord(), asked);
        EXPECT_EQ(asked->level(), step.levelAfter);
        EXPECT_TRUE(asked->lastAsked().has_value());
        EXPECT_EQ(recording.saves, ++saves) << "saved as it is judged";
        EXPECT_EQ(recording.sync.marks, saves);
        run.advance();
    }
    EXPECT_FALSE(run.nextWord());
    EXPECT_EQ(run.numberOfCorrect(), 1);
    EXPECT_EQ(run.numberOfMisspelled(), 1);
    EXPECT_EQ(run.numberOfWrong(), 1);
    EXPECT_EQ(run.wrongAnsweredWords(), (WordList{house, water}));
    EXPECT_TRUE(vocabulary->needsSync());

    run.finish(false, false);
    EXPECT_FALSE(run.isInProgress());
    EXPECT_EQ(recording.saves, saves + 1) << "the results record the run once more";
    EXPECT_EQ(run.results().total, 3);
}

TEST_F(QuizRunTest, IKnewItCountsTheAnswerAsCorrectFromTheLevelBeforeIt)
{
    const struct
    {
        QString answer;
        quint64 level;
        quint64 levelBeforeSettling, levelAfterSettling;
    } cases[] = {
        {u"wrong"_s, 3, 2, 4},       // wrong at 3 falls to 2; "I knew it" ends at 4
        {u"baum"_s, 2, 2, 3},        // misspelled at 2 stays; "I knew it" ends at 3
        {u"wrong"_s, 5, 2, 5},       // native stays native
        {u"Baum"_s, 3, 4, 4},        // a correct answer has nothing to settle
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(testing::Message() << test.answer.toStdString() << " at " << test.level);
        const auto word = add(u"tree"_s, u"Baum"_s, test.level);
        start({word, add(u"house"_s, u"Haus"_s)});
        run.answer(test.answer, true, false);
        EXPECT_EQ(word->level(), test.levelBeforeSettling);
        if (test.answer != u"Baum"_s) {
            EXPECT_EQ(run.levelAfterIKnewIt(), test.levelAfterSettling) << "the preview shows where it ends";
        }
        run.advance();
        run.settle(false, true);
        EXPECT_EQ(word->level(), test.levelAfterSettling);
        EXPECT_EQ(run.numberOfCorrect(), 1);
        EXPECT_EQ(run.numberOfWrong() + run.numberOfMisspelled(), 0);
        EXPECT_TRUE(run.wrongAnsweredWords().isEmpty());
        run.settle(false, true);
        EXPECT_EQ(word->level(), test.levelAfterSettling) << "settled once";
        vocabulary->removeWords(vocabulary->allWords());
    }
}

TEST_F(QuizRunTest, DontAskAgainIsSettledAtTheNextStep)
{
    const auto native = add(u"tree"_s, u"Baum"_s, 5);
    const auto other = add(u"house"_s, u"Haus"_s);
    start({native, other});
    run.answer(u"Baum"_s, true, false);
    EXPECT_FALSE(native->dontAskAgain()) << "the box is only ticked so far";
    run.advance();
    run.settle(true, false);
    EXPECT_TRUE(native->dontAskAgain());
    EXPECT_FALSE(other->dontAskAgain());
    run.answer(u"Haus"_s, true, false);
    EXPECT_EQ(recording.lastSaved, vocabulary.get()) << "recorded with the next answer";
}

TEST_F(QuizRunTest, ASynonymCountsInPlaceOfTheWordAskedWhereverItStands)
{
    enum class Place { LaterInTheRun, AskedBefore, OutsideTheRun };
    const struct
    {
        Place place;
        bool accepted;
        qint64 correct;
    } cases[] = {
        {Place::LaterInTheRun, true, 1},
        {Place::AskedBefore, false, 0},
        {Place::OutsideTheRun, true, 0},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(int(test.place));
        vocabulary->removeWords(vocabulary->allWords());
        const auto first = add(u"first"_s, u"erst"_s);
        const auto car = add(u"car"_s, u"Auto"_s);
        const auto synonym = add(u"car"_s, u"Wagen"_s);
        const auto last = add(u"last"_s, u"letzt"_s);
        WordList words = {first, car, last};
        if (test.place == Place::LaterInTheRun)
            words.append(synonym);
        if (test.place == Place::AskedBefore)
            words.insert(0, synonym);
        start(words);
        while (run.nextWord() != car) {
            run.answer(run.nextWord()->foreignWord(), true, false);
            run.advance();
        }
        const qint64 correctBefore = run.numberOfCorrect();

        const QuizRun::Judgement judgement = run.answer(u"Wagen"_s, true, false);
        EXPECT_EQ(judgement.isSynonym, test.accepted);
        EXPECT_EQ(judgement.verdict, test.accepted ? AnswerVerdict::Correct : AnswerVerdict::Wrong);
        EXPECT_EQ(run.numberOfCorrect() - correctBefore, test.correct);
        if (test.accepted) {
            EXPECT_EQ(run.lastWord(), synonym);
            EXPECT_EQ(synonym->level(), 1u);
            EXPECT_EQ(car->level(), 0u);
            EXPECT_EQ(run.advance(), car) << "the word asked comes next";
            EXPECT_EQ(quiz.wordsToAsk().count(synonym), 1) << "asked once";
        }
    }
}

TEST_F(QuizRunTest, AWordDeletedDuringTheRunLeavesItAndHasNothingToSettle)
{
    const auto tree = add(u"tree"_s, u"Baum"_s, 3);
    const auto house = add(u"house"_s, u"Haus"_s);
    const auto water = add(u"water"_s, u"Wasser"_s);
    start({tree, house, water});
    run.answer(u"wrong"_s, true, false);
    run.advance();
    const int saves = recording.saves;

    vocabulary->removeWords({tree, water});
    run.wordsDeleted({tree, water});
    EXPECT_TRUE(run.isLastWordDeleted());
    EXPECT_TRUE(run.wrongAnsweredWords().isEmpty());
    run.settle(true, true);
    EXPECT_FALSE(tree->dontAskAgain());
    EXPECT_EQ(run.numberOfWrong(), 1) << "nothing settled for a deleted word";
    EXPECT_EQ(recording.saves, saves);

    EXPECT_EQ(run.nextWord(), house);
    run.answer(u"Haus"_s, true, false);
    EXPECT_FALSE(run.advance()) << "the deleted word is not asked";
    EXPECT_FALSE(run.restartWithWrong()) << "a run in progress is not restarted";
}

TEST_F(QuizRunTest, ARestartAsksTheWrongWordsInTheOrderTheyWereAnswered)
{
    const auto a = add(u"a"_s, u"A"_s);
    const auto b = add(u"b"_s, u"B"_s);
    const auto c = add(u"c"_s, u"C"_s);
    start({c, a, b});
    for (const QString &answer : {u"wrong"_s, u"A"_s, u"b "_s}) {
        run.answer(answer, true, false);
        run.advance();
    }
    run.finish(false, false);
    ASSERT_TRUE(run.restartWithWrong());
    EXPECT_EQ(quiz.wordsToAsk(), (WordList{c, b}));
    EXPECT_EQ(quiz.numberOfWordsToAsk(), 2);
    EXPECT_EQ(run.nextWord(), c);
    EXPECT_EQ(run.numberOfAnswers(), 0);
    EXPECT_TRUE(run.wrongAnsweredWords().isEmpty());
}

} // namespace
