#include "QuizTab.h"

#include "views/QLXPopover.h"

namespace lexi {

QuizTab::QuizTab(Services services, QWidget *parent)
    : QuizPages(parent),
      m_services(services.quiz),
      m_focusReturn(std::move(services.focusReturn)),
      m_typingQuiz(m_services, *this),
      m_flashCards(m_services, *this),
      m_popupQuiz(m_services, *this, *m_focusReturn),
      m_setup(m_services, *this, {{&m_typingQuiz, &m_flashCards, &m_popupQuiz}, std::move(services.openUrl),
                                  services.network}),
      m_popover(new QLXPopover(this)),
      m_windowPopover(new QLXPopover(&m_popupQuiz.quizWindow())),
      m_wordEditor(std::move(services.wordEditor))
{
    m_popover->setContentWidget(m_wordEditor->view());
    connect(&m_typingQuiz, &QLXTypingQuizController::editWordRequested, m_popover,
            [this](const std::shared_ptr<QLXWord> &word, QWidget *anchor) {
                showWordPopover(word, anchor, &m_typingQuiz);
            });
    connect(&m_typingQuiz, &QLXTypingQuizController::wordPopoverShouldClose, m_popover, &QLXPopover::close);
    connect(&m_flashCards, &QLXFlashCardQuizController::editWordRequested, m_popover,
            [this](const std::shared_ptr<QLXWord> &word, QWidget *anchor) {
                showWordPopover(word, anchor, &m_flashCards);
            });
    connect(&m_flashCards, &QLXFlashCardQuizController::wordPopoverShouldClose, m_popover, &QLXPopover::close);
    // The pop-up quiz edits in its own window, where the popover then goes.
    connect(&m_popupQuiz, &QLXPopupQuizController::editWordRequested, m_windowPopover,
            [this](const std::shared_ptr<QLXWord> &word, QWidget *anchor) {
                showWordPopover(word, anchor, &m_popupQuiz);
            });
    connect(&m_popupQuiz, &QLXPopupQuizController::wordPopoverShouldClose, m_windowPopover, &QLXPopover::close);
    connect(&m_setup, &QLXQuizSetupController::quizRunEnded, m_popover, [this] {
        for (const std::function<void()> &step : std::exchange(m_afterRun, {}))
            step();
    });
}

void QuizTab::runWhenNoQuizRuns(std::function<void()> step)
{
    if (m_setup.isQuizRunning())
        m_afterRun.append(std::move(step));
    else
        step();
}

void QuizTab::showWordPopover(const std::shared_ptr<QLXWord> &word, QWidget *anchor, QLXWordPopoverDelegate *delegate)
{
    QLXPopover *popover = m_windowPopover->window() == anchor->window() ? m_windowPopover : m_popover;
    if (!popover->isAncestorOf(m_wordEditor->view()))
        popover->setContentWidget(m_wordEditor->view());
    m_wordEditor->showEditWindowForWords({word}, delegate);
    popover->showRelativeToRect(anchor, anchor->rect());
    popover->raise();
}

} // namespace lexi
