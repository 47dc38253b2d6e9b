#include "DropBoxController.h"

#include "Lineage.h"
#include "QLXSyncLog.h"
#include "Reachability.h"

#include "logging/QLXLogMacros.h"
#include "model/AvailableLanguages.h"
#include "model/Lexicarta.h"
#include "model/QLXStorageManager.h"
#include "model/VocabularyFileName.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/RegularFile.h"
#include "platform/files/Settings.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

using namespace Qt::StringLiterals;
using lexi::CloudFolder;
using Action = QLXSyncStatus::SyncAction;
using Direction = QLXSyncStatus::SyncDirection;

// One synchronisation run: its first phase brings the cloud's vocabularies here, its second
// carries the local ones to the cloud, merging where both changed.

namespace {

constexpr int qlxLogLevel = QLXLogLevelVerbose;

// The lineage of the version that `vocabulary` is, or was made from.
lexi::Lineage lineageOf(const Lexicarta &vocabulary)
{
    return lexi::Lineage(vocabulary.lineage());
}

} // namespace

QString DropBoxController::fingerprint(const QByteArray &data)
{
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex());
}


void DropBoxController::syncWithDropbox()
{
    m_queue.async([this] { syncWithDropboxBlocking(); });
}

bool DropBoxController::mayRun(lexi::Clock::Duration now)
{
    if (!isLinked()) {
        if (isEnabled())
            setIsEnabled(true);
        return false;
    }
    if (!isEnabled() || !m_throttle.admit(now))
        return false;
    const auto reachability = Reachability::reachabilityForInternetConnection(*m_environment.network);
    if (reachability.currentReachabilityStatus() == Reachability::notReachable) {
        QLXLogInfo("DB > sync > NO INTERNET > abort synching");
        return false;
    }
    return true;
}

void DropBoxController::syncWithDropboxBlocking()
{
    std::lock_guard run(m_runMutex);
    const lexi::Clock::Duration runStart = m_environment.clock->monotonicNow();
    if (!mayRun(runStart))
        return;
    m_environment.syncLog->startRun();
    // The program's saves still on their way to disk land first, so that this run reads them.
    m_environment.storage->flushSaves();
    removeStaleTemporaryFiles();

    const auto entries = m_environment.cloudFolder->listFolder({});
    if (!entries) {
        QLXLogError("DB > sync > could not list db %@", entries.error());
        return;
    }
    QLXLogVerbose("------");
    takeInConflictedCopies(*entries);

    // Taken once: files that the first phase brings down are not looked at in the second.
    const QStringList localPaths = lexi::loadAllAvailableLanguagePaths(*m_environment.folders);
    QStringList localNames;
    for (const QString &path : localPaths)
        localNames.append(QFileInfo(path).fileName());

    QLXLogVerbose("DB > sync db to local");
    SyncedFiles synced;
    syncDropboxToLocal(*entries, localNames, synced);
    QDir(m_environment.folders->downloadFolderPath()).removeRecursively();

    QLXLogVerbose("DB > sync local to db");
    syncLocalToDropbox(localPaths, *entries, synced, runStart);
    // Where the versions uploaded were written.
    QDir(m_environment.folders->downloadFolderPath()).removeRecursively();

    tellDelegate(&DropboxControllerDelegate::dropboxControllerDidFinishSync);
    m_environment.syncLog->saveLogOnIntervalAndClear();
}

void DropBoxController::syncDropboxToLocal(const QList<CloudFolder::Entry> &entries, const QStringList &localNames,
                                           SyncedFiles &synced)
{
    for (const CloudFolder::Entry &entry : entries) {
        // Conflicted copies were taken in before.
        if (entry.isFolder || !lexi::isVocabularyFileName(entry.name) || lexi::isConflictedCopy(entry.name))
            continue;
        const QLXSyncStatus status = syncDropboxFile(entry.name, localNames, synced);
        // So that the second phase can tell why it does not upload the file.
        if (localNames.contains(entry.name) && !synced.contains(entry.name))
            synced.insert(entry.name, lexi::Result<SyncedFile>::failure(
                                          status.error().value_or(status.message().value_or(QString()))));
        m_environment.syncLog->addStatus(status);
    }
}

