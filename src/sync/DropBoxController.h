#pragma once

#include "DropboxControllerDelegate.h"
#include "Lineage.h"
#include "MarkedFiles.h"
#include "QLXSyncStatus.h"
#include "SyncThrottle.h"

#include "model/SyncRequests.h"

#include "platform/dispatch/DelayedBlock.h"
#include "platform/dispatch/Scheduler.h"
#include "platform/dispatch/SerialQueue.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/CloudFolder.h"
#include "platform/linux/MachineName.h"
#include "platform/linux/NetworkReachability.h"
#include "platform/ports/Clock.h"

#include <QDir>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>

class Lexicarta;
class QLXStorageManager;
class QLXSyncLog;

namespace lexi {
class ApplicationFolders;
class Defaults;
class FolderChooser;
} // namespace lexi

// Keeps the vocabulary files of the local "Vocabularies" folder and those at the top of the
// learner's cloud folder (see lexi::CloudFolder) in step. A synchronisation runs in two phases:
// every cloud file is brought down, or compared with its local twin by version and merged word
// by word when both changed; then every local file that the cloud lacks, or that was marked as
// changed, is uploaded. Each file's outcome goes into the sync log. The controller also uploads
// this machine's sync log files into a cloud folder of its own, "Logs/<machine name>".
//
// Synchronisation is switched on by the setting Settings::enableDropbox. The program marks every
// vocabulary it saves and asks for a synchronisation; requests are throttled. Runs and log
// uploads go one after another through the controller's own queue, so they never overlap; a
// file that the program or the cloud client changes while a run works on it is left for the
// next run. No file that holds words is removed before a copy that loads is kept.
class DropBoxController final : public lexi::SyncRequests
{
public:
    struct Environment
    {
        // All of them must outlive the controller.
        const lexi::ApplicationFolders *folders = nullptr;
        lexi::Defaults *defaults = nullptr;
        lexi::CloudFolder *cloudFolder = nullptr;
        QLXStorageManager *storage = nullptr;
        QLXSyncLog *syncLog = nullptr;
        // Runs the follow-up synchronisations after a change of the cloud folder.
        lexi::dispatch::Scheduler *scheduler = nullptr;
        const lexi::NetworkReachability *network = &lexi::NetworkReachability::system();
        const lexi::Clock *clock = &lexi::Clock::system();
        // The name of this machine's log folder in the cloud.
        QString deviceName = lexi::machineName();
        // Where linking looks for the cloud client's folder.
        QString homeFolder = QDir::homePath();
    };

    // Log files kept in this machine's cloud log folder.
    static constexpr qsizetype maxNumberOfLogFiles = 50;
    // How long a cloud vocabulary file may stay empty (the client may still be filling it)
    // before it is removed.
    static constexpr std::chrono::seconds emptyFileGracePeriod{60};
    // How long a temporary file of ours may stay in the vocabularies, the backups or the cloud
    // folder before a run takes it for one left by a process killed while writing, and removes it.
    static constexpr std::chrono::seconds staleTemporaryFileAge{300};

    // What tells one content of a cloud file from another (SHA-256, in hexadecimal): this
    // installation remembers it for each file as it last downloaded or uploaded it.
    static QString fingerprint(const QByteArray &data);

    // The installation the shared controller works for; set once at start-up, before any use.
    static void setSharedEnvironment(Environment environment);
    // The shared controller, made on first need; nothing before the environment is set.
    static DropBoxController *sharedManager();

    explicit DropBoxController(Environment environment);
    ~DropBoxController() override;

    DropBoxController(const DropBoxController &) = delete;
    DropBoxController &operator=(const DropBoxController &) = delete;

    // The main window's folder chooser, with which linking asks for the cloud folder.
    void setWindow(lexi::FolderChooser *window);
    void setDelegate(DropboxControllerDelegate *delegate);

    // Starts watching the cloud folder for changes, when one is linked.
    void createFileSystem();
    // Asks the learner for the cloud folder, unless one is linked. Main thread.
    void linkWithDropbox();
    void linkCompleted(bool linked);
    // On: switches on when a folder is linked, else starts linking. Off: switches off and
    // unlinks.
    void setIsEnabled(bool enabled);
    bool isEnabled() const;
    bool isLinked() const;

