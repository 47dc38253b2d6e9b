#include "support/FakeVocabularyServices.h"
#include "support/ManualScheduler.h"
#include "support/RecordingKeeper.h"
#include "support/RecordingRatingPrompt.h"

#include "model/Lexicarta.h"
#include "platform/files/Settings.h"
#include "quiz/FlashCardRun.h"
#include "quiz/QLXQuizInterface.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using lexi::FlashCardFace;
using lexi::FlashCardPage;
using lexi::FlashCardRun;
using lexi::WordList;

namespace {

// A page that notes what the run asks of it; it refuses flips while `isFlipping` is set.
class RecordingPage final : public FlashCardPage
{
public:
    void showRun() override { ++shows; }
    void showSide(Side shown) override { side = shown; }
    bool flipFirstHalf() override
    {
        if (isFlipping)
            return false;
        steps.append(u"first half"_s);
        return true;
    }
    void flipSecondHalf(bool reverse) override { steps.append(reverse ? u"reverse half"_s : u"second half"_s); }
    void resultsShown() override { ++ended; }

    bool isFlipping = false;
    Side side = Side::Card;
    QStringList steps;
    int shows = 0;
    int ended = 0;
};

class FlashCardRunTest : public testing::Test
{
protected:
    FlashCardRunTest() { recording.keeper.setVocabulary(vocabulary); }

    std::shared_ptr<QLXWord> add(const QString &your, const QString &foreign, quint64 level = 0)
    {
        auto word = std::make_shared<QLXWord>(your, foreign);
        word->setLevel(level);
        vocabulary->addWord(word);
        return word;
    }

    // A run of exactly `words`, in this order, asking for the foreign word, the slider at `level`.
    void start(const WordList &words, int level = 0)
    {
        quiz.setVocabulary(vocabulary);
        quiz.askInOrder(words);
        run.changeFlipTimeout(level);
        run.startQuiz();
    }

    // Moves on from a card whose answer shows, as Space does, and lets the next card flip in.
    void leaveCard()
    {
        run.next();
        scheduler.advance(FlashCardRun::flipInDelay);
    }

    void answerAll(std::initializer_list<int> outcomes)
    {
        for (const int outcome : outcomes) {
            run.next();
            if (outcome > 0)
                run.markCorrect();
            if (outcome < 0)
                run.markWrong();
            leaveCard();
        }
    }

