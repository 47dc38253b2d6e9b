#pragma once

#include "sync/DropBoxController.h"
#include "sync/QLXSyncLog.h"

#include "model/Lexicarta.h"
#include "model/QLXStorageManager.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/CloudFolder.h"
#include "platform/files/Defaults.h"
#include "platform/files/Settings.h"
#include "support/FakeClock.h"
#include "support/FakeNetworkReachability.h"
#include "support/ManualScheduler.h"
#include "support/RecordingAlertPresenter.h"
#include "support/RecordingWorkspace.h"
#include "support/ScriptedFolderChooser.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

using namespace Qt::StringLiterals;

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

// Keyboard input sources (none) that run a block the next time they are listed. Loading a
// vocabulary lists them, so a test can change files while a synchronisation works on them.
class HookedInputSources final : public InputSources
{
public:
    std::optional<QList<InputSource>> inputSourceList(bool) override;
    std::optional<InputSource> currentKeyboardInputSource() override { return std::nullopt; }
    bool selectInputSource(const QString &) override { return false; }

    // Runs once, at the next listing.
    void runAtNextListing(std::function<void()> block);

private:
    std::mutex m_mutex;
    std::function<void()> m_block;
};

// A word as a test writes it: the foreign word, and its creationID, by which versions of one
// vocabulary tell their words apart (0: the one the vocabulary gives it).
struct TestWord
{
    QString foreign;
    qint64 creationID = 0;
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
    // A new start of the program: a new synchronisation on the same files and settings.
    void restart();

    // "French - English" with those words.
    std::shared_ptr<Lexicarta> french(const QList<TestWord> &words, qint64 version, bool needsSync);
    // Adds the word; its your-language side is "your " + the foreign word.
    static void addWord(Lexicarta &vocabulary, const TestWord &word);
    // The vocabulary as the file it is saved to.
    QByteArray fileOf(const Lexicarta &vocabulary);
    // What the program does after a change: marks the vocabulary changed, marks its file and
    // saves it.
    void saveChanged(Lexicarta &vocabulary);
    // The vocabulary in the vocabularies folder; nothing when it does not load.
    std::shared_ptr<Lexicarta> load(const QString &name = u"French - English.qlxv"_s) const;
    // The foreign words of the vocabulary at `path`, sorted; {"<no vocabulary>"} when it does
    // not load.
    QStringList foreignWords(const QString &path) const;

    Settings settings() { return Settings(defaults); }
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
    RecordingAlertPresenter alerts;
    HookedInputSources inputSources;
    VocabularyServices services{clock, alerts, inputSources};
    RecordingWorkspace workspace;
    QLXStorageManager storage{folders, services, workspace};
    ScriptedFolderChooser chooser;
    RecordingSyncDelegate delegate;
    // Made once the installation is linked and switched on.
    std::unique_ptr<DropBoxController> controller;

private:
    DropBoxController::Environment environment(const QString &deviceName);

    QString m_deviceName;
};

// The bytes of a file; "<missing>" when it cannot be read.
QByteArray contents(const QString &path);
void put(const QString &path, const QByteArray &data);

} // namespace lexi::test
