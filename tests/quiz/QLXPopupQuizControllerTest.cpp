#include "QuizPagesFixture.h"

#include "support/Screenshots.h"

#include "platform/files/Settings.h"
#include "platform/ports/FocusReturn.h"
#include "quiz/QLXPopupQuizController.h"
#include "views/QLXCardView.h"
#include "views/QLXPieChart.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// Remembers what the window asked of the session's focus.
class RecordingFocusReturn final : public lexi::FocusReturn
{
public:
    void rememberFocusedWindow() override { log.append(u"remember"_s); }
    bool returnFocus() override
    {
        log.append(u"return"_s);
        return true;
    }

    QStringList log;
};

class PopupQuizTest : public lexi::test::QuizPagesFixture
{
protected:
    // A run of exactly these words, in this order, asking for the foreign word; the quiz tab (the
    // pages) stands for the main window.
    QLXPopupQuizController &start(const lexi::WordList &words)
    {
        quiz = std::make_unique<QLXPopupQuizController>(services, pages, focus);
        quiz->setVocabulary(vocabulary);
        quiz->setAskForForeignWord(true);
        quiz->setAskForYourWord(false);
        quiz->askInOrder(words);
        pages.show();
        quiz->start();
        return *quiz;
    }

    // Types `text` (the key events only know ASCII), presses Return to check it, and shows the
    // verdict.
    void type(const QString &text)
    {
        ASSERT_TRUE(quiz->answerField().isVisible());
        quiz->answerField().clear();
        quiz->answerField().insert(text);
        QTest::keyClick(&quiz->answerField(), Qt::Key_Return);
    }

    void clickNext() { QTest::mouseClick(&quiz->nextButton(), Qt::LeftButton); }
    void waitForQuestion() { scheduler.advance(std::chrono::minutes(quiz->run().questionIntervalMinutes())); }
    int windowPage() const { return quiz->windowPages().currentIndex(); }
    static QString imageName(const QLabel &label) { return label.property("imageName").toString(); }

    RecordingFocusReturn focus;
    std::unique_ptr<QLXPopupQuizController> quiz;
};

TEST_F(PopupQuizTest, AQuestionComesUpInAWindowOfItsOwnAboveOthers)
{
    const auto house = addWord(u"house"_s, u"Haus"_s, 2);
    start({house, addWord(u"tree"_s, u"Baum"_s)});

    QWidget &window = quiz->quizWindow();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isWindow());
    EXPECT_EQ(window.parentWidget(), nullptr);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(windowPage(), QLXPopupQuizController::QuestionPage);
    EXPECT_EQ(quiz->questionField().text(), u"house"_s);
    EXPECT_EQ(pages.currentPage(), lexi::QuizPages::PopupQuiz);
    EXPECT_TRUE(quiz->stopButton().isEnabled());
    EXPECT_EQ(focus.log, QStringList{u"remember"_s});

    // It shows near the top-left corner of the screen's free area, and where the learner moved it.
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(available.contains(window.frameGeometry()));
    window.move(available.topLeft() + QPoint(300, 120));
    QCoreApplication::processEvents();
    EXPECT_EQ(lexi::Settings(defaults).popupQuizWindowOrigin(), QPointF(available.topLeft() + QPoint(300, 120)));
}

