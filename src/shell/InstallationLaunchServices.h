#pragma once

#include "StartupCollaborators.h"

#include <future>

namespace lexi {

class Installation;

// Start-up's and quitting's work, done by the installation's services.
class InstallationLaunchServices final : public LaunchServices
{
public:
    explicit InstallationLaunchServices(Installation &installation) : m_installation(installation) {}

    void tidyBackups() override;
    void uploadSyncLog() override;
    void requestSynchronisation() override;
    ANClient *setUpAnalytics(const QString &projectId, const QString &writeKey, const QString &readKey) override;
    void flushSaves() override;
    void saveSyncLog() override;

private:
    Installation &m_installation;
    std::future<void> m_syncLogUpload;
};

// Until the rating prompt and the move offer exist, start-up's calls end here.
class NoRatingPrompt final : public RatingPromptSetup
{
public:
    void configure(const RatingPromptConfiguration &) override {}
};

class NoMoveToApplicationsOffer final : public MoveToApplicationsOffer
{
public:
    void moveToApplicationsFolderIfNecessary() override {}
};

} // namespace lexi
