#include "Installation.h"

namespace lexi {

namespace {

DropBoxController::Environment syncEnvironment(const ApplicationFolders &folders, Defaults &defaults,
                                               CloudFolder &cloudFolder, QLXStorageManager &storage,
                                               QLXSyncLog &syncLog, const InstallationPorts &ports)
{
    DropBoxController::Environment environment;
    environment.folders = &folders;
    environment.defaults = &defaults;
    environment.cloudFolder = &cloudFolder;
    environment.storage = &storage;
    environment.syncLog = &syncLog;
    environment.scheduler = &ports.scheduler;
    environment.network = &ports.network;
    environment.clock = &ports.clock;
    return environment;
}

ANClient::Environment analyticsEnvironment(const ApplicationFolders &folders, Defaults &defaults,
                                           const InstallationPorts &ports)
{
    ANClient::Environment environment = ANClient::Environment::forInstallation(folders, defaults);
    environment.reachability = &ports.network;
    environment.clock = &ports.clock;
    return environment;
}

} // namespace

Installation::Installation(ApplicationFolders folders, const QString &defaultsFile, const InstallationPorts &ports)
    : m_ports(ports),
      m_folders(std::move(folders)),
      m_defaults(defaultsFile),
      m_services{ports.clock, ports.alerts, ports.inputSources},
      m_storage(m_folders, m_services, ports.workspace),
      m_cloudFolder(m_defaults, ports.scheduler),
      m_syncLog({&m_folders, &ports.clock}),
      m_analyticsClient(analyticsEnvironment(m_folders, m_defaults, ports)),
      m_dropboxController(std::make_unique<DropBoxController>(
          syncEnvironment(m_folders, m_defaults, m_cloudFolder, m_storage, m_syncLog, ports)))
{
}

Installation::~Installation()
{
    m_dropboxController->finishPendingWork();
    m_dropboxController.reset();
}

} // namespace lexi