    QTemporaryDir folder;
    lexi::Defaults defaults{folder.filePath(u"Lexicarta.conf"_s)};
    lexi::test::FakeVocabularyServices fakes;
    lexi::test::ManualScheduler scheduler{fakes.clock};
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    lexi::test::RecordingKeeper recording;
    lexi::test::RecordingRatingPrompt rating;
    RecordingPage page;
    QLXQuizInterface quiz{defaults};
    FlashCardRun run{quiz, {defaults, scheduler, recording.keeper, rating}, page};
};

TEST(FlipSpeedTest, TheSliderPositionsAndTheirTimes)
{
    const struct
    {
        int level;
        QString label;
        std::chrono::seconds question, answer;
    } speeds[] = {
        {0, u"off"_s, 0s, 0s}, {1, u"slow"_s, 5s, 3s}, {2, u"normal"_s, 3s, 2s}, {3, u"fast"_s, 2s, 1s}, {7, u"fast"_s, 2s, 1s},
    };
    for (const auto &speed : speeds) {
        const lexi::FlipSpeed flip = lexi::FlipSpeed::forLevel(speed.level);
        EXPECT_EQ(flip.labelKey, speed.label);
        EXPECT_EQ(flip.questionShown, speed.question);
        EXPECT_EQ(flip.answerShown, speed.answer);
    }
}

TEST_F(FlashCardRunTest, TheSliderStartsWhereTheLearnerLeftItAndEveryPositionIsStored)
{
    const struct
    {
        bool hasSet;
        qint64 stored;
        int slider;
    } cases[] = {{false, 3, 2}, {true, 0, 0}, {true, 3, 3}, {true, 99, 3}, {true, -4, 0}};
    for (const auto &test : cases) {
        SCOPED_TRACE(testing::Message() << test.hasSet << " " << test.stored);
        lexi::Settings settings(defaults);
        settings.setValue(lexi::Settings::learnHasSetTimeout, test.hasSet);
        settings.setValue(lexi::Settings::learnFlipLevel, test.stored);
        FlashCardRun fresh(quiz, {defaults, scheduler, recording.keeper, rating}, page);
        fresh.awake();
        EXPECT_EQ(fresh.flipLevel(), test.slider);
        EXPECT_EQ(fresh.showAnswerTimeout(), lexi::FlipSpeed::forLevel(test.slider).questionShown);
        EXPECT_EQ(settings.value(lexi::Settings::learnFlipLevel), test.slider);
        EXPECT_TRUE(settings.value(lexi::Settings::learnHasSetTimeout));
    }
}

TEST_F(FlashCardRunTest, AFirstNextRevealsTheAnswerAndASecondRecordsTheCardAsItsMarksStand)
{
    const struct
    {
        int mark; // 1 correct, -1 wrong, 0 none
        quint64 levelAfter; // from level 2
        qint64 correct, wrong, skipped;
    } cases[] = {{1, 3, 1, 0, 0}, {-1, 1, 0, 1, 0}, {0, 2, 0, 0, 1}};
    for (const auto &test : cases) {
        SCOPED_TRACE(test.mark);
        const auto house = add(u"house"_s, u"Haus"_s, 2);
        const auto tree = add(u"tree"_s, u"Baum"_s);
        const int savesBefore = recording.saves;
        start({house, tree});
        EXPECT_EQ(run.face().question, u"house"_s);
        EXPECT_FALSE(run.face().isAnswerShown);
        EXPECT_EQ(run.face().buttons, FlashCardFace::Buttons::ShowAnswer);

        run.next();
        EXPECT_TRUE(run.isShowingSolution());
        EXPECT_EQ(run.face().answer, u"Haus"_s);
        EXPECT_TRUE(run.face().isAnswerShown);
        EXPECT_EQ(run.face().buttons, FlashCardFace::Buttons::Marks);
        EXPECT_TRUE(run.face().isEditOffered);
        EXPECT_FALSE(house->lastAsked()) << "revealing records nothing";
        EXPECT_EQ(recording.saves, savesBefore);

        if (test.mark > 0)
            run.markCorrect();
        if (test.mark < 0)
            run.markWrong();
        page.steps.clear();
        run.next();
        EXPECT_TRUE(house->lastAsked().has_value());
        EXPECT_EQ(house->level(), test.levelAfter);
        EXPECT_EQ(run.numberOfCorrect(), test.correct);
        EXPECT_EQ(run.numberOfWrong(), test.wrong);
        EXPECT_EQ(run.numberOfSkipped(), test.skipped);
        EXPECT_EQ(run.wrongAnsweredWords().contains(house), test.mark < 0) << "a skipped card is not asked again";
        EXPECT_EQ(recording.saves, savesBefore + 1);
        EXPECT_EQ(recording.sync.marks, recording.saves);
        EXPECT_TRUE(vocabulary->needsSync());
        EXPECT_EQ(run.face().question, u"house"_s) << "the old card shows until the next one flips in";

        scheduler.advance(FlashCardRun::flipInDelay);
        EXPECT_EQ(page.steps, (QStringList{u"first half"_s, u"second half"_s}));
        EXPECT_EQ(run.face().question, u"tree"_s);
        EXPECT_FALSE(run.face().isAnswerShown);
        EXPECT_EQ(run.face().color, FlashCardFace::Color::Neutral);
        EXPECT_EQ(run.runningNumber(), 2);
        run.leave();
        vocabulary->removeWords(vocabulary->allWords());
    }
}

TEST_F(FlashCardRunTest, AMarkMovesOnByItselfAndOneToggledOffAgainRecordsASkip)
{
    const struct
    {
        bool correct;
        bool toggledOff;
        std::chrono::milliseconds after;
        int outcome;
    } cases[] = {
        {true, false, 600ms, 1},
        {false, false, 500ms, -1},
        {true, true, 600ms, 0},
        {false, true, 500ms, 0},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(testing::Message() << test.correct << test.toggledOff);
        const auto word = add(u"house"_s, u"Haus"_s, 2);
        start({word, add(u"tree"_s, u"Baum"_s)});
        run.next();
        const auto mark = [&] { test.correct ? run.markCorrect() : run.markWrong(); };
        mark();
        EXPECT_EQ(run.face().color, test.correct ? FlashCardFace::Color::Correct : FlashCardFace::Color::Wrong);
        if (test.toggledOff) {
            scheduler.advance(test.after / 2);
            mark();
            EXPECT_EQ(run.face().color, FlashCardFace::Color::Neutral);
            EXPECT_FALSE(run.face().isRiseShown || run.face().isFallShown);
        }
        scheduler.advance(test.after - 1ms);
        EXPECT_FALSE(word->lastAsked()) << "the mark may still change";
        scheduler.advance(1ms);
        ASSERT_TRUE(word->lastAsked());
        EXPECT_EQ(run.numberOfCorrect(), test.outcome > 0);
        EXPECT_EQ(run.numberOfWrong(), test.outcome < 0);
        EXPECT_EQ(run.numberOfSkipped(), test.outcome == 0);
        run.leave();
        vocabulary->removeWords(vocabulary->allWords());
    }
}

TEST_F(FlashCardRunTest, TheMarksShowWhereTheLevelGoes)
{
    const struct
    {
        quint64 level, afterCorrect, afterWrong;
        bool riseShown, fallShown, dontAskAgainOffered;
    } cases[] = {
        {0, 1, 0, true, false, false}, {1, 2, 0, true, true, false}, {2, 3, 1, true, true, false},
        {3, 4, 2, true, true, false},  {4, 5, 2, true, true, false}, {5, 5, 2, false, true, true},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.level);
        start({add(u"house"_s, u"Haus"_s, test.level)});
        EXPECT_EQ(run.face().level, test.level);
        EXPECT_EQ(run.face().levelAfterCorrect, test.afterCorrect);
        EXPECT_EQ(run.face().levelAfterWrong, test.afterWrong);
        run.next();
        EXPECT_EQ(run.face().isDontAskAgainOffered, test.dontAskAgainOffered);
        run.markCorrect();
        EXPECT_EQ(run.face().isRiseShown, test.riseShown);
        EXPECT_FALSE(run.face().isFallShown);
        run.markWrong();
        EXPECT_EQ(run.face().isFallShown, test.fallShown);
        EXPECT_FALSE(run.face().isRiseShown);
        EXPECT_EQ(run.face().isDontAskAgainOffered, test.dontAskAgainOffered) << "a wrong mark leaves the box";
        run.leave();
    }
}

