#include "QuizPagesFixture.h"

#include "support/Screenshots.h"

#include "platform/files/Settings.h"
#include "quiz/QLXFlashCardQuizController.h"
#include "quiz/QLXQuizSetupController.h"
#include "quiz/QLXTypingQuizController.h"
#include "views/QLXBookmarkView.h"
#include "views/QLXCardView.h"
#include "views/QLXPieChart.h"
#include "views/QLXProgressBar.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using lexi::FlashCardRun;

namespace {

class FlashCardQuizTest : public lexi::test::QuizPagesFixture
{
protected:
    // A run of exactly these words, in this order, asking for the foreign word, the slider at
    // `level`.
    QLXFlashCardQuizController &start(const lexi::WordList &words, int level = 0)
    {
        quiz = std::make_unique<QLXFlashCardQuizController>(services, pages);
        quiz->setVocabulary(vocabulary);
        quiz->flipSpeedSlider().setValue(level);
        quiz->askInOrder(words);
        pages.show();
        QApplication::setActiveWindow(&pages);
        quiz->start();
        return *quiz;
    }

    void press(Qt::Key key)
    {
        QWidget *focus = QApplication::focusWidget();
        ASSERT_TRUE(focus && quiz->page().isAncestorOf(focus)) << "the keyboard stays on the page";
        QTest::keyClick(focus, key);
    }

    bool shows(const QWidget &widget) const { return widget.isVisibleTo(&pages); }

