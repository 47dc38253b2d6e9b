#pragma once

#include "AppDelegate.h"
#include "DropBoxSyncStatus.h"
#include "InstallationLaunchServices.h"
#include "ModalWatch.h"
#include "ProgramRatingPrompt.h"
#include "QLXMainWindowController.h"
#include "QLXPreferencesController.h"

#include "editor/LexicartaController.h"
#include "flashcard-service/QLXQuizletController.h"
#include "flashcard-service/QuizletClient.h"
#include "model/VocabularyKeeper.h"
#include "platform/files/Settings.h"
#include "quiz/QuizTab.h"
#include "statistics/QLXStatisticsController.h"
#include "views/QLXColorTheme.h"

#include <memory>

namespace lexi {

class Installation;

// The program's composition root: creates the application delegate, the main window controller
// and every page in a fixed order, links them, and wakes them in order. A page plugs in here (see
// views/MainWindowPage.h).
class MainInterface
{
public:
    // Everything given must outlive the interface.
    MainInterface(Installation &installation, MoveToApplicationsOffer &moveOffer);

    // The controllers' own preparation, in order.
    void awakeFromNib();

    QLXMainWindowController &mainWindowController() { return m_mainWindowController; }
    AppDelegate &appDelegate() { return m_appDelegate; }
    LexicartaController &vocabularyPage() { return *m_vocabularyPage; }
    QuizTab &quizPage() { return *m_quizPage; }
    QLXStatisticsController &statisticsPage() { return *m_statisticsPage; }
    QLXQuizletController &flashCardServicePage() { return *m_flashCardServicePage; }

private:
    // The word popover's services, for the list's popover and the quizzes' own.
    QLXWordPopoverController::Services wordPopoverServices(Installation &installation);

    ModalWatch m_modalWatch;
    QLXColorTheme m_colorTheme;
    // The main window is made below; the prompt asks for it only when it shows.
    ProgramRatingPrompt m_ratingPrompt;
    Settings m_settings;
    DropBoxSyncStatus m_syncStatus;
    // The list holds the open vocabulary in it; every page reads it there, to the end of the last.
    VocabularyKeeper m_keeper;
    // The pages, which the main window's tab view owns from its construction on.
    LexicartaController *m_vocabularyPage;
    QuizTab *m_quizPage;
    QuizletClient m_quizletClient;
    QLXQuizletController *m_flashCardServicePage;
    QLXStatisticsController *m_statisticsPage;
    QLXPreferencesController *m_preferencesPage;
    InstallationLaunchServices m_launchServices;
    QLXMainWindowController m_mainWindowController;
    AppDelegate m_appDelegate;
};

} // namespace lexi
