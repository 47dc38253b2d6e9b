#pragma once

#include "StartupCollaborators.h"

#include <QString>

class QLXMainWindowController;

namespace lexi {
class Defaults;
} // namespace lexi

// Runs the program's start-up and answers the questions of quitting: configures the rating
// prompt, runs the move offer, registers the defaults, starts the backup tidying, the sync-log
// upload and the first synchronisation, sets up the analytics client with this installation's
// identifier and records the start-up events when the learner agreed, and saves the sync log at
// the end.
class AppDelegate
{
public:
    static constexpr QLatin1StringView analyticsProjectId{"3f9a0c71e2d84b56a7c0e1d9"};

    struct Collaborators
    {
        lexi::Defaults &defaults;
        lexi::LaunchServices &services;
        lexi::RatingPromptSetup &ratingPrompt;
        lexi::MoveToApplicationsOffer &moveOffer;
    };

    // Configures the rating prompt, as the class does when it is first used.
    AppDelegate(const Collaborators &collaborators, QLXMainWindowController &mainWindowController);

    // False when the program must end at once (the move offer started a copy in its stead).
    bool applicationWillFinishLaunching();
    void applicationDidFinishLaunching();
    // The "systemInfo" event, when the learner agreed.
    void collectAnalyticsData();

    // The program was started again while running.
    bool applicationShouldHandleReopen();
    bool applicationShouldTerminateAfterLastWindowClosed() const { return true; }
    void applicationWillTerminate();

    QLXMainWindowController &mainWindowController() const { return m_mainWindowController; }

private:
    Collaborators m_collaborators;
    QLXMainWindowController &m_mainWindowController;
    ANClient *m_analyticsClient = nullptr;
};
