#include "InstallationLaunchServices.h"

#include "Installation.h"


namespace lexi {

void InstallationLaunchServices::tidyBackups()
{
    m_installation.storage().tidyBackups();
}

void InstallationLaunchServices::uploadSyncLog()
{
    DropBoxController *controller = &m_installation.dropboxController();
    m_syncLogUpload = std::async(std::launch::async, [controller] { controller->syncSyncLogToDropbox(); });
}

void InstallationLaunchServices::requestSynchronisation()
{
    m_installation.dropboxController().syncWithDropbox();
}

ANClient *InstallationLaunchServices::setUpAnalytics(const QString &projectId, const QString &writeKey,
                                                     const QString &readKey)
{
    ANClient::disableGeoLocation();
    ANClient &client = m_installation.analyticsClient();
    if (!client.initWithProjectId(projectId, writeKey, readKey))
        return nullptr;
    return &client;
}

void InstallationLaunchServices::flushSaves()
{
    m_installation.storage().flushSaves();
}

void InstallationLaunchServices::saveSyncLog()
{
    m_installation.syncLog().saveLogAndClear();
    if (m_syncLogUpload.valid())
        m_syncLogUpload.wait();
    m_installation.dropboxController().finishPendingWork();
}

} // namespace lexi
