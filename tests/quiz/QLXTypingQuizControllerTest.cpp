#include "QuizPagesFixture.h"

#include "support/Screenshots.h"

#include "platform/files/StringTables.h"
#include "quiz/QLXTypingQuizController.h"
#include "views/PlainText.h"
#include "views/QLXCardView.h"
#include "views/QLXPieChart.h"
#include "views/QLXProgressBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

class TypingQuizTest : public lexi::test::QuizPagesFixture
{
protected:
    TypingQuizTest()
    {
        // Help bubbles are tested on their own; elsewhere they are already seen.
        for (const char *flag : {"hasShownQuizHelpQuestion", "hasShownQuizHelpCorrectAnswer",
                                 "hasShownQuizHelpMisspelledAnswer", "hasShownQuizHelpWrongAnswer"})
            defaults.setBool(QString::fromUtf8(flag), true);
    }

    // A run of exactly these words, in this order, asking for the foreign word or the own one.
    QLXTypingQuizController &start(const lexi::WordList &words, bool askForForeignWord = true)
    {
        quiz = std::make_unique<QLXTypingQuizController>(services, pages);
        quiz->setVocabulary(vocabulary);
        quiz->setAskForForeignWord(askForForeignWord);
        quiz->setAskForYourWord(!askForForeignWord);
        quiz->askInOrder(words);
        quiz->startQuiz();
        pages.showPage(lexi::QuizPages::TypingQuiz);
        pages.show();
        return *quiz;
    }

    // Types `text` into the answer field and presses Next; the step runs after its delay, and the
    // card flips to its new face.
    void answer(const QString &text)
    {
        quiz->answerField().setText(text);
        QTest::mouseClick(&quiz->nextButton(), Qt::LeftButton);
        scheduler.advance(1s);
    }

    void finishAndShowResults()
    {
        quiz->showStatistics();
        scheduler.advance(QLXTypingQuizController::stepDelay);
        scheduler.advance(1s);
    }

    std::unique_ptr<QLXTypingQuizController> quiz;
};

TEST_F(TypingQuizTest, JudgesTypedAnswers)
{
    const struct
    {
        QString answer;
        bool misspellingDisabled;
        lexi::AnswerVerdict verdict;
        quint64 levelAfter; // from level 2
        bool typedAnswerShown;
    } cases[] = {
        {u"Haus"_s, false, lexi::AnswerVerdict::Correct, 3, true},
        {u"haus"_s, false, lexi::AnswerVerdict::Misspelled, 2, true},
        {u"Haus "_s, false, lexi::AnswerVerdict::Misspelled, 2, true},
        {u"haus"_s, true, lexi::AnswerVerdict::Wrong, 1, true},
        {u"Hut"_s, false, lexi::AnswerVerdict::Wrong, 1, true},
        {u""_s, false, lexi::AnswerVerdict::Wrong, 1, false},
        {u" "_s, false, lexi::AnswerVerdict::Wrong, 1, false},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(testing::Message() << '"' << test.answer.toStdString() << '"' << test.misspellingDisabled);
        vocabulary->setIsDisableMisspellRecognition(test.misspellingDisabled);
        const auto house = addWord(u"house"_s, u"Haus"_s, 2);
        start({house, addWord(u"tree"_s, u"Baum"_s)});
        answer(test.answer);

        EXPECT_EQ(house->level(), test.levelAfter);
        EXPECT_TRUE(house->lastAsked().has_value());
        EXPECT_EQ(quiz->numberOfCorrect(), test.verdict == lexi::AnswerVerdict::Correct);
        EXPECT_EQ(quiz->numberOfMisspelled(), test.verdict == lexi::AnswerVerdict::Misspelled);
        EXPECT_EQ(quiz->numberOfWrong(), test.verdict == lexi::AnswerVerdict::Wrong);
        EXPECT_EQ(quiz->wrongAnsweredWords().contains(house), test.verdict != lexi::AnswerVerdict::Correct);
        const QColor cardColor = quiz->card().leftStartColor();
        QLXCardView expected;
        test.verdict == lexi::AnswerVerdict::Correct      ? expected.setColorCorrect()
        : test.verdict == lexi::AnswerVerdict::Misspelled ? expected.setColorMisspelled()
                                                          : expected.setColorWrong();
        EXPECT_EQ(cardColor, expected.leftStartColor());
        EXPECT_EQ(quiz->typedAnswerField().isVisibleTo(&pages), test.typedAnswerShown);
        EXPECT_EQ(quiz->expectedAnswerField().isVisibleTo(&pages), test.verdict != lexi::AnswerVerdict::Correct);
        EXPECT_EQ(quiz->expectedAnswerField().text(), u"Haus"_s);
        EXPECT_EQ(quiz->previousQuestionField().text(), u"house"_s);
        EXPECT_EQ(quiz->questionField().text(), u"tree"_s);
        vocabulary->setAllWords({});
    }
}