TEST_F(FlashCardRunTest, DontAskAgainIsAppliedBeforeTheCardIsSaved)
{
    int saves = 0;
    bool savedKeptOut = false;
    lexi::test::RecordingSyncRequests sync;
    lexi::VocabularyKeeper keeper(
        [&](const Lexicarta &saved) {
            ++saves;
            savedKeptOut = saved.allWords().first()->dontAskAgain() && saved.allWords().first()->lastAsked();
            return true;
        },
        sync);
    keeper.setVocabulary(vocabulary);
    FlashCardRun ordered(quiz, {defaults, scheduler, keeper, rating}, page);
    const auto native = add(u"house"_s, u"Haus"_s, 5);
    quiz.setVocabulary(vocabulary);
    quiz.askInOrder({native, add(u"tree"_s, u"Baum"_s, 4)});
    ordered.changeFlipTimeout(0);
    ordered.startQuiz();

    ordered.setDontAskAgainTicked(true);
    EXPECT_FALSE(ordered.face().isDontAskAgainTicked) << "not offered before the answer shows";
    ordered.next();
    ordered.setDontAskAgainTicked(true);
    ordered.markCorrect();
    ordered.next();
    EXPECT_EQ(saves, 1);
    EXPECT_TRUE(savedKeptOut) << "answered and kept out of quizzes before the save";
    scheduler.advance(FlashCardRun::flipInDelay);
    ordered.next();
    EXPECT_FALSE(ordered.face().isDontAskAgainOffered) << "only for native words";
    ordered.setDontAskAgainTicked(true);
    EXPECT_FALSE(ordered.face().isDontAskAgainTicked);
}

TEST_F(FlashCardRunTest, SlowAutoPlayShowsEachQuestionFiveSecondsAndEachAnswerThreeAndEndsOff)
{
    const auto first = add(u"house"_s, u"Haus"_s), second = add(u"tree"_s, u"Baum"_s);
    start({first, second}, 1);
    ASSERT_TRUE(run.isAutoPlay());
    EXPECT_FALSE(run.isShowAnswerEnabled());
    for (const auto &word : {first, second}) {
        SCOPED_TRACE(word->yourWord().toStdString());
        scheduler.advance(5s - 1ms);
        EXPECT_FALSE(run.isShowingSolution());
        scheduler.advance(1ms);
        EXPECT_TRUE(run.isShowingSolution());
        scheduler.advance(3s - 1ms);
        EXPECT_FALSE(word->lastAsked());
        scheduler.advance(1ms);
        EXPECT_TRUE(word->lastAsked());
        EXPECT_EQ(run.numberOfSkipped(), word == first ? 1 : 2) << "an unmarked card is skipped";
        scheduler.advance(FlashCardRun::flipInDelay);
    }
    EXPECT_FALSE(run.isAutoPlay()) << "auto-play ends off at the last card";
    EXPECT_TRUE(run.isShowAnswerEnabled());
    scheduler.advance(FlashCardRun::stepDelay);
    EXPECT_EQ(page.side, FlashCardPage::Side::Results);
}