QLXSyncStatus DropBoxController::syncDropboxFile(const QString &name, const QStringList &localNames,
                                                 SyncedFiles &synced)
{
    CloudFolder &cloud = *m_environment.cloudFolder;
    auto status = QLXSyncStatus::statusWithLanguage(lexi::withoutVocabularyExtension(name), -1, -1,
                                                    Direction::dropboxToLocal, *m_environment.clock);
    const QString localPath = m_environment.folders->vocabularyFolderPath() + u'/' + name;
    const bool isLocal = localNames.contains(name);
    if (lexi::Settings(*m_environment.defaults).isLanguageDeleted(lexi::withoutVocabularyExtension(name)) && !isLocal) {
        status.setSyncAction(Action::skipped);
        status.setMessage(u"skipped - recreate language locally to sync it"_s);
        return status;
    }

    const auto stamp = cloud.stampOfFile(name);
    if (!stamp) {
        QLXLogError("DB > sync > could not open db file %@", stamp.error());
        status.fail(u"could not open db file %1"_s.arg(stamp.error()));
        return status;
    }
    const auto data = cloud.readFile(name);
    if (!data) {
        QLXLogError("DB > sync > could not read db file %@", data.error());
        status.fail(u"could not read db file %1"_s.arg(data.error()));
        return status;
    }
    if (data->isEmpty()) {
        // The client may not have filled it yet.
        QLXLogError("DB > sync > db file is empty %@", name);
        const lexi::Clock::Duration now = m_environment.clock->monotonicNow();
        if (!m_emptySince.contains(name))
            m_emptySince.insert(name, now);
        if (now - m_emptySince.value(name) < emptyFileGracePeriod) {
            status.fail(u"db file is empty > wait"_s);
            return status;
        }
        m_emptySince.remove(name);
        cloud.deletePath(name, *stamp);
        status.fail(u"db file is empty > delete"_s);
        return status;
    }
    m_emptySince.remove(name);

    const QString copy = m_environment.folders->downloadFolderPath() + u'/' + name;
    if (const auto written = lexi::writeFileAtomically(copy, *data); !written) {
        QLXLogError("DB > sync > could not write download %@", written.error());
        status.fail(u"could not write download %1"_s.arg(written.error()));
        return status;
    }

    if (!isLocal) {
        QLXLogVerbose("    lang not local > download (%@)", name);
        status.setMessage(u"does not exist locally > add"_s);
        // A file that does not load would only stand in for the language here.
        const std::shared_ptr<Lexicarta> downloaded = m_environment.storage->vocabularyFromFile(copy);
        if (!downloaded) {
            QLXLogWarn("DB > sync > could not load db vocabulary %@", copy);
            status.fail(u"sync could not load db vocabulary %1"_s.arg(copy));
            retireDropboxFile(name, *data, *stamp);
            return status;
        }
        // Something that appeared there since the listing is left for the next run.
        if (const auto written = lexi::writeFileAtomically(localPath, *data, lexi::NoFile()); !written) {
            QLXLogError("DB > sync > could not create local file %@", written.error());
            status.fail(u"could not create local file %1"_s.arg(written.error()));
            return status;
        }
        rememberDropboxFile(name, *data, lineageOf(*downloaded));
        status.setSyncAction(Action::pulled);
        return status;
    }

    QLXLogVerbose("    exists local > sync (%@)", name);
    status.setMessage(u"exists locally > sync"_s);
    if (std::optional<SyncedFile> file = syncLocalVocabulary(localPath, copy, *data, *stamp, status))
        synced.insert(name, std::move(*file));
    return status;
}

void DropBoxController::syncLocalToDropbox(const QStringList &localPaths,
                                           const QList<CloudFolder::Entry> &entries, const SyncedFiles &synced,
                                           lexi::Clock::Duration runStart)
{
    for (const QString &path : localPaths) {
        const QString name = QFileInfo(path).fileName();
        // Files that the first phase removed still count.
        const bool isOnDropbox = std::any_of(entries.begin(), entries.end(), [&](const CloudFolder::Entry &entry) {
            return entry.name == name;
        });
        m_environment.syncLog->addStatus(syncLocalFile(path, isOnDropbox, synced, runStart));
    }
}