TEST_F(TypingQuizTest, SynonymsNotYetAskedAreAcceptedInPlaceOfTheWord)
{
    const auto big = addWord(u"big"_s, u"groß"_s);
    const auto large = addWord(u"large"_s, u"groß"_s);
    const auto bright = addWord(u"light"_s, u"hell"_s);
    const auto shining = addWord(u"bright"_s, u"hell"_s);
    const auto clever = addWord(u"clever"_s, u"klug"_s);
    const auto smart = addWord(u"smart"_s, u"klug"_s);
    quiz = nullptr;

    // Asked later in the run: recorded for the synonym, which is not asked again; the word asked
    // comes again next.
    start({big, clever, large}, false);
    ASSERT_EQ(quiz->questionField().text(), u"groß"_s);
    answer(u"large"_s);
    EXPECT_EQ(quiz->lastWord(), large);
    EXPECT_EQ(large->level(), 1u);
    EXPECT_EQ(big->level(), 0u);
    EXPECT_EQ(quiz->numberOfCorrect(), 1);
    EXPECT_EQ(quiz->nextWord(), big);
    answer(u"big"_s);
    answer(u"clever"_s);
    EXPECT_EQ(quiz->nextWord(), nullptr) << "large is not asked again";
    EXPECT_EQ(quiz->numberOfCorrect(), 3);

    // Outside the run: the count of correct answers stays as it was.
    start({bright}, false);
    answer(u"bright"_s);
    EXPECT_EQ(quiz->lastWord(), shining);
    EXPECT_EQ(quiz->numberOfCorrect(), 0);
    EXPECT_EQ(quiz->nextWord(), bright);

    // Already asked: not accepted.
    start({smart, clever}, false);
    answer(u"smart"_s);
    answer(u"smart"_s);
    EXPECT_EQ(quiz->lastWord(), clever);
    EXPECT_EQ(quiz->numberOfWrong(), 1);
}

TEST_F(TypingQuizTest, IKnewItOverrulesTheVerdictAtTheNextStep)
{
    const auto wrongAt3 = addWord(u"house"_s, u"Haus"_s, 3);
    const auto misspeltAt2 = addWord(u"tree"_s, u"Baum"_s, 2);
    const auto last = addWord(u"cat"_s, u"Katze"_s, 1);
    start({wrongAt3, misspeltAt2, last});

    answer(u"Hut"_s);
    EXPECT_EQ(wrongAt3->level(), 2u);
    ASSERT_TRUE(quiz->iKnewItBox().isVisibleTo(&pages));
    quiz->iKnewItBox().click();
    EXPECT_EQ(wrongAt3->level(), 2u) << "the box only previews until the next step";
    EXPECT_EQ(quiz->upperLevelIcon().property("imageName").toString(), u"long_term"_s);

    answer(u"baum"_s);
    EXPECT_EQ(wrongAt3->level(), 4u);
    EXPECT_EQ(quiz->numberOfWrong(), 0);
    EXPECT_EQ(quiz->numberOfMisspelled(), 1);
    EXPECT_EQ(quiz->numberOfCorrect(), 1);
    EXPECT_FALSE(quiz->wrongAnsweredWords().contains(wrongAt3));

    quiz->iKnewItBox().setChecked(true);
    answer(u"Katze"_s);
    EXPECT_EQ(misspeltAt2->level(), 3u);
    EXPECT_EQ(quiz->numberOfMisspelled(), 0);
    EXPECT_EQ(quiz->numberOfCorrect(), 3);
    EXPECT_TRUE(quiz->wrongAnsweredWords().isEmpty());
}

