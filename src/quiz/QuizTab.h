#pragma once

#include "QLXFlashCardQuizController.h"
#include "QLXPopupQuizController.h"
#include "QLXQuizSetupController.h"
#include "QLXTypingQuizController.h"
#include "QuizPages.h"
#include "QuizServices.h"

#include "platform/ports/FocusReturn.h"
#include "views/MainWindowPage.h"
#include "views/WordEditingForm.h"

#include <QList>

#include <functional>
#include <memory>

class QLXPopover;
class QNetworkAccessManager;

namespace lexi {

// The quiz tab: the set-up page, and the typing quiz, the flash cards and the pop-up quiz it
// starts, in their pages. A word the learner edits during a quiz is edited in the word form's
// popover over the tab, or over the pop-up quiz's window while that quiz asks.
class QuizTab final : public QuizPages, public QuizPage
{
public:
    struct Services
    {
        QuizServices quiz;
        // Gives the focus back to the window that had it before the pop-up quiz asked.
        std::unique_ptr<FocusReturn> focusReturn;
        std::unique_ptr<WordEditingForm> wordEditor;
        // Opens the set-up page's links: a web page or the support mail.
        std::function<void(const QUrl &)> openUrl;
        QNetworkAccessManager &network;
    };

    explicit QuizTab(Services services, QWidget *parent = nullptr);

    QWidget *view() override { return this; }
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

    QuizServices m_services;
    std::unique_ptr<FocusReturn> m_focusReturn;
    QLXTypingQuizController m_typingQuiz;
    QLXFlashCardQuizController m_flashCards;
    QLXPopupQuizController m_popupQuiz;
    QLXQuizSetupController m_setup;
    QLXPopover *m_popover;
    // The popover's place in the pop-up quiz's window; the form goes where it shows.
    QLXPopover *m_windowPopover;
    QList<std::function<void()>> m_afterRun;
    // Last, so that it goes before the popover it lies in, whichever that is.
    std::unique_ptr<WordEditingForm> m_wordEditor;
};

} // namespace lexi