    // Queues a synchronisation and returns at once.
    void syncWithDropbox() override;
    // One synchronisation on the calling thread, after any that runs already.
    void syncWithDropboxBlocking();
    // Deletes the cloud file of that language (the file name without extension), if there is one.
    void deleteLanguageWithName(const QString &name);
    // Notes that the vocabulary's file changed, so that the next run uploads it.
    void markFileAsNeedsSync(const Lexicarta &vocabulary) override;
    // A vocabulary file in the cloud folder changed: runs two synchronisations, 5 s and 15 s
    // from now, unless they are waiting already.
    void dropboxFolderDidChange();
    // Uploads this machine's local sync log files that its cloud log folder lacks.
    void syncSyncLogToDropbox();
    // Keeps the maxNumberOfLogFiles log files with the greatest numbers in a cloud folder.
    void tidyLogFolder(const QString &cloudPath);
    const QString &deviceName() const { return m_environment.deviceName; }

    // Waits until every queued synchronisation and log upload has run.
    void finishPendingWork();

private:
    // A version of a vocabulary file made for the cloud: the file, and its mark.
    struct MadeVersion
    {
        QByteArray data;
        lexi::VersionMark mark;
    };
    // A language that the first phase of a run brought in step, or made a new version of.
    struct SyncedFile
    {
        // The cloud file as the first phase read it, and the lineage it holds.
        lexi::FileStamp dropbox;
        QStringList dropboxLineage;
        // The local file as the first phase left it.
        lexi::FileStamp local;
        // The new version for both sides: the second phase uploads it, then puts it in place of
        // the local file. Nothing when the local file is in step already.
        std::optional<MadeVersion> update;
    };
    // What the first phase did with each cloud file that is a local file too: brought the two in
    // step, or why not.
    using SyncedFiles = QHash<QString, lexi::Result<SyncedFile>>;

    // What blocks queued for the main thread reach the controller and its delegate through;
    // emptied when the controller goes.
    struct MainThreadLink
    {
        std::atomic<DropBoxController *> controller = nullptr;
        std::atomic<DropboxControllerDelegate *> delegate = nullptr;
    };

