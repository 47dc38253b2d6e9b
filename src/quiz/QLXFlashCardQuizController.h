#pragma once

#include "CardFlip.h"
#include "FlashCardRun.h"
#include "QLXQuizInterface.h"
#include "QuizMode.h"
#include "QuizPages.h"
#include "QuizResultsCard.h"
#include "QuizServices.h"

#include "model/QLXWordPopoverDelegate.h"

#include <array>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QStackedWidget;
class QToolButton;
class QLXBookmarkView;
class QLXCardView;
class QLXPieChart;
class QLXProgressBar;

// The flash-card slideshow: one index card at a time shows a question; the learner reveals the
// answer, marks the card right or wrong or leaves it unmarked, and the next card flips in.
// Auto-play turns the cards by themselves at the speed of the slider below the card. A result
// page sums up the run and offers the cards marked wrong again. Its page goes in the quiz tab as
// the flash-card page; the rules of the run are lexi::FlashCardRun's, this class shows them.
//
// Keys (shown in the tooltips): Space or Return reveals the answer and then moves on; Up marks
// the card right, Down wrong; P plays and pauses; E edits the word; D ticks "don't ask again".
// The keyboard stays on the page throughout a run.
//
// The edit button asks the host for the word popover (editWordRequested); the host shows it with
// this controller as its delegate and closes it when asked (wordPopoverShouldClose).
class QLXFlashCardQuizController : public lexi::QuizMode,
                                   public QLXQuizInterface,
                                   public QLXWordPopoverDelegate,
                                   private lexi::FlashCardPage
{
    Q_OBJECT

public:
    QLXFlashCardQuizController(const lexi::QuizServices &services, lexi::QuizPages &pages, QObject *parent = nullptr);

    QLXQuizInterface &quiz() override { return *this; }
    // Starts a run with the words chosen (wordsToAsk) and shows the flash-card page.
    QWidget *start() override;
    bool isRunInProgress() const override { return m_run.isRunInProgress(); }
    void leave() override;

    void editCurrentWord();
    // The word popover's answers about the card's word. It saved the vocabulary before it
    // reports; the quiz asks for a synchronisation.
    void wordPopoverDidEditWords(const lexi::WordList &words) override;
    void wordPopoverDidDeleteWords(const lexi::WordList &words) override;
    void wordPopoverDidCancelEditWords(const lexi::WordList &words) override;

    lexi::FlashCardRun &run() { return m_run; }
    const lexi::FlashCardRun &run() const { return m_run; }

    // The controls, for the program's keyboard handling and for tests.
    QLXBookmarkView &page() const { return *m_page; }
    QLXCardView &card() const { return *m_card; }
    QLXCardView &resultsCard() const { return *m_resultsCard; }
    QLabel &questionField() const { return *m_questionField; }
    QLabel &answerField() const { return *m_answerField; }
    QLabel &commentField() const { return *m_commentField; }
    QLabel &levelIcon() const { return *m_levelIcon; }
    QLabel &upperLevelIcon() const { return *m_upperLevelIcon; }
    QLabel &upArrow() const { return *m_upArrow; }
    QLabel &lowerLevelIcon() const { return *m_lowerLevelIcon; }
    QLabel &downArrow() const { return *m_downArrow; }
    QStackedWidget &buttonArea() const { return *m_buttonArea; }
    QPushButton &showAnswerButton() const { return *m_showAnswerButton; }
    QToolButton &correctButton() const { return *m_correctButton; }
    QToolButton &wrongButton() const { return *m_wrongButton; }
    QCheckBox &dontAskAgainBox() const { return *m_dontAskAgainBox; }
    QPushButton &editButton() const { return *m_editButton; }
    QLabel &deletedMark() const { return *m_deletedMark; }
    QSlider &flipSpeedSlider() const { return *m_flipSpeedSlider; }
    QLabel &flipSpeedLabel(int level) const { return *m_flipSpeedLabels[level]; }
    QToolButton &playButton() const { return *m_playButton; }
    QLabel &statusText() const { return *m_statusText; }
    QLXProgressBar &progressBar() const { return *m_progressBar; }
    QLabel &introText() const { return m_resultsCard->resultsView().introText(); }
    QLXPieChart &pieChart() const { return m_resultsCard->resultsView().pieChart(); }
    QLabel &correctCount() const { return m_resultsCard->resultsView().correctCount(); }
    QLabel &wrongCount() const { return m_resultsCard->resultsView().wrongCount(); }
    QLabel &skippedCount() const { return m_resultsCard->resultsView().middleCount(); }
    QPushButton &restartButton() const { return m_resultsCard->restartButton(); }
    QPushButton &newQuizButton() const { return m_resultsCard->newQuizButton(); }
    lexi::CardFlip &flip() { return m_flip; }

signals:
    // The learner wants to edit the card's word (the word popover opens beside the edit button).
    void editWordRequested(const std::shared_ptr<QLXWord> &word, QWidget *anchor);
    // The word popover has done its work and closes.
    void wordPopoverShouldClose();

private:
    // What the run asks of its page.
    void showRun() override;
    void showSide(Side side) override;
    bool flipFirstHalf() override;
    void flipSecondHalf(bool reverse) override;
    void resultsShown() override;

    void buildCardSide();
    void buildResultsSide();
    void buildKeys();
    void localize();
    void showFace();
    void showResults();
    // The card or the results card, whichever shows.
    QWidget &shownCard() const;
    void keepKeyboardOnPage();

    lexi::QuizServices m_services;
    lexi::QuizPages &m_pages;
    lexi::CardFlip m_flip;
    lexi::FlashCardRun m_run;

    QLXBookmarkView *m_page = nullptr;
    QStackedWidget *m_sides = nullptr;
    QWidget *m_cardSide = nullptr;
    QLXCardView *m_card = nullptr;
    QLabel *m_questionField = nullptr;
    QLabel *m_answerField = nullptr;
    QLabel *m_commentField = nullptr;
    QLabel *m_levelIcon = nullptr;
    QLabel *m_upperLevelIcon = nullptr;
    QLabel *m_upArrow = nullptr;
    QLabel *m_lowerLevelIcon = nullptr;
    QLabel *m_downArrow = nullptr;
    QStackedWidget *m_buttonArea = nullptr;
    QPushButton *m_showAnswerButton = nullptr;
    QToolButton *m_correctButton = nullptr;
    QToolButton *m_wrongButton = nullptr;
    QCheckBox *m_dontAskAgainBox = nullptr;
    QPushButton *m_editButton = nullptr;
    QLabel *m_deletedMark = nullptr;
    QSlider *m_flipSpeedSlider = nullptr;
    QLabel *m_flipSpeedTitle = nullptr;
    std::array<QLabel *, 4> m_flipSpeedLabels{};
    QToolButton *m_playButton = nullptr;
    QLabel *m_statusText = nullptr;
    QLXProgressBar *m_progressBar = nullptr;

    QWidget *m_resultsSide = nullptr;
    lexi::QuizResultsCard *m_resultsCard = nullptr;
};