TEST_F(PopupQuizTest, TheVerdictShowsTheAnswerItsMarkAndTheLevels)
{
    const struct
    {
        QString answer;
        quint64 level;
        QString mark;
        bool answerShown;
        bool expectedShown;
        QString upper, lower;
        bool offersIKnewIt, offersDontAskAgain;
    } cases[] = {
        {u"Haus"_s, 2, u"✓"_s, true, false, u"interim"_s, u"short_term"_s, false, false},
        {u"Haus"_s, 4, u"✓"_s, true, false, QString(), u"long_term"_s, false, true},
        {u"haus"_s, 2, u"≈"_s, true, true, QString(), u"short_term"_s, true, false},
        {u"Hut"_s, 3, u"X"_s, true, true, u"interim"_s, u"short_term"_s, true, false},
        {u" "_s, 3, u"X"_s, false, true, u"interim"_s, u"short_term"_s, true, false},
        {u""_s, 0, u"X"_s, false, true, QString(), u"unknown"_s, true, false},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(testing::Message() << '"' << test.answer.toStdString() << "\" at " << test.level);
        const auto house = addWord(u"house"_s, u"Haus"_s, test.level);
        start({house, addWord(u"tree"_s, u"Baum"_s)});
        const int saves = recording.saves;
        type(test.answer);

        EXPECT_EQ(recording.saves, saves + 1) << "recorded when judged";
        EXPECT_EQ(windowPage(), QLXPopupQuizController::AnswerPage);
        EXPECT_EQ(quiz->answerMark().text(), test.mark);
        EXPECT_EQ(quiz->answerLabel().isVisible(), test.answerShown);
        EXPECT_EQ(quiz->answerMark().isVisible(), test.answerShown);
        EXPECT_EQ(quiz->answerLabel().text(), test.answer);
        EXPECT_EQ(quiz->expectedLabel().isVisible(), test.expectedShown);
        EXPECT_EQ(quiz->expectedLabel().text(), u"Haus"_s);
        EXPECT_EQ(quiz->askedLabel().text(), u"house"_s);
        EXPECT_EQ(quiz->upperLevelIcon().isVisible(), !test.upper.isEmpty());
        if (!test.upper.isEmpty()) {
            EXPECT_EQ(imageName(quiz->upperLevelIcon()), test.upper);
        }
        EXPECT_EQ(imageName(quiz->lowerLevelIcon()), test.lower);
        EXPECT_EQ(quiz->iKnewItBox().isVisible(), test.offersIKnewIt);
        EXPECT_EQ(quiz->dontAskAgainBox().isVisible(), test.offersDontAskAgain);
        EXPECT_TRUE(quiz->windowCard().colorRightSide());
        EXPECT_TRUE(quiz->editButton().isVisible());
        vocabulary->setAllWords({});
    }
}

TEST_F(PopupQuizTest, NextSendsTheWindowAwayAndTheFocusBackUntilTheNextQuestion)
{
    const auto house = addWord(u"house"_s, u"Haus"_s, 4);
    const auto tree = addWord(u"tree"_s, u"Baum"_s);
    start({house, tree});
    type(u"Hut"_s);

    // "I knew it" previews the level the word ends at, and counts when Next settles it.
    QTest::mouseClick(&quiz->iKnewItBox(), Qt::LeftButton);
    EXPECT_EQ(imageName(quiz->lowerLevelIcon()), u"long_term"_s);
    EXPECT_EQ(imageName(quiz->upperLevelIcon()), u"native"_s);
    EXPECT_EQ(quiz->windowCard().leftStartColor(), [] {
        QLXCardView correct;
        correct.setColorCorrect();
        return correct.leftStartColor();
    }());
    focus.log.clear();
    clickNext();
    EXPECT_EQ(house->level(), 5u);
    EXPECT_FALSE(quiz->quizWindow().isVisible());
    EXPECT_EQ(focus.log, QStringList{u"return"_s});
    EXPECT_FALSE(quiz->iKnewItBox().isChecked());

    scheduler.advance(4min);
    EXPECT_FALSE(quiz->quizWindow().isVisible());
    scheduler.advance(1min);
    EXPECT_TRUE(quiz->quizWindow().isVisible());
    EXPECT_EQ(windowPage(), QLXPopupQuizController::QuestionPage);
    EXPECT_EQ(quiz->questionField().text(), u"tree"_s);
    EXPECT_TRUE(quiz->answerField().text().isEmpty());
    EXPECT_FALSE(quiz->windowCard().colorRightSide());
}

TEST_F(PopupQuizTest, TheStepperChangesTheWaitAtOnce)
{
    start({addWord(u"house"_s, u"Haus"_s), addWord(u"tree"_s, u"Baum"_s)});
    EXPECT_EQ(quiz->intervalField().maximum(), 100);
    type(u"Haus"_s);
    clickNext();
    scheduler.advance(1min);
    quiz->intervalField().setValue(2);
    scheduler.advance(2min - 1s);
    EXPECT_FALSE(quiz->quizWindow().isVisible());
    scheduler.advance(1s);
    EXPECT_TRUE(quiz->quizWindow().isVisible());
    EXPECT_EQ(lexi::Settings(defaults).value(lexi::Settings::popupQuizInterval), 2);
}