QLXSyncStatus DropBoxController::syncLocalFile(const QString &localPath, bool isOnDropbox,
                                               const SyncedFiles &synced, lexi::Clock::Duration runStart)
{
    const QString name = QFileInfo(localPath).fileName();
    auto status = QLXSyncStatus::statusWithLanguage(lexi::withoutVocabularyExtension(name), -1, -1,
                                                    Direction::localToDropbox, *m_environment.clock);
    // The mark is taken now, so that a change marked while the file goes up is kept for the next
    // run; an upload that does not happen puts it back.
    const bool wasMarked = m_localFileNamesNeedingSync.take(name);
    if (isOnDropbox && !wasMarked) {
        status.setMessage(u"already synched"_s);
        return status;
    }
    const auto found = synced.constFind(name);
    const lexi::Result<> uploaded = isOnDropbox
        ? uploadChangedFile(localPath, found == synced.constEnd() ? nullptr : &*found, status)
        : uploadNewFile(localPath, status);
    if (uploaded) {
        status.setSyncAction(Action::pushed);
        m_throttle.didPush(runStart);
    } else {
        status.fail(uploaded.error());
        if (wasMarked)
            m_localFileNamesNeedingSync.mark(name);
    }
    return status;
}

lexi::Result<> DropBoxController::uploadNewFile(const QString &localPath, QLXSyncStatus &status)
{
    const QString name = QFileInfo(localPath).fileName();
    QLXLogVerbose("    not on db -> upload %@", name);
    status.setMessage(u"not on db -> upload"_s);
    if (const auto data = lexi::readRegularFile(localPath); !data) {
        QLXLogError("DB > sync > could not read local file %@", data.error());
        return lexi::Result<>::failure(u"could not read local file %1"_s.arg(data.error()));
    }
    // A damaged file would go to every other machine; here it stays, as the only copy.
    const std::shared_ptr<Lexicarta> local = m_environment.storage->vocabularyFromFile(localPath);
    if (!local) {
        QLXLogWarn("DB > sync > could not load local vocabulary %@", localPath);
        return lexi::Result<>::failure(u"sync could not load local vocabulary %1"_s.arg(localPath));
    }
    local->setNeedsSync(false);
    const auto version = makeVersion(*local, name, {lineageOf(*local)});
    if (!version)
        return lexi::Result<>::failure(version.error());
    // Fails, and leaves it, when another machine put a file there meanwhile.
    if (const auto created = m_environment.cloudFolder->createFile(name, version->data); !created) {
        QLXLogError("DB > sync > could not create db file %@", created.error());
        return lexi::Result<>::failure(u"could not create db file %1"_s.arg(created.error()));
    }
    didUpload(name, *version);
    return {};
}

lexi::Result<> DropBoxController::uploadChangedFile(const QString &localPath,
                                                    const lexi::Result<SyncedFile> *firstPhase,
                                                    QLXSyncStatus &status)
{
    CloudFolder &cloud = *m_environment.cloudFolder;
    const QString name = QFileInfo(localPath).fileName();
    QLXLogVerbose("    modified since downloaded -> upload %@", name);
    status.setMessage(u"modified -> upload"_s);
    // Only what the first phase brought in step goes up, and only while neither copy changed
    // since: a change of either is left for the next run, which compares the versions again.
    if (firstPhase && !*firstPhase) {
        QLXLogVerbose("    not in step -> next sync %@: %@", name, firstPhase->error());
        return lexi::Result<>::failure(u"%1 -> next sync"_s.arg(firstPhase->error()));
    }
    const auto dropboxStamp = cloud.stampOfFile(name);
    if (!dropboxStamp) {
        QLXLogError("DB > sync > could not open db file %@", dropboxStamp.error());
        return lexi::Result<>::failure(u"could not open db file %1"_s.arg(dropboxStamp.error()));
    }
    const SyncedFile *synced = firstPhase ? &**firstPhase : nullptr;
    if (!synced || synced->dropbox != *dropboxStamp || lexi::fileStamp(localPath) != synced->local) {
        QLXLogVerbose("    changed while synching -> next sync %@", name);
        return lexi::Result<>::failure(u"changed while synching -> next sync"_s);
    }
    // The local file, in step with the cloud's, goes up as a version of its own, and stays as it is.
    std::optional<MadeVersion> local;
    if (!synced->update) {
        const std::shared_ptr<Lexicarta> vocabulary = m_environment.storage->vocabularyFromFile(localPath);
        if (!vocabulary) {
            QLXLogWarn("DB > sync > could not load local vocabulary %@", localPath);
            return lexi::Result<>::failure(u"sync could not load local vocabulary %1"_s.arg(localPath));
        }
        vocabulary->setNeedsSync(false);
        auto version =
            makeVersion(*vocabulary, name, {lineageOf(*vocabulary), lexi::Lineage(synced->dropboxLineage)});
        if (!version)
            return lexi::Result<>::failure(version.error());
        local = std::move(*version);
    }
    const MadeVersion &version = synced->update ? *synced->update : *local;
    if (const auto written = cloud.replaceFile(name, version.data, *dropboxStamp); !written) {
        QLXLogError("DB > sync > could not write db file %@", written.error());
        return lexi::Result<>::failure(u"could not write db file %1"_s.arg(written.error()));
    }
    didUpload(name, version);
    // The new version replaces the local file only once it is in the cloud, so that a run that
    // could not upload it leaves the local file to be compared again.
    if (!synced->update)
        return {};
    if (const auto written = replaceLocalFile(localPath, version.data, synced->local); !written) {
        QLXLogWarn("DB > sync > could not replace %@: %@", localPath, written.error());
        status.setError(u"local file changed while synching -> next sync"_s);
    }
    return {};
}