TEST_F(FlashCardRunTest, ASliderChangeAppliesFromTheNextStep)
{
    const auto word = add(u"house"_s, u"Haus"_s);
    start({word, add(u"tree"_s, u"Baum"_s)}, 1);
    scheduler.advance(2s);
    run.changeFlipTimeout(3);
    EXPECT_EQ(lexi::Settings(defaults).value(lexi::Settings::learnFlipLevel), 3);
    scheduler.advance(3s - 1ms);
    EXPECT_FALSE(run.isShowingSolution()) << "the running step keeps its 5 s";
    scheduler.advance(1ms);
    ASSERT_TRUE(run.isShowingSolution());
    scheduler.advance(1s);
    EXPECT_TRUE(word->lastAsked()) << "the answer shows for the fast 1 s";
}

TEST_F(FlashCardRunTest, AutoPlayIsOnExactlyWhenTheSliderIsAboveOff)
{
    const auto first = add(u"house"_s, u"Haus"_s), second = add(u"tree"_s, u"Baum"_s);

    // At "off" it neither starts nor can be switched on: 0 s steps would skip every card unseen.
    start({first, second}, 0);
    EXPECT_FALSE(run.isAutoPlay());
    EXPECT_FALSE(run.isPlayOffered());
    run.togglePlay();
    EXPECT_FALSE(run.isAutoPlay());
    scheduler.advance(10s);
    EXPECT_FALSE(first->lastAsked());

    // A new run while auto-play is on: the start sets it from the slider, not by toggling.
    start({first, second}, 2);
    EXPECT_TRUE(run.isAutoPlay());
    start({first, second}, 2);
    EXPECT_TRUE(run.isAutoPlay());
    run.leave();
    EXPECT_FALSE(run.isAutoPlay()) << "leaving stops it";
    scheduler.advance(10s);
    EXPECT_FALSE(first->lastAsked());
    start({first, second}, 2);

    // The slider moved to "off" during auto-play stops it; pausing and playing by hand.
    run.changeFlipTimeout(0);
    EXPECT_FALSE(run.isAutoPlay());
    scheduler.advance(10s);
    EXPECT_FALSE(first->lastAsked());
    run.changeFlipTimeout(3);
    EXPECT_FALSE(run.isAutoPlay()) << "moving the slider up does not start it";
    run.togglePlay();
    EXPECT_TRUE(run.isAutoPlay());
    scheduler.advance(2s);
    EXPECT_TRUE(run.isShowingSolution());
    run.togglePlay();
    scheduler.advance(10s);
    EXPECT_FALSE(first->lastAsked()) << "paused on the answer";
}

TEST_F(FlashCardRunTest, ARefusedFlipStillShowsTheNextQuestion)
{
    start({add(u"house"_s, u"Haus"_s), add(u"tree"_s, u"Baum"_s)});
    run.next();
    page.isFlipping = true;
    run.next();
    scheduler.advance(FlashCardRun::flipInDelay);
    EXPECT_TRUE(page.steps.isEmpty()) << "no flip is played over one still playing";
    EXPECT_EQ(run.face().question, u"tree"_s);
    EXPECT_FALSE(run.face().isAnswerShown);
}

