#include "InstallationLaunchServices.h"

#include "Installation.h"
#include "MoveToApplications.h"
#include "QtMoveOfferPresenter.h"

#include "platform/files/Settings.h"


namespace lexi {

bool ProgramMoveOffer::moveToApplicationsFolderIfNecessary()
{
    Settings settings(m_installation.defaults());
    QtMoveOfferPresenter presenter;
    return lexi::moveToApplicationsFolderIfNecessary(currentEnvironment(), settings, presenter,
                                                     m_installation.ports().alerts) != MoveOutcome::Relaunching;
}

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