    bool mayRun(lexi::Clock::Duration now);
    // Compares and merges one language: the local file at `localPath` with the cloud copy
    // downloaded to `dropboxCopy` (its content `dropboxData`), whose cloud file had `dropboxStamp`.
    // Nothing when the two could not be brought in step.
    std::optional<SyncedFile> syncLocalVocabulary(const QString &localPath, const QString &dropboxCopy,
                                                  const QByteArray &dropboxData, const lexi::FileStamp &dropboxStamp,
                                                  QLXSyncStatus &status);
    // Puts the cloud's version, `dropboxData`, in place of the local file, unless they are the
    // same already. Nothing when the local file changed since `synced.local`.
    std::optional<SyncedFile> takeDropboxVersion(const QString &localPath, const QByteArray &dropboxData,
                                                 SyncedFile synced, QLXSyncStatus &status);
    // Notes the content of the cloud file `name` as this installation downloaded it, with the
    // lineage it holds.
    void rememberDropboxFile(const QString &name, const QByteArray &data, const lexi::Lineage &lineage);
    // The mark for a new version of the file `name`, made from versions with the lineages
    // `madeFrom`: the next step of this controller's run for that file, if they hold its last
    // step, else the first of a new run.
    lexi::VersionMark nextMark(const QString &name, const QList<lexi::Lineage> &madeFrom) const;
    // `vocabulary` as the version of the file `name` to upload, made from versions with those
    // lineages; it takes its lineage.
    lexi::Result<MadeVersion> makeVersion(Lexicarta &vocabulary, const QString &name,
                                          const QList<lexi::Lineage> &madeFrom);
    // Notes `version` as the cloud file `name`, as this installation uploaded it.
    void didUpload(const QString &name, const MadeVersion &version);
    // Removes what writes of a killed process left in the vocabularies, the backups and the cloud
    // folder.
    void removeStaleTemporaryFiles();
    // Merges every conflicted copy in the vocabularies folder and at the top of the cloud folder
    // into the vocabulary it is a copy of, marks that for upload and moves the copy into the
    // backups folder, as it was.
    void takeInConflictedCopies(const QList<lexi::CloudFolder::Entry> &entries);
    QLXSyncStatus takeInLocalCopy(const QString &path);
    QLXSyncStatus takeInDropboxCopy(const QString &name);
    // Merges the conflicted copy `name`, read from `path`, into its vocabulary here (a copy of a
    // vocabulary this installation lacks becomes that vocabulary). Whether the copy may go to the
    // backups: it was taken in, or it does not load and is kept there untouched.
    bool takeInConflictedCopy(const QString &path, const QString &name, QLXSyncStatus &status);
    // Keeps `data`, the content of the cloud file `name` when it had `dropboxStamp`, in the backups
    // folder, then removes that file from the cloud unless it changed meanwhile.
    lexi::Result<> retireDropboxFile(const QString &name, const QByteArray &data, const lexi::FileStamp &dropboxStamp);
    // Moves a local file that does not load into the backups folder, unless it changed since it
    // had `stamp`.
    void retireLocalFile(const QString &localPath, const lexi::FileStamp &stamp);
    // Puts `data` in place of the local file at `localPath` while that still has `expected`,
    // after copying what stands there into the backups folder.
    lexi::Result<> replaceLocalFile(const QString &localPath, const QByteArray &data, const lexi::FileStamp &expected);
    // A new path in the backups folder for a copy of the file `name` made now.
    QString backupPath(const QString &name) const;
    void syncDropboxToLocal(const QList<lexi::CloudFolder::Entry> &entries, const QStringList &localNames,
                            SyncedFiles &synced);
    QLXSyncStatus syncDropboxFile(const QString &name, const QStringList &localNames, SyncedFiles &synced);
    void syncLocalToDropbox(const QStringList &localPaths, const QList<lexi::CloudFolder::Entry> &entries,
                            const SyncedFiles &synced, lexi::Clock::Duration runStart);
    QLXSyncStatus syncLocalFile(const QString &localPath, bool isOnDropbox, const SyncedFiles &synced,
                                lexi::Clock::Duration runStart);
    // Uploads a local file that the cloud lacks.
    lexi::Result<> uploadNewFile(const QString &localPath, QLXSyncStatus &status);
    // Uploads a changed file over its cloud copy: the new version the first phase made (see
    // `firstPhase`), else the local file as the first phase left it.
    lexi::Result<> uploadChangedFile(const QString &localPath, const lexi::Result<SyncedFile> *firstPhase,
                                     QLXSyncStatus &status);
    void tellDelegate(void (DropboxControllerDelegate::*call)());

    const Environment m_environment;
    std::atomic<bool> m_isEnabled;
    std::atomic<lexi::FolderChooser *> m_window = nullptr;
    // Main thread. Whether the folder chooser is open: the calls it lets run while the learner
    // chooses must not open another.
    bool m_isLinking = false;
    // How many times the folder chooser was closed. Link attempts that were queued before the
    // last time are dropped: that answer stands for them.
    std::atomic<quint64> m_linkDialogsClosed = 0;
    const std::shared_ptr<MainThreadLink> m_mainThread = std::make_shared<MainThreadLink>();

    lexi::MarkedFiles m_localFileNamesNeedingSync;
    lexi::SyncThrottle m_throttle;
    std::atomic<bool> m_waitForSyncToComplete = false;

    // Held for the whole of a run or a log upload.
    std::mutex m_runMutex;
    // When each cloud file that is empty was first found so; under m_runMutex.
    QHash<QString, lexi::Clock::Duration> m_emptySince;
    // The mark of the version of each file that this controller last uploaded; under m_runMutex.
    QHash<QString, lexi::VersionMark> m_lastMade;

    std::mutex m_followUpMutex;
    lexi::dispatch::DelayedBlock m_firstFollowUp;
    lexi::dispatch::DelayedBlock m_secondFollowUp;

    // Last, so that queued work finishes before anything it uses goes away.
    lexi::dispatch::SerialQueue m_queue{"lexicarta.sync"};
};