    std::unique_ptr<QLXFlashCardQuizController> quiz;
};

TEST_F(FlashCardQuizTest, AWholeRunByKeys)
{
    const auto house = addWord(u"house"_s, u"Haus"_s, 2), tree = addWord(u"tree"_s, u"Baum"_s, 2),
               cat = addWord(u"cat"_s, u"Katze"_s, 2);
    house->setComment(u"a building"_s);
    start({house, tree, cat});
    QSignalSpy ended(quiz.get(), &QLXFlashCardQuizController::runEnded);
    EXPECT_EQ(pages.currentPage(), lexi::QuizPages::FlashCards);
    EXPECT_EQ(quiz->questionField().text(), u"house"_s);
    EXPECT_FALSE(shows(quiz->answerField()));
    EXPECT_FALSE(shows(quiz->commentField()));
    EXPECT_EQ(quiz->statusText().text(), u"Word 1 of 3"_s);
    EXPECT_EQ(quiz->levelIcon().property("imageName").toString(), u"short_term"_s);

    // Right: revealed, marked, moving on by itself.
    press(Qt::Key_Space);
    EXPECT_TRUE(shows(quiz->answerField()));
    EXPECT_EQ(quiz->answerField().text(), u"Haus"_s);
    EXPECT_TRUE(shows(quiz->commentField()));
    EXPECT_EQ(quiz->buttonArea().currentIndex(), 0) << "the marks";
    press(Qt::Key_Up);
    EXPECT_TRUE(quiz->correctButton().isChecked());
    EXPECT_TRUE(shows(quiz->upperLevelIcon()));
    EXPECT_EQ(quiz->upperLevelIcon().property("imageName").toString(), u"interim"_s);
    scheduler.advance(FlashCardRun::correctMarkDelay + FlashCardRun::flipInDelay);
    EXPECT_EQ(house->level(), 3u);
    EXPECT_EQ(quiz->questionField().text(), u"tree"_s);
    EXPECT_EQ(quiz->statusText().text(), u"Word 2 of 3"_s);
    scheduler.advance(1s);

    // Wrong, moving on at once with Return.
    press(Qt::Key_Return);
    press(Qt::Key_Down);
    EXPECT_TRUE(shows(quiz->lowerLevelIcon()));
    EXPECT_EQ(quiz->lowerLevelIcon().property("imageName").toString(), u"ultra_short_term"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(tree->level(), 1u);
    scheduler.advance(1s);

    // Skipped: revealed and left unmarked.
    press(Qt::Key_Space);
    press(Qt::Key_Space);
    EXPECT_TRUE(cat->lastAsked().has_value());
    EXPECT_EQ(cat->level(), 2u);
    EXPECT_EQ(recording.saves, 3);
    scheduler.advance(FlashCardRun::stepDelay);
    scheduler.advance(1s);

    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(quiz->isRunInProgress());
    EXPECT_TRUE(shows(quiz->introText()));
    EXPECT_FALSE(shows(quiz->progressBar()));
    EXPECT_EQ(quiz->correctCount().text(), u"1 / 3"_s);
    EXPECT_EQ(quiz->wrongCount().text(), u"1 / 3"_s);
    EXPECT_EQ(quiz->skippedCount().text(), u"1 / 3"_s);
    EXPECT_NEAR(quiz->pieChart().misspelledPercent(), 1.0 / 3, 1e-9) << "the middle slice is the skipped share";
    EXPECT_TRUE(quiz->introText().text().startsWith(u"33% correct. Well done"_s));
    EXPECT_TRUE(shows(quiz->restartButton()));
    EXPECT_EQ(recording.sync.syncs, 1);
    EXPECT_EQ(ratingPrompt.events, QList<bool>{true});

    // The restart asks the wrong card, and the keyboard is on the card again.
    ASSERT_TRUE(quiz->restartButton().isEnabled());
    QTest::mouseClick(&quiz->restartButton(), Qt::LeftButton);
    scheduler.advance(FlashCardRun::stepDelay);
    EXPECT_EQ(quiz->questionField().text(), u"tree"_s);
    EXPECT_EQ(quiz->statusText().text(), u"Word 1 of 1"_s);
    scheduler.advance(1s);
    press(Qt::Key_Space);
    EXPECT_TRUE(shows(quiz->answerField()));

    QSignalSpy newQuiz(quiz.get(), &QLXFlashCardQuizController::newQuizRequested);
    press(Qt::Key_Space);
    scheduler.advance(FlashCardRun::stepDelay + 1s);
    ASSERT_TRUE(quiz->newQuizButton().hasFocus());
    QTest::keyClick(&quiz->newQuizButton(), Qt::Key_Space);
    EXPECT_EQ(newQuiz.count(), 1);
}

TEST_F(FlashCardQuizTest, TheKeyboardStaysOnThePageWhileTheCardFlipsAndControlsHide)
{
    start({addWord(u"a"_s, u"A"_s), addWord(u"b"_s, u"B"_s)}, 3);
    quiz->flipSpeedSlider().setFocus();
    press(Qt::Key_Space);
    press(Qt::Key_Space);
    scheduler.advance(FlashCardRun::flipInDelay);
    ASSERT_TRUE(quiz->flip().isFlipping());
    press(Qt::Key_P);
    EXPECT_FALSE(quiz->run().isAutoPlay());
    scheduler.advance(1s);
    EXPECT_FALSE(quiz->flip().isFlipping());
    QWidget *focus = QApplication::focusWidget();
    EXPECT_TRUE(focus && quiz->page().isAncestorOf(focus));
    press(Qt::Key_P);
    EXPECT_TRUE(quiz->run().isAutoPlay());
    EXPECT_FALSE(shows(quiz->showAnswerButton())) << "switched off under auto-play";
}

TEST_F(FlashCardQuizTest, TheSliderSetsTheSpeedAndThePlayButtonIsOffAtOff)
{
    start({addWord(u"a"_s, u"A"_s), addWord(u"b"_s, u"B"_s)}, 0);
    const QStringList labels = {quiz->flipSpeedLabel(0).text(), quiz->flipSpeedLabel(1).text(),
                                quiz->flipSpeedLabel(2).text(), quiz->flipSpeedLabel(3).text()};
    EXPECT_EQ(labels, (QStringList{u"Off"_s, u"Slow"_s, u"Normal"_s, u"Fast"_s}));
    EXPECT_FALSE(quiz->playButton().isEnabled());
    EXPECT_FALSE(quiz->run().isAutoPlay());
    EXPECT_TRUE(shows(quiz->showAnswerButton()));

    QTest::keyClick(&quiz->flipSpeedSlider(), Qt::Key_Right);
    EXPECT_EQ(quiz->run().flipLevel(), 1);
    EXPECT_EQ(lexi::Settings(defaults).value(lexi::Settings::learnFlipLevel), 1);
    EXPECT_TRUE(quiz->playButton().isEnabled());
    QTest::mouseClick(&quiz->playButton(), Qt::LeftButton);
    EXPECT_TRUE(quiz->run().isAutoPlay());
    EXPECT_TRUE(quiz->playButton().toolTip().contains(u"(P)"_s));
    quiz->flipSpeedSlider().setValue(0);
    EXPECT_FALSE(quiz->run().isAutoPlay());
    EXPECT_FALSE(quiz->playButton().isEnabled());

    for (const QWidget *marked : {static_cast<QWidget *>(&quiz->correctButton()), static_cast<QWidget *>(&quiz->wrongButton())})
        EXPECT_TRUE(marked->toolTip().endsWith(u")"_s)) << marked->toolTip().toStdString();
    EXPECT_TRUE(quiz->correctButton().toolTip().contains(QKeySequence(Qt::Key_Up).toString(QKeySequence::NativeText)));
}

TEST_F(FlashCardQuizTest, ClicksRevealMarkAndTickTheBox)
{
    const auto native = addWord(u"house"_s, u"Haus"_s, 5);
    start({native, addWord(u"tree"_s, u"Baum"_s)});
    QTest::mouseClick(&quiz->showAnswerButton(), Qt::LeftButton);
    ASSERT_TRUE(shows(quiz->dontAskAgainBox()));
    QTest::mouseClick(&quiz->dontAskAgainBox(), Qt::LeftButton);
    QTest::mouseClick(&quiz->correctButton(), Qt::LeftButton);
    EXPECT_FALSE(shows(quiz->upArrow())) << "no level above native";
    EXPECT_EQ(quiz->card().leftStartColor(), [] {
        QLXCardView correct;
        correct.setColorCorrect();
        return correct.leftStartColor();
    }());
    scheduler.advance(FlashCardRun::correctMarkDelay);
    EXPECT_TRUE(native->dontAskAgain());
    EXPECT_EQ(recording.saves, 1);
}

TEST_F(FlashCardQuizTest, TheCardIsEditedAndDeletedThroughTheWordPopover)
{
    const auto house = addWord(u"house"_s, u"Haus"_s, 3), tree = addWord(u"tree"_s, u"Baum"_s, 3);
    start({house, tree}, 2);
    quiz->run().showSolution();
    QSignalSpy requests(quiz.get(), &QLXFlashCardQuizController::editWordRequested);
    QSignalSpy closes(quiz.get(), &QLXFlashCardQuizController::wordPopoverShouldClose);
    QTest::mouseClick(&quiz->editButton(), Qt::LeftButton);
    ASSERT_EQ(requests.count(), 1);
    EXPECT_EQ(requests.first().first().value<std::shared_ptr<QLXWord>>(), house);
    EXPECT_EQ(requests.first().at(1).value<QWidget *>(), &quiz->editButton());
    EXPECT_FALSE(quiz->run().isAutoPlay()) << "the slideshow waits while its card is edited";

    house->setForeignWord(u"das Haus"_s);
    quiz->wordPopoverDidEditWords({house});
    EXPECT_EQ(closes.count(), 1);
    EXPECT_EQ(quiz->answerField().text(), u"das Haus"_s);
    EXPECT_EQ(recording.sync.syncs, 1);

    quiz->run().markWrong();
    vocabulary->removeWord(house);
    quiz->wordPopoverDidDeleteWords({house});
    EXPECT_EQ(closes.count(), 2);
    EXPECT_TRUE(shows(quiz->deletedMark()));
    EXPECT_FALSE(shows(quiz->editButton()));
    scheduler.advance(1s);
    EXPECT_EQ(house->level(), 3u) << "recorded nowhere";
    EXPECT_FALSE(house->lastAsked());
    EXPECT_EQ(quiz->questionField().text(), u"tree"_s);
    EXPECT_EQ(quiz->statusText().text(), u"Word 1 of 1"_s);
    EXPECT_FALSE(shows(quiz->deletedMark()));
    quiz->wordPopoverDidCancelEditWords({tree});
    EXPECT_EQ(closes.count(), 3);
}

TEST_F(FlashCardQuizTest, TheSetupPageStartsTheFlashCards)
{
    vocabulary->setForeignLanguageName(u"German"_s);
    vocabulary->setYourLanguageName(u"English"_s);
    for (int index = 0; index < 4; ++index)
        addWord(u"w%1"_s.arg(index), u"f%1"_s.arg(index), 1);
    QNetworkAccessManager network;
    QLXTypingQuizController typing(services, pages);
    QLXFlashCardQuizController flashCards(services, pages);
    QLXQuizSetupController setup(services, pages, {{&typing, &flashCards, nullptr}, [](const QUrl &) {}, network});
    setup.awake();
    pages.show();
    setup.showQuiz();
    QAbstractButton *segment = setup.modeControl().button(QLXQuizSetupController::FlashCards);
    ASSERT_TRUE(segment->isEnabled());
    QTest::mouseClick(segment, Qt::LeftButton);
    QTest::mouseClick(&setup.startButton(), Qt::LeftButton);
    EXPECT_FALSE(flashCards.isRunInProgress()) << "after the set-up's flip began";
    scheduler.advance(QLXQuizSetupController::startDelay);
    EXPECT_EQ(pages.currentPage(), lexi::QuizPages::FlashCards);
    EXPECT_TRUE(flashCards.isRunInProgress());
    EXPECT_FALSE(typing.isRunInProgress());
    EXPECT_EQ(flashCards.run().numberOfWordsToAsk(), 4);
    EXPECT_TRUE(setup.flip().isFlipping()) << "the set-up's flip ends on the flash card";
    EXPECT_TRUE(setup.isQuizRunning());

    // Leaving the tab leaves the run and stops its timers.
    EXPECT_TRUE(flashCards.run().isAutoPlay()) << "the slider starts at normal";
    pages.hide();
    EXPECT_FALSE(flashCards.isRunInProgress());
    EXPECT_FALSE(flashCards.run().isAutoPlay());
    scheduler.advance(10s);
    EXPECT_EQ(recording.saves, 0);
}

// The pages as the learner sees them; each screenshot is also taken under the dark palette.
TEST_F(FlashCardQuizTest, Screenshots)
{
    const auto house = addWord(u"house"_s, u"das Haus"_s, 2);
    house->setComment(u"building where people live"_s);
    start({house, addWord(u"to run"_s, u"laufen"_s, 1), addWord(u"the tree"_s, u"der Baum"_s, 3),
           addWord(u"beautiful"_s, u"schön"_s, 4), addWord(u"yesterday"_s, u"gestern"_s, 0)},
          2);
    quiz->run().stopPlaying();
    EXPECT_TRUE(lexi::test::saveScreenshot(pages, u"flash-cards-question"_s));

    quiz->run().showSolution();
    quiz->run().markCorrect();
    EXPECT_TRUE(lexi::test::saveScreenshot(pages, u"flash-cards-answer"_s));
    scheduler.advance(FlashCardRun::correctMarkDelay + FlashCardRun::flipInDelay);
    ASSERT_TRUE(quiz->flip().isFlipping());
    scheduler.advance(290ms);
    EXPECT_TRUE(lexi::test::saveScreenshot(pages, u"flash-cards-flip-mid"_s));
    scheduler.advance(1s);

    quiz->run().showSolution();
    quiz->run().markWrong();
    EXPECT_TRUE(shows(quiz->downArrow()));
    EXPECT_TRUE(lexi::test::saveScreenshot(pages, u"flash-cards-wrong"_s));
    scheduler.advance(1s);
    for (int card = 0; card < 3; ++card) {
        quiz->run().next();
        if (card == 1)
            quiz->run().markWrong();
        quiz->run().next();
        scheduler.advance(1s);
    }
    scheduler.advance(1s);
    ASSERT_FALSE(quiz->isRunInProgress());
    EXPECT_TRUE(lexi::test::saveScreenshot(pages, u"flash-cards-results"_s));
}

} // namespace
