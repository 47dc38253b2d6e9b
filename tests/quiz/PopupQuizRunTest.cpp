#include "support/ConsoleCapture.h"
#include "support/FakeVocabularyServices.h"
#include "support/ManualScheduler.h"
#include "support/RecordingKeeper.h"

#include "model/Lexicarta.h"
#include "platform/files/Settings.h"
#include "quiz/PopupQuizRun.h"
#include "quiz/PopupWindowPlacement.h"
#include "quiz/QLXQuizInterface.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using lexi::AnswerVerdict;
using lexi::PopupQuizRun;
using lexi::WordList;
using Stage = lexi::PopupQuizRun::Stage;
using Colour = lexi::PopupQuizRun::VerdictFace::Colour;

namespace {

class PopupQuizRunTest : public testing::Test
{
protected:
    PopupQuizRunTest() { recording.keeper.setVocabulary(vocabulary); }

    std::shared_ptr<QLXWord> add(const QString &your, const QString &foreign, quint64 level = 0)
    {
        auto word = std::make_shared<QLXWord>(your, foreign);
        word->setLevel(level);
        vocabulary->addWord(word);
        return word;
    }

    // A run of exactly `words`, in this order, asking for the foreign word.
    PopupQuizRun &start(const WordList &words)
    {
        quiz.setVocabulary(vocabulary);
        quiz.askInOrder(words);
        run = std::make_unique<PopupQuizRun>(quiz, defaults, scheduler, fakes.clock, recording.keeper);
        run->startQuiz();
        return *run;
    }

    // Answers the question shown and presses Next without ticking a box.
    void answerAndGoOn(const QString &answer)
    {
        ASSERT_EQ(run->stage(), Stage::Question);
        run->checkWord(answer);
        run->next(false, false);
    }

    void waitForQuestion() { scheduler.advance(std::chrono::minutes(run->questionIntervalMinutes())); }