TEST_F(TypingQuizTest, AfterIKnewItTheKeysGoBackToTheAnswer)
{
    start({addWord(u"house"_s, u"Haus"_s, 3), addWord(u"tree"_s, u"Baum"_s, 2)});
    QApplication::setActiveWindow(&pages);
    answer(u"Hut"_s);
    ASSERT_TRUE(quiz->answerField().hasFocus());
    const QPoint onTheBox(8, quiz->iKnewItBox().height() / 2);
    QTest::mouseClick(&quiz->iKnewItBox(), Qt::LeftButton, {}, onTheBox);
    EXPECT_TRUE(quiz->iKnewItBox().isChecked());
    EXPECT_TRUE(quiz->answerField().hasFocus());
    QTest::keyClicks(QApplication::focusWidget(), u"Bam"_s);
    EXPECT_EQ(quiz->answerField().text(), u"Bam"_s);

    // After the last word, to the results.
    QTest::keyClick(&quiz->answerField(), Qt::Key_Return);
    scheduler.advance(1s);
    ASSERT_TRUE(quiz->iKnewItBox().isVisibleTo(&pages)) << "misspelled";
    QTest::mouseClick(&quiz->iKnewItBox(), Qt::LeftButton, {}, onTheBox);
    EXPECT_TRUE(quiz->iKnewItBox().isChecked());
    EXPECT_TRUE(quiz->resultsButton().hasFocus());
}

TEST_F(TypingQuizTest, TheHelpOnARightAnswerSaysAWordMovesUpOnlyWhenItDoes)
{
    for (const quint64 level : {quint64(5), quint64(2)}) {
        SCOPED_TRACE(level);
        defaults.setBool(u"hasShownQuizHelpCorrectAnswer"_s, false);
        start({addWord(u"house"_s, u"Haus"_s, level), addWord(u"tree"_s, u"Baum"_s)});
        answer(u"Haus"_s);
        ASSERT_TRUE(quiz->verdictHelp().isVisibleTo(&pages));
        EXPECT_EQ(quiz->verdictHelp().text().contains(u"moves up"_s), level != 5) << quiz->verdictHelp().text().toStdString();
    }
    // Ticked after a wrong answer, I knew it previews the native word keeping its level too.
    start({addWord(u"cat"_s, u"Katze"_s, 5), addWord(u"dog"_s, u"Hund"_s)});
    answer(u"Hut"_s);
    quiz->iKnewItBox().click();
    EXPECT_FALSE(quiz->verdictHelp().text().contains(u"moves up"_s));
}

TEST_F(TypingQuizTest, DontAskAgainIsOfferedAfterACorrectNativeAnswer)
{
    const auto native = addWord(u"house"_s, u"Haus"_s, 5);
    const auto other = addWord(u"tree"_s, u"Baum"_s, 4);
    start({native, other, addWord(u"cat"_s, u"Katze"_s)});
    answer(u"Haus"_s);
    ASSERT_TRUE(quiz->dontAskAgainBox().isVisibleTo(&pages));
    EXPECT_FALSE(quiz->iKnewItBox().isVisibleTo(&pages));
    EXPECT_FALSE(quiz->arrow().isVisibleTo(&pages)) << "no level above native";
    quiz->dontAskAgainBox().setChecked(true);
    answer(u"Baum"_s);
    EXPECT_TRUE(native->dontAskAgain());
    EXPECT_FALSE(quiz->dontAskAgainBox().isVisibleTo(&pages)) << "only for native words";
    EXPECT_FALSE(other->dontAskAgain());
}

TEST_F(TypingQuizTest, EachAnswerIsMarkedAndHandedToTheSaverAndTheResultsSyncOnce)
{
    const lexi::WordList words = {addWord(u"a"_s, u"A"_s, 1), addWord(u"b"_s, u"B"_s, 3), addWord(u"c"_s, u"C"_s, 2),
                                  addWord(u"d"_s, u"D"_s, 2), addWord(u"e"_s, u"E"_s, 4)};
    start(words);
    QSignalSpy ended(quiz.get(), &QLXTypingQuizController::runEnded);
    for (const QString &typed : {u"A"_s, u"xyz"_s, u"c"_s, u"D"_s, u""_s}) {
        const int savesBefore = recording.saves;
        answer(typed);
        EXPECT_EQ(recording.saves, savesBefore + 1);
        EXPECT_EQ(recording.sync.marks, recording.saves);
        EXPECT_TRUE(vocabulary->needsSync());
    }
    EXPECT_EQ(recording.lastSaved, vocabulary.get());
    EXPECT_EQ(recording.sync.syncs, 0);
    EXPECT_TRUE(ratingPrompt.events.isEmpty());
    EXPECT_TRUE(quiz->isRunInProgress());
    EXPECT_TRUE(quiz->resultsButton().isVisibleTo(&pages));
    EXPECT_FALSE(quiz->nextButton().isVisibleTo(&pages));

    finishAndShowResults();
    EXPECT_EQ(pages.currentPage(), lexi::QuizPages::TypingResults);
    EXPECT_EQ(recording.sync.syncs, 1);
    EXPECT_EQ(ratingPrompt.events, QList<bool>{true});
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(quiz->isRunInProgress());
    EXPECT_EQ(quiz->correctCount().text(), u"2 / 5"_s);
    EXPECT_EQ(quiz->misspelledCount().text(), u"1 / 5"_s);
    EXPECT_EQ(quiz->wrongCount().text(), u"2 / 5"_s);
    EXPECT_DOUBLE_EQ(quiz->pieChart().correctPercent(), 0.4);
    EXPECT_DOUBLE_EQ(quiz->pieChart().misspelledPercent(), 0.2);
    EXPECT_TRUE(quiz->introText().text().startsWith(u"40% correct. Well done"_s));

    quiz->showStatistics();
    scheduler.advance(1s);
    EXPECT_EQ(recording.sync.syncs, 1) << "the results are shown once";
    EXPECT_EQ(ratingPrompt.events.size(), 1);
}