std::optional<DropBoxController::SyncedFile> DropBoxController::takeDropboxVersion(const QString &localPath,
                                                                                   const QByteArray &dropboxData,
                                                                                   SyncedFile synced,
                                                                                   QLXSyncStatus &status)
{
    const QString name = QFileInfo(localPath).fileName();
    const lexi::Lineage dropboxLineage(synced.dropboxLineage);
    const auto current = lexi::readRegularFile(localPath);
    if (current && *current == dropboxData) {
        rememberDropboxFile(name, dropboxData, dropboxLineage);
        return synced;
    }
    // A save by the program meanwhile is left for the next run.
    if (const auto written = replaceLocalFile(localPath, dropboxData, synced.local); !written) {
        QLXLogWarn("DB > sync > could not replace %@: %@", localPath, written.error());
        status.fail(u"could not replace local file %1"_s.arg(localPath));
        return std::nullopt;
    }
    rememberDropboxFile(name, dropboxData, dropboxLineage);
    status.setSyncAction(Action::pulled);
    synced.local = lexi::fileStamp(localPath).value_or(lexi::FileStamp());
    return synced;
}

std::optional<DropBoxController::SyncedFile> DropBoxController::syncLocalVocabulary(
    const QString &localPath, const QString &dropboxCopy, const QByteArray &dropboxData,
    const lexi::FileStamp &dropboxStamp, QLXSyncStatus &status)
{
    const QLXStorageManager &storage = *m_environment.storage;
    const QString name = QFileInfo(localPath).fileName();
    // Taken before loading, so that a save by the program from now on counts as a change.
    const std::optional<lexi::FileStamp> localStamp = lexi::fileStamp(localPath);
    const std::shared_ptr<Lexicarta> dropbox = storage.vocabularyFromFile(dropboxCopy);
    const std::shared_ptr<Lexicarta> local = localStamp ? storage.vocabularyFromFile(localPath) : nullptr;

    // The copy that loads is kept; when neither loads, both stay as they are.
    if (!local || !dropbox) {
        QStringList errors;
        if (!local) {
            QLXLogWarn("DB > sync > could not load local vocabulary %@", localPath);
            errors.append(u"sync could not load local vocabulary %1"_s.arg(localPath));
        }
        if (!dropbox) {
            QLXLogWarn("DB > sync > could not load db vocabulary %@", dropboxCopy);
            errors.append(u"sync could not load db vocabulary %1"_s.arg(dropboxCopy));
        }
        status.fail(errors.join(u"; "_s));
        // The next run finds the language missing here and brings the cloud copy down.
        if (!local && dropbox && localStamp)
            retireLocalFile(localPath, *localStamp);
        if (local && !dropbox)
            retireDropboxFile(name, dropboxData, dropboxStamp);
        return std::nullopt;
    }

    status.setLanguageName(QLXStorageManager::displayNameForVocabulary(*local));
    const qint64 l = local->version();
    const qint64 d = dropbox->version();
    status.setLocalVersion(l);
    status.setDropboxVersion(d);
    SyncedFile synced;
    synced.dropbox = dropboxStamp;
    synced.local = *localStamp;
    synced.dropboxLineage = dropbox->lineage();
    // Made of both, whichever is changed into the new version.
    const QList<lexi::Lineage> madeFrom = {lineageOf(*dropbox), lineageOf(*local)};

    // The cloud file is the one this installation last brought down or put there, or one made
    // from it: the versions tell what happened. Any other was made beside it, without its words: a
    // file-sync client kept only one of two versions, or two machines replaced the file at the
    // same moment. Such a fork is merged so that nothing is lost, whatever the versions say.
    const lexi::Settings settings(*m_environment.defaults);
    const std::optional<lexi::VersionMark> lastSeen = lexi::VersionMark::fromText(settings.cloudFileMark(name));
    const bool forked = settings.cloudFileFingerprint(name) != fingerprint(dropboxData)
                        && !(lastSeen && madeFrom.first().holds(*lastSeen));

    // The new version for both sides, what making it does, and the error when it cannot be made.
    std::shared_ptr<Lexicarta> update;
    Action action = Action::unchanged;
    QString saveError;
    if (forked && l <= d) {
        QLXLogVerbose("        db changed elsewhere : merge (%ld, %ld)", l, d);
        // Nothing of this version missing there: the cloud's version is the one to keep.
        if (!dropbox->mergeWithOtherVersion(*local))
            return takeDropboxVersion(localPath, dropboxData, synced, status);
        action = Action::merged;
        dropbox->setVersion(d + 1);
        dropbox->setNeedsSync(false);
        update = dropbox;
        saveError = u"could not save merged file > abort %1"_s;
    } else if (l < d && local->needsSync()) {
        QLXLogVerbose("        l << db dirty : merge (%ld < %ld)", l, d);
        action = Action::merged;
        dropbox->mergeWithOtherVersion(*local);
        dropbox->setVersion(d + 1);
        dropbox->setNeedsSync(false);
        update = dropbox;
        saveError = u"could not save merged file > abort %1"_s;
    } else if (l < d) {
        QLXLogVerbose("        l << db : download db replace local (%ld < %ld)", l, d);
        return takeDropboxVersion(localPath, dropboxData, synced, status);
    } else if (l == d && local->needsSync()) {
        QLXLogVerbose("        l == db dirty : upload local (%ld == %ld)", l, d);
        action = Action::pushed;
        local->setVersion(l + 1);
        local->setNeedsSync(false);
        update = local;
        saveError = u"could not save updated file > abort %1"_s;
    } else if (l == d) {
        QLXLogVerbose("        l == db > do nothing (%ld == %ld)", l, d);
        return synced;
    } else {
        QLXLogVerbose("        l >> db > merging (%ld > %ld)", l, d);
        action = Action::pushed;
        status.setError(u"local version greater than db version"_s);
        local->mergeWithOtherVersion(*dropbox);
        local->setVersion(l + 1);
        local->setNeedsSync(false);
        update = local;
        saveError = u"could not save file > abort %1"_s;
    }

    auto version = makeVersion(*update, name, madeFrom);
    if (!version) {
        status.fail(saveError.arg(localPath));
        return std::nullopt;
    }
    status.setSyncAction(action);
    synced.update = std::move(*version);
    // Uploaded in the second phase of this run, so that both sides end with the new version.
    m_localFileNamesNeedingSync.mark(name);
    if (l > d)
        QLXLogWarn("WARNING: local version greater than db version");
    return synced;
}

