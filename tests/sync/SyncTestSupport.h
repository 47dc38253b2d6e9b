#pragma once

#include "sync/DropBoxController.h"
#include "sync/QLXSyncLog.h"

#include "platform/ApplicationFolders.h"
#include "platform/CloudFolder.h"
#include "platform/Defaults.h"
#include "support/FakeClock.h"
#include "support/FakeNetworkReachability.h"
#include "support/ManualScheduler.h"
#include "support/ScriptedFolderChooser.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <memory>

namespace lexi::test {

// Counts what the controller tells its delegate.
class RecordingSyncDelegate final : public DropboxControllerDelegate
{
public:
    void dropboxControllerDidFinishSync() override { ++finishedSyncs; }
    void dropboxControllerDidLinkSuccessfully() override { ++links; }
    void dropboxControllerFailedToLink() override { ++failedLinks; }

    std::atomic<int> finishedSyncs = 0;
    std::atomic<int> links = 0;
    std::atomic<int> failedLinks = 0;
};

// One installation of the program: its own data folder, settings, clock and network, and a
// synchronisation linked to `cloudFolder` and switched on. Several of them share a cloud folder
// as the learner's machines do.
class SyncInstallation
{
public:
    SyncInstallation(const QString &cloudFolder, const QString &deviceName);
    ~SyncInstallation();

    SyncInstallation(const SyncInstallation &) = delete;
    SyncInstallation &operator=(const SyncInstallation &) = delete;

    // One synchronisation now (time enough passes first for the throttle to let it run); the
    // lines of the records it added (see recordLines).
    QStringList sync();
    // Lets the main thread's queued calls (the delegate's) run.
    static void deliverMainThreadCalls();

    QString vocabularyPath(const QString &name) const;
    QStringList vocabularyFiles() const;
    QStringList backupFiles() const;
    // The sync log's records, in order, as "language: message", or "language: error" where
    // there was one.
    QStringList recordLines() const;
    QList<QLXSyncStatus> records() const { return log.fullLog(); }

    QTemporaryDir root;
    FakeClock clock;
    ManualScheduler scheduler{clock};
    FakeNetworkReachability network;
    Defaults defaults;
    ApplicationFolders folders;
    CloudFolder cloud{defaults, scheduler};
    QLXSyncLog log{{&folders, &clock}};
    ScriptedFolderChooser chooser;
    RecordingSyncDelegate delegate;
    // Made once the installation is linked and switched on.
    std::unique_ptr<DropBoxController> controller;

private:
    DropBoxController::Environment environment(const QString &deviceName);
};

// The bytes of a file; "<missing>" when it cannot be read.
QByteArray contents(const QString &path);
void put(const QString &path, const QByteArray &data);

} // namespace lexi::test