TEST_F(TypingQuizTest, RestartAsksExactlyTheWrongAndMisspelledWordsInAnswerOrder)
{
    const auto a = addWord(u"a"_s, u"Alpha"_s), b = addWord(u"b"_s, u"Beta"_s), c = addWord(u"c"_s, u"Gamma"_s),
               d = addWord(u"d"_s, u"Delta"_s);
    start({a, b, c, d});
    answer(u"Alpa"_s);
    answer(u"Beta"_s);
    answer(u"x"_s);
    answer(u"Delta"_s);
    finishAndShowResults();
    ASSERT_TRUE(quiz->restartButton().isVisibleTo(&pages));
    QTest::mouseClick(&quiz->restartButton(), Qt::LeftButton);
    scheduler.advance(QLXTypingQuizController::stepDelay);
    EXPECT_EQ(pages.currentPage(), lexi::QuizPages::TypingQuiz);
    EXPECT_EQ(quiz->wordsToAsk(), (lexi::WordList{a, c}));
    EXPECT_EQ(quiz->numberOfWordsToAsk(), 2);
    EXPECT_EQ(quiz->nextWord(), a);
    EXPECT_EQ(quiz->numberOfCorrect() + quiz->numberOfWrong() + quiz->numberOfMisspelled(), 0);
    EXPECT_TRUE(quiz->wrongAnsweredWords().isEmpty());

    // Only misspelled answers: the restart is not offered.
    start({b, d});
    answer(u"Betta"_s);
    answer(u"Delta"_s);
    finishAndShowResults();
    EXPECT_FALSE(quiz->restartButton().isVisibleTo(&pages));
}

TEST_F(TypingQuizTest, ASecondTriggerWhileAStepWaitsDoesNothing)
{
    const auto first = addWord(u"a"_s, u"A"_s, 2), second = addWord(u"b"_s, u"B"_s, 2);
    start({first, second});

    quiz->answerField().setText(u"A"_s);
    QTest::mouseClick(&quiz->nextButton(), Qt::LeftButton);
    QTest::mouseClick(&quiz->nextButton(), Qt::LeftButton);
    scheduler.advance(100ms);
    quiz->next();
    scheduler.advance(1s);
    EXPECT_EQ(quiz->numberOfCorrect(), 1);
    EXPECT_EQ(quiz->numberOfWrong(), 0) << "the unseen second question is not answered";
    EXPECT_FALSE(second->lastAsked().has_value());
    EXPECT_EQ(quiz->nextWord(), second);

    // Return held down: its repeats do not answer.
    quiz->answerField().setText(u"B"_s);
    QTest::keyClick(&quiz->answerField(), Qt::Key_Return);
    scheduler.advance(QLXTypingQuizController::stepDelay);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(&quiz->answerField(), &repeat);
    scheduler.advance(1s);
    EXPECT_EQ(quiz->numberOfCorrect(), 2);
    EXPECT_EQ(recording.saves, 2);

    // Past the last word, Next does nothing; the results open once.
    quiz->next();
    quiz->showStatistics();
    quiz->showStatistics();
    scheduler.advance(1s);
    EXPECT_EQ(recording.saves, 3);
    EXPECT_EQ(recording.sync.syncs, 1);
    EXPECT_EQ(quiz->numberOfWordsToAsk(), 2);
}

