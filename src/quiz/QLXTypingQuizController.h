#pragma once

#include "AnswerJudging.h"
#include "CardFlip.h"
#include "QLXQuizInterface.h"
#include "QuizPages.h"
#include "QuizMode.h"
#include "QuizResultsCard.h"
#include "QuizRun.h"
#include "QuizServices.h"

#include "model/QLXWordPopoverDelegate.h"
#include "views/FittedTextLabel.h"


class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QLXBookmarkView;
class QLXCardView;
class QLXPieChart;
class QLXProgressBar;

// The typing quiz: a split card shows a question; the learner types the other side of the word
// and presses Next. The card flips and shows the verdict on that answer beside the next question.
// Every answer is recorded in the vocabulary, marked for synchronisation and handed to the saver.
// After the last word a result page sums up the run and offers to ask the wrongly answered words
// again. Its pages go in the quiz tab as the question page and the typing quiz's result page.
//
// The edit button asks the host for the word popover (editWordRequested); the host shows it with
// this controller as its delegate and closes it when asked (wordPopoverShouldClose).
class QLXTypingQuizController : public lexi::QuizMode, public QLXQuizInterface, public QLXWordPopoverDelegate
{
    Q_OBJECT

public:
    // The delays of the steps: the card flip starts first, and the learner can type once the new
    // card has settled.
    static constexpr std::chrono::milliseconds stepDelay{200};
    static constexpr std::chrono::milliseconds focusDelay{1000};

    QLXTypingQuizController(const lexi::QuizServices &services, lexi::QuizPages &pages, QObject *parent = nullptr);

    // Starts a run with the words chosen (wordsToAsk) on the question page and shows it.
    QLXQuizInterface &quiz() override { return *this; }
    QWidget *start() override;
    void startQuiz();
    // Next, the results and the restart run a moment later, so that the card flip can take its
    // picture first. While one of them waits, another trigger does nothing.
    void next();
    void showStatistics();
    void restartQuizWithWrong();
    void iKnewIt();
    void editLastWord();
    // The word popover's answers about lastWord. It saved the vocabulary before it reports; the
    // quiz marks it for synchronisation and asks for one.
    void wordPopoverDidEditWords(const lexi::WordList &words) override;
    void wordPopoverDidDeleteWords(const lexi::WordList &words) override;
    void wordPopoverDidCancelEditWords(const lexi::WordList &words) override;
    // Shows every help bubble again in the next runs.
    void resetQuizHelp();

    // From the start of a run until its result page.
    bool isRunInProgress() const override { return m_run.isInProgress(); }
    // The learner left the run: nothing more of it is recorded.
    void leave() override;

    const lexi::QuizRun &run() const { return m_run; }
    const std::shared_ptr<QLXWord> &nextWord() const { return m_run.nextWord(); }
    const std::shared_ptr<QLXWord> &lastWord() const { return m_run.lastWord(); }
    qint64 numberOfCorrect() const { return m_run.numberOfCorrect(); }
    qint64 numberOfWrong() const { return m_run.numberOfWrong(); }
    qint64 numberOfMisspelled() const { return m_run.numberOfMisspelled(); }
    const lexi::WordList &wrongAnsweredWords() const { return m_run.wrongAnsweredWords(); }
    bool lastAskedForeign() const { return m_lastAskedForeign; }