TEST_F(PopupQuizTest, TheResultsShowOverTheAnswersGivenAndEndTheRun)
{
    start({addWord(u"house"_s, u"Haus"_s), addWord(u"tree"_s, u"Baum"_s), addWord(u"water"_s, u"Wasser"_s)});
    QSignalSpy ended(quiz.get(), &lexi::QuizMode::runEnded);
    type(u"Haus"_s);
    clickNext();
    waitForQuestion();
    type(u"Baun"_s);
    QTest::mouseClick(&quiz->stopButton(), Qt::LeftButton);

    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(quiz->isRunInProgress());
    EXPECT_TRUE(quiz->quizWindow().isVisible());
    EXPECT_EQ(windowPage(), QLXPopupQuizController::ResultPage);
    EXPECT_EQ(quiz->correctCount().text(), u"1 / 2"_s);
    EXPECT_EQ(quiz->misspelledCount().text(), u"1 / 2"_s);
    EXPECT_EQ(quiz->wrongCount().text(), u"0 / 2"_s);
    EXPECT_TRUE(quiz->introText().text().startsWith(u"50%"_s));
    EXPECT_TRUE(quiz->pieChart().isVisible());
    EXPECT_DOUBLE_EQ(quiz->pieChart().correctPercent(), 0.5);
    EXPECT_FALSE(quiz->stopButton().isEnabled());
    scheduler.advance(1h);
    EXPECT_EQ(windowPage(), QLXPopupQuizController::ResultPage) << "no question over the results";

    // Close: back to the set-up page.
    QSignalSpy newQuiz(quiz.get(), &lexi::QuizMode::newQuizRequested);
    QTest::mouseClick(&quiz->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(quiz->quizWindow().isVisible());
    EXPECT_EQ(newQuiz.count(), 1);

    // Stopped before any answer: no chart, 0 %.
    start({addWord(u"cat"_s, u"Katze"_s)});
    quiz->stopQuiz();
    EXPECT_FALSE(quiz->pieChart().isVisible());
    EXPECT_TRUE(quiz->introText().text().startsWith(u"0%"_s));
}

TEST_F(PopupQuizTest, TheLastAnswerBringsTheResultsAndEndsTheRunByItself)
{
    start({addWord(u"house"_s, u"Haus"_s)});
    QSignalSpy ended(quiz.get(), &lexi::QuizMode::runEnded);
    type(u"Haus"_s);
    clickNext();
    waitForQuestion();
    EXPECT_EQ(windowPage(), QLXPopupQuizController::ResultPage);
    EXPECT_TRUE(quiz->quizWindow().isVisible());
    EXPECT_EQ(ended.count(), 1) << "the main window is switched on again";
    EXPECT_FALSE(quiz->stopButton().isEnabled());
}

TEST_F(PopupQuizTest, TheWindowsCloseButtonStopsTheRunWithNothingLost)
{
    const auto house = addWord(u"house"_s, u"Haus"_s, 2);
    start({house, addWord(u"tree"_s, u"Baum"_s)});
    type(u"haus"_s);
    quiz->iKnewItBox().setChecked(true);
    const int saves = recording.saves;

    // While the main window is there, closing acts as the stop button.
    EXPECT_FALSE(quiz->quizWindow().close());
    EXPECT_TRUE(quiz->quizWindow().isVisible());
    EXPECT_EQ(windowPage(), QLXPopupQuizController::ResultPage);
    EXPECT_EQ(house->level(), 3u);
    EXPECT_GT(recording.saves, saves);
    EXPECT_FALSE(quiz->isRunInProgress());

    // On the results it closes.
    EXPECT_TRUE(quiz->quizWindow().close());
    EXPECT_FALSE(quiz->quizWindow().isVisible());
}

TEST_F(PopupQuizTest, WithoutTheMainWindowClosingThePopupEndsTheRun)
{
    const auto house = addWord(u"house"_s, u"Haus"_s, 2);
    start({house, addWord(u"tree"_s, u"Baum"_s)});
    type(u"Haus"_s);
    quiz->dontAskAgainBox().setChecked(true); // not offered below native: settles nothing
    clickNext();
    pages.close();
    waitForQuestion();
    ASSERT_TRUE(quiz->quizWindow().isVisible()) << "the run asks on without the main window";
    type(u"wrong"_s);
    quiz->iKnewItBox().setChecked(true);
    QSignalSpy ended(quiz.get(), &lexi::QuizMode::runEnded);

    EXPECT_TRUE(quiz->quizWindow().close());
    EXPECT_FALSE(quiz->isRunInProgress());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(quiz->quizWindow().isVisible());
}

TEST_F(PopupQuizTest, AWordDeletedFromTheVerdictSettlesNothingAndLeavesTheRun)
{
    const auto house = addWord(u"house"_s, u"Haus"_s, 2);
    const auto tree = addWord(u"tree"_s, u"Baum"_s);
    start({house, tree, house});
    type(u"wrong"_s);
    QSignalSpy edit(quiz.get(), &QLXPopupQuizController::editWordRequested);
    QTest::mouseClick(&quiz->editButton(), Qt::LeftButton);
    ASSERT_EQ(edit.count(), 1);
    EXPECT_EQ(edit.first().first().value<std::shared_ptr<QLXWord>>(), house);

    quiz->wordPopoverDidDeleteWords({house});
    EXPECT_TRUE(quiz->deletedMark().isVisible());
    EXPECT_FALSE(quiz->editButton().isVisible());
    EXPECT_FALSE(quiz->iKnewItBox().isEnabled());
    EXPECT_EQ(recording.sync.syncs, 1);
    clickNext();
    EXPECT_EQ(house->level(), 1u) << "the wrong answer stays as it was";
    waitForQuestion();
    EXPECT_EQ(quiz->questionField().text(), u"tree"_s);
    type(u"Baum"_s);
    clickNext();
    waitForQuestion();
    EXPECT_EQ(windowPage(), QLXPopupQuizController::ResultPage) << "the deleted word is not asked again";
}

TEST_F(PopupQuizTest, AReplacedVocabularyEndsTheRun)
{
    start({addWord(u"house"_s, u"Haus"_s), addWord(u"tree"_s, u"Baum"_s)});
    QSignalSpy ended(quiz.get(), &lexi::QuizMode::runEnded);
    recording.keeper.setVocabulary(Lexicarta::create(vocabularyServices));
    EXPECT_FALSE(quiz->isRunInProgress());
    EXPECT_FALSE(quiz->quizWindow().isVisible());
    EXPECT_EQ(ended.count(), 1);
    scheduler.advance(1h);
    EXPECT_FALSE(quiz->quizWindow().isVisible());
}

TEST_F(PopupQuizTest, Screenshots)
{
    vocabulary->setForeignLanguageName(u"German"_s);
    vocabulary->setYourLanguageName(u"English"_s);
    const auto house = addWord(u"the house"_s, u"das Haus"_s, 2);
    house->setComment(u"also: home, building"_s);
    const auto tree = addWord(u"the tree"_s, u"der Baum"_s, 3);
    const auto bridge = addWord(u"the bridge"_s, u"die Brücke"_s, 1);

    const auto save = [](QWidget &widget, const QString &name) {
        EXPECT_TRUE(lexi::test::saveScreenshot(widget, name)) << name.toStdString();
    };

    start({house, tree, bridge});
    pages.resize(1000, 640);
    save(pages, u"popup-quiz-page"_s);
    save(quiz->quizWindow(), u"popup-quiz-question"_s);
    type(u"das Hous"_s);
    save(quiz->quizWindow(), u"popup-quiz-misspelled"_s);
    clickNext();
    waitForQuestion();
    type(u"die Eiche"_s);
    save(quiz->quizWindow(), u"popup-quiz-wrong"_s);
    clickNext();
    waitForQuestion();
    type(u"die Brücke"_s);
    quiz->stopQuiz();
    save(quiz->quizWindow(), u"popup-quiz-results"_s);
}

} // namespace