TEST_F(TypingQuizTest, AWordDeletedDuringTheRunLeavesTheWrongWordsAndItsBoxesAreCleared)
{
    const auto deleted = addWord(u"a"_s, u"Alpha"_s, 3), kept = addWord(u"b"_s, u"Beta"_s, 3);
    start({deleted, kept, addWord(u"c"_s, u"Gamma"_s)});
    answer(u"x"_s);
    quiz->iKnewItBox().setChecked(true);
    QSignalSpy closes(quiz.get(), &QLXTypingQuizController::wordPopoverShouldClose);
    const int syncsBefore = recording.sync.syncs;
    vocabulary->removeWord(deleted);
    quiz->wordPopoverDidDeleteWords({deleted});
    EXPECT_EQ(closes.count(), 1);
    EXPECT_EQ(recording.sync.syncs, syncsBefore + 1);
    EXPECT_FALSE(quiz->wrongAnsweredWords().contains(deleted));
    EXPECT_FALSE(quiz->iKnewItBox().isChecked());
    EXPECT_FALSE(quiz->iKnewItBox().isEnabled());
    EXPECT_FALSE(quiz->editButton().isVisibleTo(&pages));
    answer(u"y"_s);
    EXPECT_EQ(deleted->level(), 2u) << "the box did not act on the deleted word";
    EXPECT_EQ(quiz->wrongAnsweredWords(), lexi::WordList{kept});
}

TEST_F(TypingQuizTest, EditingTheAnsweredWordThroughThePopoverRefreshesTheCard)
{
    const auto house = addWord(u"house"_s, u"Haus"_s, 1);
    start({house, addWord(u"tree"_s, u"Baum"_s)});
    answer(u"Hut"_s);
    QSignalSpy requests(quiz.get(), &QLXTypingQuizController::editWordRequested);
    QSignalSpy closes(quiz.get(), &QLXTypingQuizController::wordPopoverShouldClose);
    quiz->editButton().click();
    ASSERT_EQ(requests.count(), 1);
    EXPECT_EQ(requests.first().first().value<std::shared_ptr<QLXWord>>(), house);

    house->setForeignWord(u"das Haus"_s);
    house->setComment(u"a building"_s);
    quiz->wordPopoverDidEditWords({house});
    EXPECT_EQ(closes.count(), 1);
    EXPECT_EQ(quiz->expectedAnswerField().text(), u"das Haus"_s);
    EXPECT_EQ(recording.sync.syncs, 1);
    quiz->wordPopoverDidCancelEditWords({house});
    EXPECT_EQ(closes.count(), 2);
}

TEST_F(TypingQuizTest, SelectsOnlyAKeyboardSourceThatExists)
{
    vocabulary->setIsAutoSelectInputSource(true);
    vocabulary->setForeignTextInputSource(lexi::InputSource{u"xkb:de"_s, u"German"_s, true});
    const auto word = addWord(u"a"_s, u"A"_s);
    start({word});
    EXPECT_TRUE(inputSources.selected.isEmpty());

    inputSources.sources = {lexi::InputSource{u"xkb:de"_s, u"German"_s, true}};
    start({word});
    EXPECT_EQ(inputSources.selected, QStringList{u"xkb:de"_s});
}

TEST_F(TypingQuizTest, LevelIconsFontsAndHelpBubbles)
{
    for (const char *flag : {"hasShownQuizHelpQuestion", "hasShownQuizHelpWrongAnswer"})
        defaults.setBool(QString::fromUtf8(flag), false);
    const auto longQuestion = addWord(QString(86, u'x'), u"A"_s, 3);
    const auto shortQuestion = addWord(QString(85, u'y'), u"B"_s, 0);
    start({longQuestion, shortQuestion, addWord(u"c"_s, u"C"_s)});
    EXPECT_EQ(quiz->questionField().font().pointSize(), 14);
    EXPECT_EQ(quiz->questionLevelIcon().property("imageName").toString(), u"interim"_s);
    EXPECT_TRUE(quiz->questionHelp().isVisibleTo(&pages));
    EXPECT_TRUE(defaults.boolForKey(u"hasShownQuizHelpQuestion"_s));

    answer(u"wrong"_s);
    EXPECT_FALSE(quiz->questionHelp().isVisibleTo(&pages));
    EXPECT_EQ(quiz->questionField().font().pointSize(), 18);
    EXPECT_EQ(quiz->questionLevelIcon().property("imageName").toString(), u"unknown"_s);
    EXPECT_EQ(quiz->upperLevelIcon().property("imageName").toString(), u"interim"_s);
    EXPECT_EQ(quiz->lowerLevelIcon().property("imageName").toString(), u"short_term"_s);
    EXPECT_EQ(quiz->arrow().property("imageName").toString(), u"arrow_down"_s);
    EXPECT_TRUE(quiz->verdictHelp().isVisibleTo(&pages));
    EXPECT_FALSE(quiz->verdictHelp().text().startsWith(u"quiz"_s)) << "a text for the key";

    answer(u"wrong"_s);
    EXPECT_FALSE(quiz->verdictHelp().isVisibleTo(&pages)) << "shown once; none at level 0";
    for (const QString &key : {u"quizMisspelledHelpText"_s, u"quizMisspelledAnswerHelpText"_s,
                               u"quizCorrectAnswerHelpText"_s, u"quizWrongHelpText"_s, u"cardRightHelpText"_s})
        EXPECT_NE(lexi::StringTables::text(key, u"Quiz"_s), key);

    quiz->resetQuizHelp();
    EXPECT_FALSE(defaults.boolForKey(u"hasShownQuizHelpQuestion"_s));
}