TEST_F(FlashCardRunTest, ASecondTriggerWhileAStepWaitsDoesNothing)
{
    const auto first = add(u"house"_s, u"Haus"_s), second = add(u"tree"_s, u"Baum"_s), third = add(u"cat"_s, u"Katze"_s);
    start({first, second, third}, 3);
    run.next();
    run.markWrong();
    run.next();
    // The next card waits to flip in: Next, the marks and the box do nothing to it (under
    // auto-play, Next on a question would record it).
    run.next();
    run.showNext();
    run.showSolution();
    run.markCorrect();
    run.setDontAskAgainTicked(true);
    scheduler.advance(FlashCardRun::flipInDelay);
    EXPECT_FALSE(run.isShowingSolution());
    EXPECT_EQ(run.face().color, FlashCardFace::Color::Neutral);
    scheduler.advance(1s);
    EXPECT_FALSE(second->lastAsked()) << "the unseen card is not recorded";
    EXPECT_EQ(recording.saves, 1);

    answerAll({1, 1});
    ASSERT_FALSE(run.currentWord());
    run.next();
    run.restartQuizWithWrong();
    scheduler.advance(FlashCardRun::stepDelay);
    EXPECT_EQ(rating.events.size(), 1);
    run.restartQuizWithWrong();
    run.restartQuizWithWrong();
    scheduler.advance(FlashCardRun::stepDelay);
    EXPECT_EQ(quiz.wordsToAsk(), WordList{first});
    EXPECT_EQ(run.runningNumber(), 1);
    EXPECT_EQ(recording.sync.syncs, 1);
}

TEST_F(FlashCardRunTest, TheResultsCountOfTheCardsOfTheRun)
{
    const struct
    {
        std::initializer_list<int> outcomes;
        QString introKey;
        double correctPercent, skippedPercent;
        QString correct, wrong, skipped;
    } cases[] = {
        {{-1, -1, 0, 0, 0}, u"rehearseAgain"_s, 0, 60, u"0 / 5"_s, u"2 / 5"_s, u"3 / 5"_s},
        {{1, 0, 0, -1, 0}, u"wellDone"_s, 20, 60, u"1 / 5"_s, u"1 / 5"_s, u"3 / 5"_s},
        {{1, 1, 0, -1, -1}, u"wellDone"_s, 40, 20, u"2 / 5"_s, u"2 / 5"_s, u"1 / 5"_s},
        {{1, 1, 1, 0, -1}, u"congratulations"_s, 60, 20, u"3 / 5"_s, u"1 / 5"_s, u"1 / 5"_s},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.introKey.toStdString() + " " + std::to_string(test.correctPercent));
        WordList words;
        for (int index = 0; index < 5; ++index)
            words.append(add(QString::number(index), u"x"_s, 2));
        const int syncs = recording.sync.syncs;
        const int events = int(rating.events.size());
        const int ended = page.ended;
        start(words);
        answerAll(test.outcomes);
        EXPECT_TRUE(run.isRunInProgress());
        EXPECT_NE(page.side, FlashCardPage::Side::Results);
        scheduler.advance(FlashCardRun::stepDelay);

        EXPECT_EQ(page.side, FlashCardPage::Side::Results);
        EXPECT_FALSE(run.isRunInProgress());
        EXPECT_FALSE(run.isProgressShown());
        const lexi::QuizResults results = run.results();
        EXPECT_EQ(results.introKey(), test.introKey);
        EXPECT_DOUBLE_EQ(results.correctPercent(), test.correctPercent);
        EXPECT_DOUBLE_EQ(results.misspelledPercent(), test.skippedPercent) << "the middle share is the skipped one";
        EXPECT_EQ(u"%1 / %2"_s.arg(results.correct).arg(results.total), test.correct);
        EXPECT_EQ(u"%1 / %2"_s.arg(results.wrong).arg(results.total), test.wrong);
        EXPECT_EQ(u"%1 / %2"_s.arg(results.misspelled).arg(results.total), test.skipped);
        EXPECT_EQ(recording.sync.syncs, syncs + 1) << "one synchronisation at the results";
        EXPECT_EQ(rating.events.size(), events + 1);
        EXPECT_EQ(rating.events.last(), true);
        EXPECT_EQ(page.ended, ended + 1);
        EXPECT_EQ(run.isRestartOffered(), results.wrong > 0);
        page.side = FlashCardPage::Side::Card;
    }
}

TEST_F(FlashCardRunTest, ARestartAsksExactlyTheCardsMarkedWrongInTheOrderTheyWereMarked)
{
    const auto a = add(u"a"_s, u"A"_s), b = add(u"b"_s, u"B"_s), c = add(u"c"_s, u"C"_s), d = add(u"d"_s, u"D"_s);
    start({d, a, c, b}, 2);
    run.stopPlaying();
    answerAll({-1, 0, 1, -1});
    scheduler.advance(FlashCardRun::stepDelay);
    ASSERT_TRUE(run.isRestartOffered());
    page.steps.clear();
    run.restartQuizWithWrong();
    scheduler.advance(FlashCardRun::stepDelay);
    EXPECT_EQ(page.side, FlashCardPage::Side::Card);
    EXPECT_EQ(page.steps, (QStringList{u"first half"_s, u"second half"_s}));
    EXPECT_EQ(quiz.wordsToAsk(), (WordList{d, b}));
    EXPECT_EQ(run.numberOfWordsToAsk(), 2);
    EXPECT_EQ(run.currentWord(), d);
    EXPECT_EQ(run.numberOfCorrect() + run.numberOfWrong() + run.numberOfSkipped(), 0);
    EXPECT_TRUE(run.wrongAnsweredWords().isEmpty());
    EXPECT_TRUE(run.isAutoPlay()) << "as the slider says";
    EXPECT_TRUE(run.isProgressShown());
}

