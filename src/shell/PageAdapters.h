#pragma once

#include "MainWindowPages.h"
#include "QLXRate.h"
#include "QtRatingPromptPresenter.h"
#include "StartupCollaborators.h"

#include "editor/QLXWordPopoverController.h"
#include "model/VocabularyKeeper.h"
#include "platform/files/Settings.h"
#include "platform/ports/FocusReturn.h"
#include "quiz/QLXFlashCardQuizController.h"
#include "quiz/QLXPopupQuizController.h"
#include "quiz/QLXQuizSetupController.h"
#include "quiz/QLXTypingQuizController.h"
#include "quiz/QuizPages.h"
#include "quiz/QuizServices.h"
#include "views/QLXPopover.h"

#include <memory>

class QLXColorTheme;

namespace lexi {

class Installation;

// The quiz tab: the set-up page, the typing quiz, the flash cards and the pop-up quiz in their pages.
class QuizPageAdapter final : public QuizPage
{
public:
    QuizPageAdapter(Installation &installation, QLXColorTheme &colorTheme, RatingPrompt &ratingPrompt,
                    VocabularyKeeper &keeper, QNetworkAccessManager &network);

    QWidget *view() override { return m_pages.get(); }
    void setPreSelectedWords(const WordList &words) override { m_setup.setPreSelectedWords(words); }
    void showQuiz() override { m_setup.showQuiz(); }
    void quizListsToAskChanged() override { m_setup.quizListsToAskChanged(); }
    void runWhenNoQuizRuns(std::function<void()> step) override;

    void awake() { m_setup.awake(); }
    QLXQuizSetupController &setup() { return m_setup; }
    QLXTypingQuizController &typingQuiz() { return m_typingQuiz; }
    QLXFlashCardQuizController &flashCards() { return m_flashCards; }
    QLXPopupQuizController &popupQuiz() { return m_popupQuiz; }

private:
    void showWordPopover(const std::shared_ptr<QLXWord> &word, QWidget *anchor, QLXWordPopoverDelegate *delegate);

    Settings m_settings;
    QuizServices m_services;
    std::unique_ptr<QuizPages> m_pages;
    std::unique_ptr<FocusReturn> m_focusReturn;
    QLXTypingQuizController m_typingQuiz;
    QLXFlashCardQuizController m_flashCards;
    QLXPopupQuizController m_popupQuiz;
    QLXQuizSetupController m_setup;
    QLXWordPopoverController m_popoverController;
    QLXPopover *m_popover;
    // The popover's place in the pop-up quiz's window; the popover's content goes where it shows.
    QLXPopover *m_windowPopover;
    QList<std::function<void()>> m_afterRun;
};

// The rating prompt as start-up configures it; it counts this launch once the event loop runs.
class ProgramRatingPrompt final : public RatingPromptSetup
{
public:
    ProgramRatingPrompt(Installation &installation, QNetworkAccessManager &network,
                        std::function<QWidget *()> mainWindow);

    void configure(const RatingPromptConfiguration &configuration) override;
    QLXRate &rate() { return m_rate; }

private:
    Settings m_settings;
    QtRatingPromptPresenter m_presenter;
    QLXRate m_rate;
};

} // namespace lexi