TEST_F(TypingQuizTest, TheAnswerFieldTakesTheFocusASecondAfterTheStart)
{
    QLineEdit elsewhere(&pages);
    start({addWord(u"a"_s, u"A"_s), addWord(u"b"_s, u"B"_s)});
    QApplication::setActiveWindow(&pages);
    elsewhere.setFocus();
    scheduler.advance(QLXTypingQuizController::focusDelay - 1ms);
    EXPECT_FALSE(quiz->answerField().hasFocus());
    scheduler.advance(1ms);
    EXPECT_TRUE(quiz->answerField().hasFocus());

    // And again once the card has flipped to the next question.
    quiz->answerField().setText(u"A"_s);
    quiz->next();
    scheduler.advance(QLXTypingQuizController::stepDelay);
    elsewhere.setFocus();
    scheduler.advance(1s);
    EXPECT_TRUE(quiz->answerField().hasFocus());
}

TEST_F(TypingQuizTest, TheKeysStayOnTheCardThroughItsFlipsAndReturnGoesOnToTheResults)
{
    // Another control of the window, after the card in the order of the keys (as the toolbar's
    // language pop-up is).
    QLineEdit elsewhere(&pages);
    start({addWord(u"a"_s, u"A"_s), addWord(u"b"_s, u"B"_s)});
    QApplication::setActiveWindow(&pages);
    scheduler.advance(QLXTypingQuizController::focusDelay);
    const auto typeOnKeyboard = [](const QString &keys) { QTest::keyClicks(QApplication::focusWidget(), keys); };
    const auto pressOnKeyboard = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
    typeOnKeyboard(u"A"_s);
    pressOnKeyboard(Qt::Key_Return);

    for (const bool isLastWord : {false, true}) {
        SCOPED_TRACE(isLastWord ? "last word" : "first word");
        scheduler.advance(QLXTypingQuizController::stepDelay + 100ms);
        ASSERT_TRUE(quiz->flip().isFlipping());
        // Keys typed while the card turns reach no control of the window.
        typeOnKeyboard(u"x "_s);
        pressOnKeyboard(Qt::Key_Escape);
        EXPECT_TRUE(elsewhere.text().isEmpty());
        EXPECT_FALSE(quiz->answerField().text().contains(u'x'));
        scheduler.advance(1s);
        ASSERT_FALSE(quiz->flip().isFlipping());
        QWidget &expected = isLastWord ? static_cast<QWidget &>(quiz->resultsButton()) : quiz->answerField();
        EXPECT_TRUE(expected.hasFocus());
        if (!isLastWord) {
            typeOnKeyboard(u"B"_s);
            pressOnKeyboard(Qt::Key_Return);
        }
    }

    // Return held on from the last answer shows nothing; pressed again it shows the results, whose
    // buttons take it as well.
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&quiz->resultsButton(), &held);
    scheduler.advance(1s);
    ASSERT_EQ(pages.currentPage(), lexi::QuizPages::TypingQuiz);
    pressOnKeyboard(Qt::Key_Return);
    scheduler.advance(1s);
    ASSERT_EQ(pages.currentPage(), lexi::QuizPages::TypingResults);
    EXPECT_TRUE(quiz->newQuizButton().hasFocus());
    QSignalSpy newQuiz(quiz.get(), &QLXTypingQuizController::newQuizRequested);
    pressOnKeyboard(Qt::Key_Return);
    EXPECT_EQ(newQuiz.count(), 1);
}

TEST_F(TypingQuizTest, AnEmptyRunGoesStraightToEmptyResults)
{
    start({});
    EXPECT_TRUE(quiz->resultsButton().isVisibleTo(&pages));
    finishAndShowResults();
    EXPECT_TRUE(quiz->pieChart().isEmpty());
    EXPECT_TRUE(quiz->introText().text().startsWith(u"0% correct"_s));
    EXPECT_EQ(quiz->correctCount().text(), u"0 / 0"_s);
}