lexi::VersionMark DropBoxController::nextMark(const QString &name, const QList<lexi::Lineage> &madeFrom) const
{
    // A run goes on only from a version that holds its last step (see lexi::Lineage).
    const auto last = m_lastMade.constFind(name);
    if (last != m_lastMade.cend()
        && std::any_of(madeFrom.begin(), madeFrom.end(), [&](const lexi::Lineage &from) { return from.holds(*last); }))
        return {last->run, last->step + 1};
    return {QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, u'0'), 1};
}

lexi::Result<DropBoxController::MadeVersion> DropBoxController::makeVersion(Lexicarta &vocabulary,
                                                                             const QString &name,
                                                                             const QList<lexi::Lineage> &madeFrom)
{
    const lexi::VersionMark mark = nextMark(name, madeFrom);
    vocabulary.setLineage(lexi::Lineage::ofNewVersion(mark, madeFrom).stored());
    // Written as a file in the downloads, so that it is the file the program would save.
    const QString path = m_environment.folders->downloadFolderPath() + u'/' + name;
    if (!m_environment.storage->saveVocabularyToQLXVFile(&vocabulary, path))
        return lexi::Result<MadeVersion>::failure(u"could not save %1"_s.arg(path));
    auto data = lexi::readRegularFile(path);
    QFile::remove(path);
    if (!data)
        return lexi::Result<MadeVersion>::failure(data.error());
    return MadeVersion{std::move(*data), mark};
}

