#pragma once

#include "PopupQuizRun.h"
#include "QLXQuizInterface.h"
#include "QuizMode.h"
#include "QuizPages.h"
#include "QuizResultsView.h"
#include "QuizServices.h"

#include "model/QLXWordPopoverDelegate.h"
#include "views/QLXLanguageTextField.h"

#include <QEventLoopLocker>

#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QLXBookmarkView;
class QLXCardView;
class QLXPieChart;

namespace lexi {
class FocusReturn;
}

// The pop-up quiz: while the learner works in other programs, a small window of its own comes up
// over them at an interval with one question. The learner types the answer and checks it, sees
// the verdict and presses Next; the window goes away, the window that was active before gets the
// focus back, and the next question comes one interval later. After the run's last answer the
// window shows the results instead. Every answer is recorded when it is judged.
//
// Meanwhile the quiz tab shows the pop-up page: the run goes on, with the interval in minutes and
// a stop button. The main window's toolbar is off from runStarted() until runEnded(), which comes
// whenever the run ends (its results show, or its vocabulary was replaced). The program stays
// while a run goes on, even with the main window closed; closing the pop-up window stops the run
// (or, with no other window of the program left, ends it and the program).
//
// Where windows have a position (X11), the window shows where the learner last left it, on the
// screen; on Wayland the compositor places it and hands the focus back.
class QLXPopupQuizController : public lexi::QuizMode,
                               public QLXQuizInterface,
                               public QLXWordPopoverDelegate,
                               public QLXLanguageTextFieldDelegate
{
    Q_OBJECT

public:
    // How long a window shown waits to become the active one before it asks for attention
    // instead (a window manager may refuse to hand it the focus).
    static constexpr std::chrono::milliseconds activationWait{500};

    enum WindowPage { QuestionPage = 0, AnswerPage = 1, ResultPage = 2 };

    // `focusReturn` gives the focus back after each question; it and what `services` names must
    // outlive the controller.
    QLXPopupQuizController(const lexi::QuizServices &services, lexi::QuizPages &pages, lexi::FocusReturn &focusReturn,
                           QObject *parent = nullptr);
    ~QLXPopupQuizController() override;

    QLXQuizInterface &quiz() override { return *this; }
    // Starts a run with the words chosen and shows the pop-up page; the card there is where the
    // set-up page's flip ends.
    QWidget *start() override;
    bool isRunInProgress() const override { return m_run.isInProgress(); }
    void leave() override;
    bool isRunInOwnWindow() const override { return true; }

    void startQuiz();
    // The window's and the page's buttons.
    void checkWord();
    void iKnewIt();
    void next();
    void stopQuiz();
    void close();
    void editLastWord();
    void updateInterval(int minutes);

    // The word popover's answers about the current word.
    void wordPopoverDidEditWords(const lexi::WordList &words) override;
    void wordPopoverDidDeleteWords(const lexi::WordList &words) override;
    void wordPopoverDidCancelEditWords(const lexi::WordList &words) override;
    // The answer field got the focus: the keyboard follows the language asked for.
    void languageTextFieldDidBecomeActive(QLXLanguageTextField *field) override;
    void languageTextFieldDidLoseFocus(QLXLanguageTextField *field) override;

    const lexi::PopupQuizRun &run() const { return m_run; }

    // The controls, for the program's keyboard handling and for tests.
    QWidget &quizWindow() const;
    QStackedWidget &windowPages() const { return *m_windowPages; }
    QLXCardView &windowCard() const { return *m_windowCard; }
    QLabel &questionField() const { return *m_questionField; }
    QLabel &questionComment() const { return *m_questionComment; }
    QLXLanguageTextField &answerField() const { return *m_answerField; }
    QPushButton &checkButton() const { return *m_checkButton; }
    QLabel &answerLabel() const { return *m_answerLabel; }
    QLabel &answerMark() const { return *m_answerMark; }
    QLabel &expectedLabel() const { return *m_expectedLabel; }
    QLabel &askedLabel() const { return *m_askedLabel; }
    QLabel &upperLevelIcon() const { return *m_upperLevelIcon; }
    QLabel &arrow() const { return *m_arrow; }
    QLabel &lowerLevelIcon() const { return *m_lowerLevelIcon; }
    QCheckBox &dontAskAgainBox() const { return *m_dontAskAgainBox; }
    QCheckBox &iKnewItBox() const { return *m_iKnewItBox; }
    QPushButton &editButton() const { return *m_editButton; }
    QLabel &deletedMark() const { return *m_deletedMark; }
    QPushButton &nextButton() const { return *m_nextButton; }
    QLabel &introText() const { return m_resultsView->introText(); }
    QLXPieChart &pieChart() const { return m_resultsView->pieChart(); }
    QLabel &correctCount() const { return m_resultsView->correctCount(); }
    QLabel &misspelledCount() const { return m_resultsView->middleCount(); }
    QLabel &wrongCount() const { return m_resultsView->wrongCount(); }
    QPushButton &closeButton() const { return *m_closeButton; }
    QWidget &page() const;
    QSpinBox &intervalField() const { return *m_intervalField; }
    QPushButton &stopButton() const { return *m_stopButton; }

signals:
    // A run started: the main window's toolbar and the menu items that act on the vocabulary are
    // switched off until runEnded().
    void runStarted();
    // The learner wants to edit the current word (the word popover opens beside the edit button).
    void editWordRequested(const std::shared_ptr<QLXWord> &word, QWidget *anchor);
    // The word popover has done its work and closes.
    void wordPopoverShouldClose();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void buildPage();
    void localize();
    void showQuestion();
    void showResults();
    void showFace(const lexi::PopupQuizRun::VerdictFace &face);
    void clearBoxes();
    void bringWindowToFront();
    void parkWindow();
    void storeWindowPosition();
    // The window is to close (its own close button, or Close on the results); false keeps it
    // open.
    bool windowShouldClose();
    // The run ends without its results: its vocabulary is gone.
    void abandonRun();
    bool isAnotherWindowShown() const;

    lexi::QuizServices m_services;
    lexi::QuizPages &m_pages;
    lexi::FocusReturn &m_focusReturn;
    lexi::PopupQuizRun m_run;
    // The program stays while a run goes on, whatever windows are shown.
    std::optional<QEventLoopLocker> m_keepProgram;
    lexi::dispatch::DelayedBlock m_activationCheck;
    bool m_isWindowPositioned = true;

    std::unique_ptr<QLXBookmarkView> m_window;
    QLXCardView *m_windowCard = nullptr;
    QStackedWidget *m_windowPages = nullptr;
    QLabel *m_questionField = nullptr;
    QLabel *m_questionComment = nullptr;
    QLXLanguageTextField *m_answerField = nullptr;
    QPushButton *m_checkButton = nullptr;
    QPushButton *m_questionEndButton = nullptr;
    QLabel *m_answerLabel = nullptr;
    QLabel *m_answerMark = nullptr;
    QLabel *m_expectedLabel = nullptr;
    QLabel *m_expectedMark = nullptr;
    QLabel *m_askedLabel = nullptr;
    QLabel *m_commentLabel = nullptr;
    QLabel *m_upperLevelIcon = nullptr;
    QLabel *m_arrow = nullptr;
    QLabel *m_lowerLevelIcon = nullptr;
    QCheckBox *m_dontAskAgainBox = nullptr;
    QCheckBox *m_iKnewItBox = nullptr;
    QPushButton *m_editButton = nullptr;
    QLabel *m_deletedMark = nullptr;
    QPushButton *m_nextButton = nullptr;
    QPushButton *m_answerEndButton = nullptr;
    lexi::QuizResultsView *m_resultsView = nullptr;
    QPushButton *m_closeButton = nullptr;

    QLXBookmarkView *m_page = nullptr;
    QLXCardView *m_pageCard = nullptr;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_pageIntro = nullptr;
    QLabel *m_intervalLabel = nullptr;
    QSpinBox *m_intervalField = nullptr;
    QLabel *m_minutesLabel = nullptr;
    QPushButton *m_stopButton = nullptr;
};