// Where `widget` lies on `card`.
QRect onCard(const QWidget &widget, const QWidget &card)
{
    return QRect(widget.mapTo(&card, QPoint(0, 0)), widget.size());
}

// Every line of `label` as drawn lies within the label.
void expectLinesWithin(const lexi::FittedTextLabel &label)
{
    QFont font = label.font();
    font.setPointSizeF(label.fitted().pointSize);
    const QFontMetricsF metrics(font);
    for (const QString &line : label.fitted().lines)
        EXPECT_LE(metrics.horizontalAdvance(line), label.contentsRect().width()) << line.toStdString();
}

// 96 code units each: a phrase that wraps, and one word that cannot.
const QString longPhrase = u"a small wooden house at the far end of the long and winding road, just by the old stone bridge!!"_s;
const QString longWord = u"Donaudampfschifffahrtselektrizitaetenhauptbetriebswerkbauunterbeamtengesellschaftsmitgliedskarte"_s;

TEST_F(TypingQuizTest, LongTextsStayInTheirHalfOfTheCardAndBesideTheLevelIcons)
{
    ASSERT_EQ(longPhrase.size(), 96);
    ASSERT_EQ(longWord.size(), 96);
    const auto house = addWord(longPhrase, longWord, 3);
    house->setComment(u"built by my grandfather in the summer after the war, with a red door, two chimneys, a garden "
                      u"full of apple trees and a well in the yard behind the kitchen"_s);
    start({house, addWord(longWord, longPhrase, 2)});
    pages.resize(1000, 640);
    QApplication::processEvents();
    const QLXCardView &card = quiz->card();
    const QRect questionHalf(card.width() / 2, 0, card.width() - card.width() / 2, card.height());
    const QRect verdictHalf(0, 0, card.width() / 2, card.height());

    // The question wraps at its blanks; the answer field keeps its half.
    const lexi::FittedTextLabel &question = quiz->questionField();
    EXPECT_TRUE(questionHalf.contains(onCard(question, card)));
    EXPECT_FALSE(onCard(question, card).intersects(onCard(quiz->questionLevelIcon(), card)));
    EXPECT_GT(question.fitted().lines.size(), 1);
    EXPECT_FALSE(question.fitted().isElided);
    EXPECT_TRUE(question.toolTip().isEmpty());
    expectLinesWithin(question);
    EXPECT_TRUE(questionHalf.contains(onCard(quiz->answerField(), card)));
    EXPECT_TRUE(questionHalf.contains(onCard(quiz->nextButton(), card)));
    quiz->answerField().setText(longWord.left(40));
    EXPECT_TRUE(lexi::test::saveScreenshot(pages, u"typing-quiz-long-question"_s));

    // The verdict: the word that has no blank shrinks, then is cut, the whole of it in the tool tip.
    answer(longWord.left(95));
    QApplication::processEvents();
    ASSERT_EQ(quiz->expectedAnswerField().text(), longWord);
    const QList<const QWidget *> icons = {&quiz->upperLevelIcon(), &quiz->arrow(), &quiz->lowerLevelIcon()};
    const QList<const QWidget *> controls = {&quiz->iKnewItBox(), &quiz->editButton()};
    QList<QRect> placed;
    for (const lexi::FittedTextLabel *text : {&quiz->previousQuestionField(), &quiz->typedAnswerField(),
                                              &quiz->expectedAnswerField(), &quiz->commentField()}) {
        SCOPED_TRACE(text->text().toStdString());
        const QRect rect = onCard(*text, card);
        EXPECT_TRUE(verdictHalf.contains(rect));
        for (const QWidget *other : icons + controls) {
            if (!other->isVisibleTo(&card))
                continue;
            EXPECT_FALSE(rect.intersects(onCard(*other, card))) << other->metaObject()->className();
        }
        for (const QRect &before : std::as_const(placed))
            EXPECT_FALSE(rect.intersects(before));
        placed.append(rect);
        expectLinesWithin(*text);
    }
    const lexi::FittedTextLabel &expected = quiz->expectedAnswerField();
    EXPECT_TRUE(expected.fitted().isElided);
    EXPECT_LT(expected.fitted().pointSize, expected.font().pointSizeF());
    EXPECT_EQ(expected.toolTip(), lexi::plainToolTip(longWord));
    EXPECT_FALSE(quiz->previousQuestionField().fitted().isElided) << "a phrase wraps";
    EXPECT_EQ(quiz->commentField().toolTip(), lexi::plainToolTip(house->comment())) << "cut after three lines";

    // The next question, the word without a blank, is cut on the question side in the same way.
    EXPECT_TRUE(questionHalf.contains(onCard(question, card)));
    EXPECT_TRUE(question.fitted().isElided);
    EXPECT_EQ(question.toolTip(), lexi::plainToolTip(longWord));
    expectLinesWithin(question);
    EXPECT_TRUE(questionHalf.contains(onCard(quiz->answerField(), card)));
    EXPECT_TRUE(lexi::test::saveScreenshot(pages, u"typing-quiz-long-verdict"_s));
}