void DropBoxController::didUpload(const QString &name, const MadeVersion &version)
{
    m_lastMade.insert(name, version.mark);
    lexi::Settings settings(*m_environment.defaults);
    settings.setCloudFileFingerprint(name, fingerprint(version.data));
    settings.setCloudFileMark(name, version.mark.text());
}

lexi::Result<> DropBoxController::retireDropboxFile(const QString &name, const QByteArray &data,
                                                    const lexi::FileStamp &dropboxStamp)
{
    if (auto kept = lexi::writeFileAtomically(backupPath(name), data, lexi::NoFile()); !kept)
        return kept;
    return m_environment.cloudFolder->deletePath(name, dropboxStamp);
}

void DropBoxController::rememberDropboxFile(const QString &name, const QByteArray &data,
                                            const lexi::Lineage &lineage)
{
    lexi::Settings settings(*m_environment.defaults);
    settings.setCloudFileFingerprint(name, fingerprint(data));
    if (const std::optional<lexi::VersionMark> mark = lineage.head())
        settings.setCloudFileMark(name, mark->text());
    else
        settings.removeCloudFileMark(name);
}

void DropBoxController::removeStaleTemporaryFiles()
{
    QStringList folders = {m_environment.folders->vocabularyFolderPath(), m_environment.folders->backupFolderPath()};
    if (const std::optional<QString> root = m_environment.cloudFolder->folderPath())
        folders += {*root, *root + u"/Logs/"_s + deviceName()};
    const lexi::Date olderThan = m_environment.clock->now().addingSeconds(-double(staleTemporaryFileAge.count()));
    for (const QString &folder : folders) {
        for (const QString &name : lexi::removeStaleTemporaryFiles(folder, olderThan))
            QLXLogInfo("DB > sync > removed stale temporary file %@/%@", folder, name);
    }
}
void DropBoxController::retireLocalFile(const QString &localPath, const lexi::FileStamp &stamp)
{
    // A file the program saved meanwhile stays, for the next run.
    const QString backup = backupPath(QFileInfo(localPath).fileName());
    if (const auto moved = lexi::moveFileIfUnchanged(localPath, backup, stamp); !moved)
        QLXLogWarn("DB > sync > could not move %@ to the backups: %@", localPath, moved.error());
}

lexi::Result<> DropBoxController::replaceLocalFile(const QString &localPath, const QByteArray &data,
                                                   const lexi::FileStamp &expected)
{
    // The version replaced stays at hand, as the storage manager keeps the ones the program saves.
    // A backup that cannot be made is no reason to leave the file behind the other side.
    if (lexi::fileStamp(localPath) == expected) {
        const auto current = lexi::readRegularFile(localPath);
        const auto kept = current ? lexi::writeFileAtomically(backupPath(QFileInfo(localPath).fileName()), *current,
                                                              lexi::NoFile())
                                  : lexi::Result<>::failure(current.error());
        if (!kept)
            QLXLogWarn("DB > sync > could not back up %@: %@", localPath, kept.error());
    }
    return lexi::writeFileAtomically(localPath, data, expected);
}

QString DropBoxController::backupPath(const QString &name) const
{
    return lexi::newBackupPath(m_environment.folders->backupFolderPath(), name, m_environment.clock->now());
}

