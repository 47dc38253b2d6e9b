#pragma once

#include "AppDelegate.h"
#include "EmptyPages.h"
#include "InstallationLaunchServices.h"
#include "ModalWatch.h"
#include "QLXMainWindowController.h"

namespace lexi {

class Installation;

// The program's composition root: creates the application delegate, the main window controller
// and every page controller in a fixed order, links them, and wakes them in order. A page
// plugs in here (see MainWindowPages.h).
class MainInterface
{
public:
    // Everything given must outlive the interface.
    MainInterface(Installation &installation, RatingPrompt &ratingPrompt, MoveToApplicationsOffer &moveOffer);

    // The controllers' own preparation, in order.
    void awakeFromNib();

    QLXMainWindowController &mainWindowController() { return m_mainWindowController; }
    AppDelegate &appDelegate() { return m_appDelegate; }

private:
    ModalWatch m_modalWatch;
    EmptyVocabularyListPage m_vocabularyPage;
    EmptyQuizPage m_quizPage;
    EmptyFlashCardServicePage m_flashCardServicePage;
    EmptyStatisticsPage m_statisticsPage;
    EmptyPreferencesPage m_preferencesPage;
    InstallationLaunchServices m_launchServices;
    QLXMainWindowController m_mainWindowController;
    AppDelegate m_appDelegate;
};

} // namespace lexi