TEST_F(FlashCardRunTest, ADeletedCardIsRecordedNowhereAndLeavesTheRun)
{
    const auto first = add(u"house"_s, u"Haus"_s, 3), deleted = add(u"tree"_s, u"Baum"_s, 3),
               last = add(u"cat"_s, u"Katze"_s, 3);
    start({first, deleted, last});
    answerAll({-1});
    run.next();
    run.markWrong();
    const int saves = recording.saves;
    vocabulary->removeWord(deleted);
    run.wordsDeleted({deleted});
    EXPECT_TRUE(run.face().isDeletedMarkShown);
    EXPECT_FALSE(run.face().isEditOffered);
    scheduler.advance(1s);
    EXPECT_EQ(deleted->level(), 3u);
    EXPECT_FALSE(deleted->lastAsked());
    EXPECT_EQ(recording.saves, saves) << "the mark's step went with the card";
    EXPECT_EQ(recording.sync.syncs, 1);
    EXPECT_EQ(run.currentWord(), last);
    EXPECT_EQ(run.face().question, u"cat"_s);
    EXPECT_FALSE(run.face().isDeletedMarkShown);
    EXPECT_EQ(run.runningNumber(), 2);
    EXPECT_EQ(run.numberOfWordsToAsk(), 2);

    // The last card deleted: the results follow, of the two cards the run kept.
    run.next();
    vocabulary->removeWord(last);
    run.wordsDeleted({last});
    scheduler.advance(FlashCardRun::stepDelay);
    EXPECT_EQ(page.side, FlashCardPage::Side::Results);
    const lexi::QuizResults results = run.results();
    EXPECT_EQ(results.total, 1);
    EXPECT_EQ(results.wrong, 1);
    EXPECT_EQ(run.wrongAnsweredWords(), WordList{first});
}

TEST_F(FlashCardRunTest, AnEditedCardShowsItsWordAnew)
{
    const auto word = add(u"house"_s, u"Haus"_s);
    word->setComment(u"a building"_s);
    start({word});
    EXPECT_EQ(run.face().comment, u"a building"_s);
    EXPECT_FALSE(run.face().isCommentShown);
    run.next();
    EXPECT_TRUE(run.face().isCommentShown);
    word->setForeignWord(u"das Haus"_s);
    run.currentWordEdited();
    EXPECT_EQ(run.face().answer, u"das Haus"_s);
    EXPECT_EQ(recording.sync.syncs, 1);
}

TEST_F(FlashCardRunTest, BothDirectionsDrawTheSideOfEachQuestion)
{
    quiz.setAskForYourWord(true);
    quiz.setAskForForeignWord(false);
    start({add(u"house"_s, u"Haus"_s)});
    EXPECT_FALSE(run.lastAskedForeign());
    EXPECT_EQ(run.face().question, u"Haus"_s);
    run.next();
    EXPECT_EQ(run.face().answer, u"house"_s);

    quiz.setAskForForeignWord(true);
    bool askedForeign = false, askedYours = false;
    for (int draw = 0; draw < 64 && !(askedForeign && askedYours); ++draw) {
        start({add(u"tree"_s, u"Baum"_s)});
        (run.lastAskedForeign() ? askedForeign : askedYours) = true;
        EXPECT_EQ(run.face().question, run.lastAskedForeign() ? u"tree"_s : u"Baum"_s);
    }
    EXPECT_TRUE(askedForeign && askedYours);
}

TEST_F(FlashCardRunTest, ARunWithoutCardsGoesStraightToItsResults)
{
    start({});
    EXPECT_FALSE(run.isAutoPlay());
    scheduler.advance(FlashCardRun::stepDelay);
    EXPECT_EQ(page.side, FlashCardPage::Side::Results);
    EXPECT_EQ(run.results().total, 0);
    EXPECT_DOUBLE_EQ(run.results().correctPercent(), 0);
}

} // namespace
