#pragma once

#include "analytics/ANClient.h"
#include "model/QLXStorageManager.h"
#include "model/VocabularyServices.h"
#include "platform/ports/AlertPresenter.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/ports/Clock.h"
#include "platform/files/CloudFolder.h"
#include "platform/files/Defaults.h"
#include "platform/ports/FileChooser.h"
#include "platform/ports/FolderChooser.h"
#include "platform/ports/InputSources.h"
#include "platform/linux/NetworkReachability.h"
#include "platform/ports/Workspace.h"
#include "platform/dispatch/Scheduler.h"
#include "sync/DropBoxController.h"
#include "sync/QLXSyncLog.h"

#include <QNetworkAccessManager>
#include <QString>

#include <memory>

namespace lexi {

// What an installation takes from the machine and the desktop. The program passes the real ones
// (the system clock, Qt timers, dialogs, the desktop services); tests pass fakes. Each must
// outlive the installation.
struct InstallationPorts
{
    const Clock &clock;
    dispatch::Scheduler &scheduler;
    AlertPresenter &alerts;
    FileChooser &fileChooser;
    FolderChooser &folderChooser;
    Workspace &workspace;
    InputSources &inputSources;
    const NetworkReachability &network;
};

// One installation of Lexicarta: its folders and settings and the services made from them, the
// storage of vocabulary files, the cloud folder with the synchronisation and its log, and the
// analytics client. Controllers receive what they need from here through their constructors;
// nothing reaches for a process-wide instance, so two installations can live in one test.
class Installation
{
public:
    Installation(ApplicationFolders folders, const QString &defaultsFile, const InstallationPorts &ports);
    ~Installation();

    Installation(const Installation &) = delete;
    Installation &operator=(const Installation &) = delete;

    const InstallationPorts &ports() const { return m_ports; }
    const ApplicationFolders &folders() const { return m_folders; }
    Defaults &defaults() { return m_defaults; }
    const VocabularyServices &services() const { return m_services; }
    QLXStorageManager &storage() { return m_storage; }
    CloudFolder &cloudFolder() { return m_cloudFolder; }
    QLXSyncLog &syncLog() { return m_syncLog; }
    DropBoxController &dropboxController() { return *m_dropboxController; }
    ANClient &analyticsClient() { return m_analyticsClient; }
    // Every request of the main thread goes through this one manager.
    QNetworkAccessManager &network() { return m_network; }

private:
    InstallationPorts m_ports;
    ApplicationFolders m_folders;
    Defaults m_defaults;
    VocabularyServices m_services;
    QLXStorageManager m_storage;
    CloudFolder m_cloudFolder;
    QLXSyncLog m_syncLog;
    ANClient m_analyticsClient;
    QNetworkAccessManager m_network;
    // Last: its queued runs use everything above.
    std::unique_ptr<DropBoxController> m_dropboxController;
};

} // namespace lexi