    // The controls, for the program's keyboard handling and for tests.
    QLXCardView &card() const { return *m_card; }
    QLXCardView &resultsCard() const { return *m_resultsCard; }
    lexi::FittedTextLabel &questionField() const { return *m_questionField; }
    lexi::FittedTextLabel &commentField() const { return *m_commentField; }
    lexi::FittedTextLabel &questionComment() const { return *m_questionComment; }
    QLabel &questionLevelIcon() const { return *m_questionLevelIcon; }
    QLineEdit &answerField() const { return *m_answerField; }
    QPushButton &nextButton() const { return *m_nextButton; }
    QPushButton &resultsButton() const { return *m_resultsButton; }
    lexi::FittedTextLabel &typedAnswerField() const { return *m_typedAnswerField; }
    lexi::FittedTextLabel &expectedAnswerField() const { return *m_expectedAnswerField; }
    lexi::FittedTextLabel &previousQuestionField() const { return *m_previousQuestionField; }
    QLabel &upperLevelIcon() const { return *m_upperLevelIcon; }
    QLabel &lowerLevelIcon() const { return *m_lowerLevelIcon; }
    QLabel &arrow() const { return *m_arrow; }
    QCheckBox &dontAskAgainBox() const { return *m_dontAskAgainBox; }
    QCheckBox &iKnewItBox() const { return *m_iKnewItBox; }
    QPushButton &editButton() const { return *m_editButton; }
    QLabel &questionHelp() const { return *m_questionHelp; }
    QLabel &verdictHelp() const { return *m_verdictHelp; }
    QLabel &statusText() const { return *m_statusText; }
    QLXProgressBar &progressBar() const { return *m_progressBar; }
    QLabel &introText() const { return m_resultsCard->resultsView().introText(); }
    QLXPieChart &pieChart() const { return m_resultsCard->resultsView().pieChart(); }
    QLabel &correctCount() const { return m_resultsCard->resultsView().correctCount(); }
    QLabel &wrongCount() const { return m_resultsCard->resultsView().wrongCount(); }
    QLabel &misspelledCount() const { return m_resultsCard->resultsView().middleCount(); }
    QPushButton &restartButton() const { return m_resultsCard->restartButton(); }
    QPushButton &newQuizButton() const { return m_resultsCard->newQuizButton(); }
    lexi::CardFlip &flip() { return m_flip; }

signals:
    // The learner wants to edit lastWord (the word popover opens beside the edit button).
    void editWordRequested(const std::shared_ptr<QLXWord> &word, QWidget *anchor);
    // The word popover has done its work and closes.
    void wordPopoverShouldClose();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildQuestionPage();
    void buildResultsPage();
    void localize();
    void setQuestion();
    void showFirstQuestion();
    void executeNext();
    void answerAndTurnCard();
    void executeShowStatistics();
    void executeRestartQuizWithWrong();
    void settleBoxes();
    void showVerdict(lexi::AnswerVerdict verdict, bool isSynonym);
    void showProgress();
    void showHelp(QLabel &bubble, const QString &key, const lexi::SettingKey<bool> &shownFlag);
    void selectInputSourceForAnswer();
    void focusAnswerField();
    // Runs `step` after stepDelay unless a step is waiting already.
    void scheduleStep(std::function<void()> step);

    lexi::QuizServices m_services;
    lexi::QuizPages &m_pages;
    lexi::CardFlip m_flip;
    lexi::dispatch::DelayedBlock m_pendingStep;
    lexi::dispatch::DelayedBlock m_focusStep;

    lexi::QuizRun m_run;
    QString m_lastAnswer;
    bool m_lastAskedForeign = true;

    QLXBookmarkView *m_questionPage = nullptr;
    QLXCardView *m_card = nullptr;
    lexi::FittedTextLabel *m_questionField = nullptr;
    lexi::FittedTextLabel *m_questionComment = nullptr;
    QLabel *m_questionLevelIcon = nullptr;
    QLineEdit *m_answerField = nullptr;
    QPushButton *m_nextButton = nullptr;
    QPushButton *m_resultsButton = nullptr;
    lexi::FittedTextLabel *m_previousQuestionField = nullptr;
    lexi::FittedTextLabel *m_typedAnswerField = nullptr;
    QLabel *m_typedAnswerIndicator = nullptr;
    lexi::FittedTextLabel *m_expectedAnswerField = nullptr;
    QLabel *m_expectedAnswerIndicator = nullptr;
    lexi::FittedTextLabel *m_commentField = nullptr;
    QLabel *m_upperLevelIcon = nullptr;
    QLabel *m_arrow = nullptr;
    QLabel *m_lowerLevelIcon = nullptr;
    QCheckBox *m_dontAskAgainBox = nullptr;
    QCheckBox *m_iKnewItBox = nullptr;
    QPushButton *m_editButton = nullptr;
    QLabel *m_deletedMark = nullptr;
    QLabel *m_questionHelp = nullptr;
    QLabel *m_verdictHelp = nullptr;
    QLabel *m_statusText = nullptr;
    QLXProgressBar *m_progressBar = nullptr;

    QLXBookmarkView *m_resultsPage = nullptr;
    lexi::QuizResultsCard *m_resultsCard = nullptr;
};
