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

// The offer to copy the program into the desktop's programs folder, in its own dialogs.
class ProgramMoveOffer final : public MoveToApplicationsOffer
{
public:
    explicit ProgramMoveOffer(Installation &installation) : m_installation(installation) {}
    bool moveToApplicationsFolderIfNecessary() override;

private:
    Installation &m_installation;
};

// Where the program must not offer to move itself (tests, benchmarks).
class NoMoveToApplicationsOffer final : public MoveToApplicationsOffer
{
public:
    bool moveToApplicationsFolderIfNecessary() override { return true; }
};

} // namespace lexi