    QTemporaryDir folder;
    lexi::Defaults defaults{folder.filePath(u"Lexicarta.conf"_s)};
    lexi::test::FakeVocabularyServices fakes;
    lexi::test::ManualScheduler scheduler{fakes.clock};
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    lexi::test::RecordingKeeper recording;
    QLXQuizInterface quiz{defaults};
    std::unique_ptr<PopupQuizRun> run;
};

TEST_F(PopupQuizRunTest, TheIntervalCountsFromNext)
{
    const auto tree = add(u"tree"_s, u"Baum"_s);
    const auto house = add(u"house"_s, u"Haus"_s);
    start({tree, house});
    ASSERT_EQ(run->stage(), Stage::Question) << "the first question shows at once";
    EXPECT_EQ(run->currentWord(), tree);
    EXPECT_EQ(run->questionText(), u"tree"_s);

    run->checkWord(u"Baum"_s);
    scheduler.advance(20min);
    EXPECT_EQ(run->stage(), Stage::Verdict) << "the verdict stays until Next";
    run->next(false, false);
    EXPECT_EQ(run->stage(), Stage::Waiting);
    scheduler.advance(5min - 1s);
    EXPECT_EQ(run->stage(), Stage::Waiting);
    scheduler.advance(1s);
    EXPECT_EQ(run->stage(), Stage::Question);
    EXPECT_EQ(run->currentWord(), house);
}

TEST_F(PopupQuizRunTest, ChangingTheIntervalRestartsTheWaitOnlyWhileWaiting)
{
    const auto tree = add(u"tree"_s, u"Baum"_s);
    const auto house = add(u"house"_s, u"Haus"_s);
    const auto water = add(u"water"_s, u"Wasser"_s);
    start({tree, house, water});

    // While a question or a verdict shows, the value is only stored.
    EXPECT_TRUE(run->updateInterval(2));
    EXPECT_EQ(run->stage(), Stage::Question);
    run->checkWord(u"Baum"_s);
    EXPECT_TRUE(run->updateInterval(3));
    scheduler.advance(10min);
    EXPECT_EQ(run->stage(), Stage::Verdict) << "nothing settled, nothing asked";
    EXPECT_EQ(run->currentWord(), tree);

    // The wait counts the interval set last; a change while it runs starts it again from now.
    run->next(false, false);
    scheduler.advance(2min);
    EXPECT_TRUE(run->updateInterval(7));
    scheduler.advance(7min - 1s);
    EXPECT_EQ(run->stage(), Stage::Waiting);
    scheduler.advance(1s);
    EXPECT_EQ(run->currentWord(), house);
    EXPECT_EQ(lexi::Settings(defaults).value(lexi::Settings::popupQuizInterval), 7);

    lexi::test::ConsoleCapture console;
    for (const qint64 outOfRange : {0, 101, -5}) {
        EXPECT_FALSE(run->updateInterval(outOfRange)) << outOfRange;
    }
    EXPECT_EQ(run->questionIntervalMinutes(), 7);
    EXPECT_EQ(console.lines(), QStringList(3, u"BackgroundQuizController > updateInterval > out of range"_s));
}

TEST_F(PopupQuizRunTest, TheStoredIntervalIsRestoredFromOneToAHundred)
{
    const struct
    {
        qint64 stored;
        qint64 restored;
    } cases[] = {{1, 1}, {42, 42}, {100, 100}, {0, 5}, {101, 5}, {-3, 5}};
    for (const auto &test : cases) {
        lexi::Settings(defaults).setValue(lexi::Settings::popupQuizInterval, test.stored);
        const PopupQuizRun restored(quiz, defaults, scheduler, fakes.clock, recording.keeper);
        EXPECT_EQ(restored.questionIntervalMinutes(), test.restored) << test.stored;
    }
}

TEST_F(PopupQuizRunTest, AQuestionThatFellDueDuringASleepShowsSoonAfterWaking)
{
    start({add(u"tree"_s, u"Baum"_s), add(u"house"_s, u"Haus"_s)});
    answerAndGoOn(u"Baum"_s);
    ASSERT_TRUE(run->dueDate());

    // The machine sleeps for an hour: the wall clock moves on, the timers do not.
    scheduler.advance(1min);
    fakes.clock.setNow(fakes.clock.now().addingSeconds(3600));
    scheduler.advance(PopupQuizRun::wallClockCheck);
    EXPECT_EQ(run->stage(), Stage::Question);
    EXPECT_FALSE(run->dueDate());
    EXPECT_EQ(run->questionText(), u"house"_s);
}

TEST_F(PopupQuizRunTest, JudgesAnswersAndShowsTheirVerdicts)
{
    const struct
    {
        QString answer;
        bool misspellingDisabled;
        quint64 level;
        AnswerVerdict verdict;
        Colour colour;
        QString mark;
        bool answerShown;
        quint64 levelAfter;
        std::optional<quint64> upperLevel;
        quint64 lowerLevel;
        bool offersDontAskAgain;
    } cases[] = {
        {u"Haus"_s, false, 2, AnswerVerdict::Correct, Colour::Correct, u"✓"_s, true, 3, 3, 2, false},
        // Up to native: no rise shows, and the word may leave the quizzes.
        {u"Haus"_s, false, 4, AnswerVerdict::Correct, Colour::Correct, u"✓"_s, true, 5, std::nullopt, 4, true},
        {u"haus"_s, false, 2, AnswerVerdict::Misspelled, Colour::Misspelled, u"≈"_s, true, 2, std::nullopt, 2, false},
        {u"haus"_s, true, 2, AnswerVerdict::Wrong, Colour::Wrong, u"X"_s, true, 1, 2, 1, false},
        {u"Hut"_s, false, 4, AnswerVerdict::Wrong, Colour::Wrong, u"X"_s, true, 2, 4, 2, false},
        {u""_s, false, 2, AnswerVerdict::Wrong, Colour::Wrong, u"X"_s, false, 1, 2, 1, false},
        {u" "_s, false, 0, AnswerVerdict::Wrong, Colour::Wrong, u"X"_s, false, 0, std::nullopt, 0, false},
    };
    int saves = 0;
    for (const auto &test : cases) {
        SCOPED_TRACE(testing::Message() << '"' << test.answer.toStdString() << "\" at " << test.level);
        vocabulary->setIsDisableMisspellRecognition(test.misspellingDisabled);
        const auto house = add(u"house"_s, u"Haus"_s, test.level);
        start({house, add(u"tree"_s, u"Baum"_s)});
        saves = recording.saves;

        const std::optional<lexi::QuizRun::Judgement> judgement = run->checkWord(test.answer);
        ASSERT_TRUE(judgement);
        EXPECT_EQ(judgement->verdict, test.verdict);
        EXPECT_FALSE(judgement->isSynonym);
        EXPECT_EQ(house->level(), test.levelAfter);
        EXPECT_TRUE(house->lastAsked());
        EXPECT_EQ(recording.saves, saves + 1) << "saved when judged";
        EXPECT_EQ(run->currentWordOriginLevel(), test.level);

        const PopupQuizRun::VerdictFace face = run->verdictFace();
        EXPECT_EQ(face.colour, test.colour);
        EXPECT_EQ(face.mark, test.mark);
        EXPECT_EQ(face.isAnswerShown, test.answerShown);
        EXPECT_EQ(face.isAnswerFaint, test.verdict != AnswerVerdict::Correct);
        EXPECT_EQ(face.isExpectedShown, test.verdict != AnswerVerdict::Correct);
        EXPECT_EQ(face.upperLevel, test.upperLevel);
        EXPECT_EQ(face.lowerLevel, test.lowerLevel);
        EXPECT_EQ(face.isArrowUp, test.verdict == AnswerVerdict::Correct);
        EXPECT_EQ(face.offersDontAskAgain, test.offersDontAskAgain);
        EXPECT_EQ(face.offersIKnewIt, test.verdict != AnswerVerdict::Correct);
        EXPECT_FALSE(run->checkWord(test.answer)) << "one answer per question";
        vocabulary->setAllWords({});
    }
}

TEST_F(PopupQuizRunTest, ASynonymCountsForItselfAndTheAskedWordComesNext)
{
    const auto big = add(u"big"_s, u"groß"_s);
    const auto large = add(u"large"_s, u"groß"_s);
    const auto tree = add(u"tree"_s, u"Baum"_s);
    quiz.setAskForForeignWord(false);
    quiz.setAskForYourWord(true);
    start({big, tree, large});
    ASSERT_EQ(run->questionText(), u"groß"_s);

    const auto judgement = run->checkWord(u"large"_s);
    ASSERT_TRUE(judgement);
    EXPECT_TRUE(judgement->isSynonym);
    EXPECT_EQ(run->currentWord(), large);
    EXPECT_EQ(large->level(), 1u);
    EXPECT_EQ(big->level(), 0u);
    EXPECT_EQ(run->verdictFace().colour, Colour::Synonym);
    run->next(false, false);
    waitForQuestion();
    EXPECT_EQ(run->currentWord(), big) << "the asked word comes again";
    answerAndGoOn(u"big"_s);
    waitForQuestion();
    answerAndGoOn(u"tree"_s);
    waitForQuestion();
    EXPECT_EQ(run->stage(), Stage::Results) << "large was answered and is not asked again";
    EXPECT_EQ(run->results().correct, 3);
}

TEST_F(PopupQuizRunTest, TheBoxesAreSettledAtNext)
{
    // "I knew it" after a wrong answer at level 4: back to 4, then up to 5.
    const auto house = add(u"house"_s, u"Haus"_s, 4);
    const auto tree = add(u"tree"_s, u"Baum"_s, 4);
    start({house, tree});
    run->checkWord(u"Hut"_s);
    EXPECT_EQ(house->level(), 2u);
    const PopupQuizRun::VerdictFace preview = run->iKnewItFace(true);
    EXPECT_EQ(preview.colour, Colour::Correct);
    EXPECT_EQ(preview.lowerLevel, 4u);
    EXPECT_EQ(preview.upperLevel, 5u) << "the level it ends at";
    EXPECT_TRUE(preview.isArrowUp);
    EXPECT_EQ(run->iKnewItFace(false).colour, Colour::Wrong);
    EXPECT_EQ(house->level(), 2u) << "the preview changes nothing";
    const int saves = recording.saves;
    run->next(false, true);
    EXPECT_EQ(house->level(), 5u);
    EXPECT_EQ(run->run().numberOfCorrect(), 1);
    EXPECT_EQ(run->run().numberOfWrong(), 0);
    EXPECT_EQ(recording.saves, saves + 1);

    // "Don't ask again" after the answer that reached native.
    waitForQuestion();
    run->checkWord(u"Baum"_s);
    ASSERT_TRUE(run->verdictFace().offersDontAskAgain);
    run->next(true, false);
    EXPECT_TRUE(tree->dontAskAgain());
    EXPECT_EQ(tree->level(), 5u);
}

TEST_F(PopupQuizRunTest, TheResultsCountTheAnswersGiven)
{
    WordList words;
    for (int index = 0; index < 10; ++index)
        words.append(add(u"word %1"_s.arg(index), u"Wort %1"_s.arg(index)));
    start(words);
    for (const QString &answer : {u"Wort 0"_s, u"Wort 1"_s, u"Wort 2"_s, u"wrong"_s}) {
        answerAndGoOn(answer);
        waitForQuestion();
    }
    run->checkWord(u"wort 4"_s);
    run->stopQuiz(false, false);
    EXPECT_EQ(run->stage(), Stage::Results);
    const lexi::QuizResults results = run->results();
    EXPECT_EQ(results.total, 5);
    EXPECT_DOUBLE_EQ(results.correctPercent(), 60.0);
    EXPECT_DOUBLE_EQ(results.misspelledPercent(), 20.0);
    EXPECT_EQ(results.introKey(), u"congratulations"_s);

    start(words);
    run->stopQuiz(false, false);
    EXPECT_EQ(run->results().total, 0) << "a new run starts from zero";
    EXPECT_DOUBLE_EQ(run->results().correctPercent(), 0.0);
}

TEST_F(PopupQuizRunTest, TheResultsComeAtTheEndOfTheWaitAfterTheLastAnswer)
{
    start({add(u"tree"_s, u"Baum"_s)});
    int shown = 0;
    QObject::connect(run.get(), &PopupQuizRun::resultsShown, [&shown] { ++shown; });
    answerAndGoOn(u"Baum"_s);
    EXPECT_TRUE(run->isInProgress());
    waitForQuestion();
    EXPECT_EQ(run->stage(), Stage::Results);
    EXPECT_FALSE(run->isInProgress());
    EXPECT_EQ(shown, 1);
}

TEST_F(PopupQuizRunTest, StoppingSettlesTheVerdictShownAndEndsTheWait)
{
    const auto house = add(u"house"_s, u"Haus"_s, 3);
    const auto tree = add(u"tree"_s, u"Baum"_s);
    start({house, tree});
    run->checkWord(u"Haus "_s);
    const int saves = recording.saves;
    run->stopQuiz(false, true);
    EXPECT_EQ(house->level(), 4u) << "the box ticked on the verdict counts";
    EXPECT_EQ(recording.saves, saves + 1);
    EXPECT_EQ(run->results().correct, 1);
    EXPECT_EQ(run->results().misspelled, 0);

    // No question comes over the results, and the interval arms nothing any more.
    EXPECT_TRUE(run->updateInterval(1));
    scheduler.advance(2h);
    EXPECT_EQ(run->stage(), Stage::Results);
    EXPECT_EQ(scheduler.pendingCount(), 0u);

    // Stopped while waiting: what was settled at Next stays as it is.
    start({house, tree});
    run->checkWord(u"wrong"_s);
    run->next(false, false);
    run->stopQuiz(true, true);
    EXPECT_FALSE(house->dontAskAgain());
    EXPECT_EQ(run->results().wrong, 1);
    scheduler.advance(2h);
    EXPECT_EQ(run->stage(), Stage::Results);
}

TEST_F(PopupQuizRunTest, TenWordsAreChosenWhenNoneWereSupplied)
{
    for (int index = 0; index < 25; ++index)
        add(u"word %1"_s.arg(index), u"Wort %1"_s.arg(index));
    start({});
    EXPECT_EQ(quiz.wordsToAsk().size(), 10);
    EXPECT_EQ(quiz.numberOfWordsToAsk(), 10);
    EXPECT_EQ(run->stage(), Stage::Question);

    // A list already asked is not asked again either.
    run->stopQuiz(false, false);
    run->startQuiz();
    EXPECT_EQ(quiz.askIndex(), 0);
    EXPECT_EQ(quiz.wordsToAsk().size(), 10);
}

TEST_F(PopupQuizRunTest, DeletedWordsLeaveTheRun)
{
    const auto house = add(u"house"_s, u"Haus"_s);
    const auto tree = add(u"tree"_s, u"Baum"_s);
    start({house, tree});
    run->checkWord(u"wrong"_s);
    run->wordsDeleted({house, tree});
    run->next(true, true);
    EXPECT_FALSE(house->dontAskAgain()) << "a deleted word settles nothing";
    waitForQuestion();
    EXPECT_EQ(run->stage(), Stage::Results);
    EXPECT_EQ(run->results().total, 1);
}

} // namespace

namespace {

TEST(PopupWindowPlacementTest, TheWindowStaysOnTheScreen)
{
    const QRect available(0, 30, 1280, 770); // a panel of 30 pixels at the top
    const QSize frame(440, 300);
    const struct
    {
        QPointF origin;
        QPoint position;
    } cases[] = {
        {{20, 20}, {20, 30}},
        {{300.4, 200.6}, {300, 201}},
        {{2000, 900}, {840, 500}},
        {{-50, -50}, {0, 30}},
        {{qQNaN(), 1e300}, {0, 500}},
    };
    for (const auto &test : cases)
        EXPECT_EQ(lexi::popupWindowPosition(test.origin, frame, available), test.position)
            << test.origin.x() << ", " << test.origin.y();
    EXPECT_EQ(lexi::popupWindowPosition({500, 500}, QSize(2000, 2000), available), QPoint(0, 30))
        << "larger than the screen: from its corner";
}

} // namespace
