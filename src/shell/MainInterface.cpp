#include "MainInterface.h"

#include "Installation.h"

#include "model/QLXStorageManager.h"
#include "platform/linux/LocaleName.h"
#include "platform/linux/X11FocusReturn.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QMainWindow>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

QLXPreferencesController::Environment preferencesEnvironment(Installation &installation, QLXColorTheme &colorTheme,
                                                             const VocabularyKeeper &keeper)
{
    QLXPreferencesController::Environment environment;
    environment.folders = &installation.folders();
    environment.storage = &installation.storage();
    environment.services = &installation.services();
    environment.defaults = &installation.defaults();
    environment.sync = &installation.dropboxController();
    environment.syncLog = &installation.syncLog();
    environment.analytics = &installation.analyticsClient();
    environment.alerts = &installation.ports().alerts;
    environment.inputSources = &installation.ports().inputSources;
    environment.clock = &installation.ports().clock;
    environment.scheduler = &installation.ports().scheduler;
    environment.colorTheme = &colorTheme;
    environment.openUrl = [&workspace = installation.ports().workspace](const QUrl &address) {
        workspace.openWebAddress(address);
    };
    environment.keeper = &keeper;
    return environment;
}

} // namespace

QLXWordPopoverController::Services MainInterface::wordPopoverServices(Installation &installation)
{
    return {m_keeper,
            installation.ports().alerts,
            installation.ports().inputSources,
            installation.ports().clock,
            installation.ports().scheduler,
            m_settings,
            selectedLocaleName()};
}

MainInterface::MainInterface(Installation &installation, MoveToApplicationsOffer &moveOffer)
    : m_modalWatch(installation.ports().scheduler),
      m_colorTheme(installation.defaults()),
      m_ratingPrompt(installation, installation.network(), [this] { return m_mainWindowController.mainWindow(); }),
      m_settings(installation.defaults()),
      m_syncStatus(installation.dropboxController(), installation.syncLog()),
      m_keeper([&storage = installation.storage()](const Lexicarta &vocabulary) {
          return storage.saveVocabulary(&vocabulary);
      }, installation.dropboxController()),
      m_vocabularyPage(new LexicartaController(LexicartaController::Services{
          .popover = wordPopoverServices(installation),
          .syncStatus = &m_syncStatus})),
      m_quizPage(new QuizTab(QuizTab::Services{
          .quiz = {installation.defaults(), installation.ports().scheduler, installation.ports().clock, m_keeper,
                   m_ratingPrompt.rate(), m_colorTheme},
          .focusReturn = focusReturnForQtPlatform(QGuiApplication::platformName()),
          .wordEditor = std::make_unique<QLXWordPopoverController>(wordPopoverServices(installation)),
          .openUrl =
              [&workspace = installation.ports().workspace](const QUrl &address) {
                  // The support address is the program's own mail link; anything else is a page.
                  if (address.scheme() == u"mailto"_s)
                      QDesktopServices::openUrl(address);
                  else
                      workspace.openWebAddress(address);
              },
          .network = installation.network()})),
      m_quizletClient(installation.defaults(), installation.network()),
      m_flashCardServicePage(new QLXQuizletController(
          QuizletServices{m_keeper, m_quizletClient, installation.ports().alerts,
                          installation.ports().workspace, installation.defaults()})),
      m_statisticsPage(new QLXStatisticsController(
          StatisticsServices{m_keeper, installation.ports().clock, installation.ports().scheduler,
                             m_colorTheme})),
      m_preferencesPage(new QLXPreferencesController(preferencesEnvironment(installation, m_colorTheme, m_keeper))),
      m_launchServices(installation),
      m_mainWindowController(installation,
                             {.vocabulary = m_vocabularyPage,
                              .quiz = m_quizPage,
                              .flashCardService = m_flashCardServicePage,
                              .statistics = m_statisticsPage,
                              .preferences = m_preferencesPage},
                             m_modalWatch),
      m_appDelegate({installation.defaults(), m_launchServices, m_ratingPrompt, moveOffer}, m_mainWindowController)
{
    // The popover's quiz button quizzes the words selected in the list: showing the quiz tab hands
    // the list's selection to the quiz set-up.
    QObject::connect(m_vocabularyPage->popoverController(),
                     &QLXWordPopoverController::quizSelectedWordsRequested, &m_mainWindowController,
                     [this] { m_mainWindowController.showQuiz(); });
    // While the pop-up quiz runs, the main window offers nothing that would change the vocabulary
    // under it; whenever the run ends, everything is on again.
    QObject::connect(&m_quizPage->popupQuiz(), &QLXPopupQuizController::runStarted, &m_mainWindowController,
                     &QLXMainWindowController::disableAllToolbarItems);
    QObject::connect(&m_quizPage->popupQuiz(), &lexi::QuizMode::runEnded, &m_mainWindowController,
                     &QLXMainWindowController::enableAllToolbarItems);
}

void MainInterface::awakeFromNib()
{
    m_quizPage->awake();
    m_mainWindowController.awakeFromNib();
}

} // namespace lexi
