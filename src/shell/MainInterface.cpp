#include "MainInterface.h"

#include "Installation.h"

#include <QMainWindow>

namespace lexi {

MainInterface::MainInterface(Installation &installation, MoveToApplicationsOffer &moveOffer)
    : m_modalWatch(installation.ports().scheduler),
      m_colorTheme(installation.defaults()),
      m_ratingPrompt(installation, installation.network(), [this] { return m_mainWindowController.mainWindow(); }),
      m_vocabularyPage(installation),
      m_quizPage(installation, m_colorTheme, m_ratingPrompt.rate(), m_vocabularyPage.keeper(), installation.network()),
      m_flashCardServicePage(installation, m_vocabularyPage.keeper()),
      m_statisticsPage(installation, m_colorTheme, m_vocabularyPage.keeper()),
      m_preferencesPage(installation, m_colorTheme),
      m_launchServices(installation),
      m_mainWindowController(installation,
                             {.vocabulary = &m_vocabularyPage,
                              .quiz = &m_quizPage,
                              .flashCardService = &m_flashCardServicePage,
                              .statistics = &m_statisticsPage,
                              .preferences = &m_preferencesPage},
                             m_modalWatch),
      m_appDelegate({installation.defaults(), m_launchServices, m_ratingPrompt, moveOffer}, m_mainWindowController)
{
    // The popover's quiz button quizzes the words selected in the list: showing the quiz tab hands
    // the list's selection to the quiz set-up.
    QObject::connect(m_vocabularyPage.controller().popoverController(),
                     &QLXWordPopoverController::quizSelectedWordsRequested, &m_mainWindowController,
                     [this] { m_mainWindowController.showQuiz(); });
    // While the pop-up quiz runs, the main window offers nothing that would change the vocabulary
    // under it; whenever the run ends, everything is on again.
    QObject::connect(&m_quizPage.popupQuiz(), &QLXPopupQuizController::runStarted, &m_mainWindowController,
                     &QLXMainWindowController::disableAllToolbarItems);
    QObject::connect(&m_quizPage.popupQuiz(), &lexi::QuizMode::runEnded, &m_mainWindowController,
                     &QLXMainWindowController::enableAllToolbarItems);
}

void MainInterface::awakeFromNib()
{
    m_quizPage.awake();
    m_mainWindowController.awakeFromNib();
}

} // namespace lexi
