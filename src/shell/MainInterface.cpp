#include "MainInterface.h"

#include "Installation.h"

namespace lexi {

MainInterface::MainInterface(Installation &installation, RatingPromptSetup &ratingPrompt,
                             MoveToApplicationsOffer &moveOffer)
    : m_modalWatch(installation.ports().scheduler),
      m_colorTheme(installation.defaults()),
      m_vocabularyPage(installation),
      m_preferencesPage(installation, m_colorTheme),
      m_launchServices(installation),
      m_mainWindowController(installation,
                             {.vocabulary = &m_vocabularyPage,
                              .quiz = &m_quizPage,
                              .flashCardService = &m_flashCardServicePage,
                              .statistics = &m_statisticsPage,
                              .preferences = &m_preferencesPage,
                              .sheets = nullptr},
                             m_modalWatch),
      m_appDelegate({installation.defaults(), m_launchServices, ratingPrompt, moveOffer}, m_mainWindowController)
{
}

void MainInterface::awakeFromNib()
{
    m_mainWindowController.awakeFromNib();
}

} // namespace lexi
