#pragma once

#include <QString>

class ANClient;

namespace lexi {

// How often the rating prompt waits before it asks.
struct RatingPromptConfiguration
{
    float daysUntilPrompt = 0;
    unsigned usesUntilPrompt = 0;
    unsigned eventsUntilPrompt = 0;
    bool promptAtLaunch = false;
    bool previewMode = false;
};

// What start-up asks of the rating prompt.
class RatingPromptSetup
{
public:
    virtual ~RatingPromptSetup() = default;

    virtual void configure(const RatingPromptConfiguration &configuration) = 0;
};

// The offer to move the program where the desktop keeps its programs.
class MoveToApplicationsOffer
{
public:
    virtual ~MoveToApplicationsOffer() = default;

    // False when the program must end at once: a copy in the new place starts in its stead.
    virtual bool moveToApplicationsFolderIfNecessary() = 0;
};

// The work start-up and quitting hand to the installation's services.
class LaunchServices
{
public:
    virtual ~LaunchServices() = default;

    // Deletes old backups in the background.
    virtual void tidyBackups() = 0;
    // Uploads this machine's sync log files in the background.
    virtual void uploadSyncLog() = 0;
    virtual void requestSynchronisation() = 0;
    // Sets up the analytics client for the project; nothing when that fails.
    virtual ANClient *setUpAnalytics(const QString &projectId, const QString &writeKey, const QString &readKey) = 0;
    // At quitting: waits until every save is written.
    virtual void flushSaves() = 0;
    // At quitting: writes the sync log and starts its upload, lets the synchronisation finish.
    virtual void saveSyncLog() = 0;
};

} // namespace lexi
