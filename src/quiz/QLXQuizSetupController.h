#pragma once

#include "CardFlip.h"
#include "InfoMessage.h"
#include "QuizPages.h"
#include "QuizServices.h"
#include "QuizSetupCheck.h"

#include <QObject>
#include <QUrl>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QButtonGroup;
class QComboBox;
class QCompleter;
class QLabel;
class QLineEdit;
class QNetworkAccessManager;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class QWidget;
class QLXBookmarkView;
class QLXCardView;
class QLXProgressBar;

namespace lexi {
class QuizMode;
}

// The set-up page of the quiz tab: the learner chooses the direction, the memory levels (each
// with its number of due words), the number of words, a tag filter and the quiz mode. The page
// checks the choice as it changes and shows its first fault; Start hands the choice to the quiz
// and, once the card flip has begun, shows the quiz. Words chosen in the vocabulary list are
// asked instead of a choice by level. The page also shows the product's information message and
// a small feedback panel.
//
// The main window's quiz tab holds a lexi::QuizPages; the typing quiz and this page put their
// pages into it. The window calls awake() once, setPreSelectedWords() and showQuiz() each time the
// tab is shown, and quizListsToAskChanged() after a synchronisation. While isQuizRunning(), a
// vocabulary a synchronisation changed is held back and taken in at quizRunEnded(), so that a run
// never saves over words it did not see.
class QLXQuizSetupController : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds startDelay{200};
    // The information message: small, and never waited for long.
    static constexpr qint64 maximumMessageSize = 64 * 1024;
    static constexpr std::chrono::milliseconds messageDeadline{15000};

    enum Mode { Typing = 0, FlashCards = 1, Popup = 2 };

    struct Links
    {
        // The quiz modes by Mode; a mode that is none leaves its segment switched off.
        std::array<lexi::QuizMode *, 3> modes{};
        // Opens a web or mail link in the desktop's handler.
        std::function<void(const QUrl &)> openUrl;
        QNetworkAccessManager &network;
        // For the whole fetch of the information message.
        std::chrono::milliseconds infoMessageDeadline = messageDeadline;
    };

    QLXQuizSetupController(const lexi::QuizServices &services, lexi::QuizPages &pages, const Links &links,
                           QObject *parent = nullptr);

    // Reads the direction and starts the one fetch of the information message of this launch.
    void awake();

    // The quiz tab is shown: the page with the counts of the current vocabulary. A call while a
    // quiz the learner started since the tab was shown runs or waits to start changes nothing.
    void showQuiz();
    // The level buttons changed, or the words did: the number of words follows the due words of
    // the chosen levels. Drops a preselection.
    void quizListsToAskChanged();
    // Words chosen in the vocabulary list; two or more are asked instead of a choice by level.
    void setPreSelectedWords(const lexi::WordList &words);
    void setAskDirection(int itemTag);
    void startQuiz();

    void dontShowThisInfoAgain();
    void goToInfoURL(bool alternate);
    void showFeedbackPrompt();
    void showRatingPrompt();
    void rateit();
    void sendEmail();

    // Whether the page checks out; shows or hides the error as it goes.
    bool isUserSetupOK();
    // Offers the information message; whether it is shown.
    bool showInfoPanel();
    // A quiz waits to start or runs: the vocabulary must not be replaced under it.
    bool isQuizRunning() const;

    bool askForForeignWord() const { return m_askForForeignWord; }
    bool askForYourWord() const { return m_askForYourWord; }
    const std::optional<lexi::InfoMessage> &infoMessage() const { return m_infoMessage; }

    // The controls, for the program's keyboard handling and for tests.
    QToolButton &levelButton(int level) const { return *m_levelButtons[level]; }
    QLabel &countLabel(int level) const { return *m_countLabels[level]; }
    QComboBox &directionPopup() const { return *m_directionPopup; }
    QLineEdit &tagField() const { return *m_tagField; }
    QComboBox &allAnyPopup() const { return *m_allAnyPopup; }
    QSpinBox &numberField() const { return *m_numberField; }
    QPushButton &startButton() const { return *m_startButton; }
    QLabel &errorLabel() const { return *m_errorLabel; }
    QButtonGroup &modeControl() const { return *m_modeControl; }
    QWidget &infoPanel() const { return *m_infoPanel; }
    QLabel &infoTitle() const { return *m_infoTitle; }
    QPushButton &infoButton() const { return *m_infoButton; }
    QPushButton &infoAlternateButton() const { return *m_infoAlternateButton; }
    QStackedWidget &feedbackPanel() const { return *m_feedbackPanel; }
    QLXCardView &card() const { return *m_card; }
    lexi::CardFlip &flip() { return m_flip; }

signals:
    // A quiz run ended or was left; a vocabulary held back meanwhile may be taken in now.
    void quizRunEnded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPage();
    void localize();
    void showSetupPage();
    void takeKeyboardFocus();
    void setButtonActive(int level, bool active);
    void updateNumberOfDueLabelsState();
    void updateErrorLabel();
    void rebuildDirectionPopup();
    void showError(const QString &key);
    QStringList chosenTags() const;
    void updateTagCompletions(const QString &text);
    void messageArrived(const QByteArray &body);
    void leaveRun();
    bool isRunInOwnWindowInProgress() const;
    // The open vocabulary, which the page counts and quizzes ask from.
    const std::shared_ptr<Lexicarta> &vocabulary() const;

    lexi::QuizServices m_services;
    lexi::QuizPages &m_pages;
    Links m_links;
    lexi::CardFlip m_flip;
    lexi::dispatch::DelayedBlock m_pendingStart;

    std::optional<lexi::WordList> m_preSelectedWords;
    std::optional<lexi::InfoMessage> m_infoMessage;
    std::array<qint64, 6> m_overdueCounts{};
    bool m_askForForeignWord = true;
    bool m_askForYourWord = false;
    // Set when the learner starts a quiz; the tab being hidden clears it.
    bool m_startedSinceTabShown = false;

    QLXBookmarkView *m_page = nullptr;
    QLXCardView *m_card = nullptr;
    QLXProgressBar *m_progressBar = nullptr;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_askInLabel = nullptr;
    QLabel *m_fromLevelsLabel = nullptr;
    QLabel *m_numberLabel = nullptr;
    QLabel *m_tagsLabel = nullptr;
    std::array<QToolButton *, 6> m_levelButtons{};
    std::array<QLabel *, 6> m_countLabels{};
    QComboBox *m_directionPopup = nullptr;
    QLineEdit *m_tagField = nullptr;
    QCompleter *m_tagCompleter = nullptr;
    QComboBox *m_allAnyPopup = nullptr;
    QSpinBox *m_numberField = nullptr;
    QPushButton *m_startButton = nullptr;
    QLabel *m_errorLabel = nullptr;
    QButtonGroup *m_modeControl = nullptr;
    QWidget *m_infoPanel = nullptr;
    QLabel *m_infoTitle = nullptr;
    QLabel *m_infoText = nullptr;
    QPushButton *m_infoButton = nullptr;
    QPushButton *m_infoAlternateButton = nullptr;
    QPushButton *m_infoDismissButton = nullptr;
    QStackedWidget *m_feedbackPanel = nullptr;
    QLabel *m_howDoYouLikeItLabel = nullptr;
    QLabel *m_feedbackPromptLabel = nullptr;
    QLabel *m_ratePromptLabel = nullptr;
    QPushButton *m_loveItButton = nullptr;
    QPushButton *m_unhappyButton = nullptr;
    QPushButton *m_sendEmailButton = nullptr;
    QPushButton *m_rateItButton = nullptr;
};