// Where `widget` lies on the page stack, once the layouts have taken in what changed.
QRect onPages(const QWidget &widget, const QWidget &pages)
{
    QApplication::processEvents();
    return QRect(widget.mapTo(&pages, QPoint(0, 0)), widget.size());
}

TEST_F(TypingQuizTest, NothingOnThePageMovesDuringAFlipOrWhenTheStatusLineHides)
{
    defaults.setBool(u"hasShownQuizHelpQuestion"_s, false);
    start({addWord(u"house"_s, u"Haus"_s, 2), addWord(u"tree"_s, u"Baum"_s, 2)});
    ASSERT_TRUE(quiz->questionHelp().isVisibleTo(&pages));
    const QList<const QWidget *> still = {&quiz->statusText(), &quiz->progressBar(), &quiz->questionHelp(),
                                          &quiz->card()};
    QList<QRect> places;
    for (const QWidget *widget : still)
        places.append(onPages(*widget, pages));

    quiz->answerField().setText(u"Haus"_s);
    QTest::mouseClick(&quiz->nextButton(), Qt::LeftButton);
    scheduler.advance(QLXTypingQuizController::stepDelay);
    ASSERT_TRUE(quiz->flip().isFlipping());
    scheduler.advance(300ms);
    for (qsizetype index = 0; index < still.size(); ++index)
        EXPECT_EQ(onPages(*still[index], pages), places[index]) << still[index]->metaObject()->className();
    scheduler.advance(1s);
    ASSERT_FALSE(quiz->flip().isFlipping());

    // After the last answer the status line hides; the card stays where it was.
    quiz->answerField().setText(u"Baum"_s);
    QTest::mouseClick(&quiz->nextButton(), Qt::LeftButton);
    scheduler.advance(QLXTypingQuizController::stepDelay + 300ms);
    EXPECT_FALSE(quiz->statusText().isVisibleTo(&pages));
    EXPECT_EQ(onPages(quiz->card(), pages), places.last()) << "mid-flip";
    scheduler.advance(1s);
    EXPECT_EQ(onPages(quiz->card(), pages), places.last());
    EXPECT_EQ(onPages(quiz->progressBar(), pages), places[1]);
}

TEST_F(TypingQuizTest, Screenshots)
{
    const auto house = addWord(u"house"_s, u"das Haus"_s, 2);
    house->setComment(u"building where people live"_s);
    const lexi::WordList words = {house,
                                  addWord(u"to run"_s, u"laufen"_s, 1),
                                  addWord(u"the tree"_s, u"der Baum"_s, 3),
                                  addWord(u"beautiful"_s, u"schön"_s, 4),
                                  addWord(u"yesterday"_s, u"gestern"_s, 0)};
    defaults.setBool(u"hasShownQuizHelpQuestion"_s, false);
    start(words);
    pages.show();
    quiz->answerField().setText(u"das Ha"_s);
    EXPECT_TRUE(lexi::test::saveScreenshot(pages, u"typing-quiz-question"_s));
    scheduler.advance(1s);

    defaults.setBool(u"hasShownQuizHelpMisspelledAnswer"_s, false);
    answer(u"das Hause"_s);
    scheduler.advance(1s);
    quiz->answerField().setText(u"lau"_s);
    EXPECT_TRUE(lexi::test::saveScreenshot(pages, u"typing-quiz-misspelled"_s));

    // A frame of the flip a little before its middle, drawn over the page as it shows then.
    quiz->answerField().setText(u"laufen"_s);
    QTest::mouseClick(&quiz->nextButton(), Qt::LeftButton);
    scheduler.advance(QLXTypingQuizController::stepDelay);
    ASSERT_TRUE(quiz->flip().isFlipping());
    scheduler.advance(290ms);
    EXPECT_TRUE(lexi::test::saveScreenshot(pages, u"card-flip-mid"_s));
    scheduler.advance(1s);

    answer(u"der Baum"_s);
    answer(u""_s);
    answer(u"gestern"_s);
    finishAndShowResults();
    EXPECT_TRUE(lexi::test::saveScreenshot(pages, u"typing-quiz-results"_s));
}

} // namespace
