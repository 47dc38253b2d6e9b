#include "DropBoxController.h"

#include "QLXSyncLog.h"

#include "logging/QLXLogMacros.h"
#include "model/Lexicarta.h"
#include "model/QLXStorageManager.h"
#include "model/VocabularyFileName.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/RegularFile.h"
#include "platform/files/Settings.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using lexi::CloudFolder;
using Action = QLXSyncStatus::SyncAction;
using Direction = QLXSyncStatus::SyncDirection;

// Conflicted copies that file-sync clients leave in the vocabularies and the cloud folder: their
// words go into the vocabulary they are a copy of, the copies into the backups.

namespace {

constexpr int qlxLogLevel = QLXLogLevelVerbose;

} // namespace

void DropBoxController::takeInConflictedCopies(const QList<CloudFolder::Entry> &entries)
{
    const QString folder = m_environment.folders->vocabularyFolderPath();
    for (const QString &name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        if (lexi::isConflictedCopy(name))
            m_environment.syncLog->addStatus(takeInLocalCopy(folder + u'/' + name));
    }
    for (const CloudFolder::Entry &entry : entries) {
        if (!entry.isFolder && lexi::isConflictedCopy(entry.name))
            m_environment.syncLog->addStatus(takeInDropboxCopy(entry.name));
    }
}

QLXSyncStatus DropBoxController::takeInLocalCopy(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    auto status = QLXSyncStatus::statusWithLanguage(lexi::withoutVocabularyExtension(name), -1, -1,
                                                    Direction::dropboxToLocal, *m_environment.clock);
    QLXLogVerbose("    conflicted copy here > merge (%@)", name);
    const std::optional<lexi::FileStamp> stamp = lexi::fileStamp(path);
    if (stamp && takeInConflictedCopy(path, name, status))
        retireLocalFile(path, *stamp);
    return status;
}

QLXSyncStatus DropBoxController::takeInDropboxCopy(const QString &name)
{
    CloudFolder &cloud = *m_environment.cloudFolder;
    auto status = QLXSyncStatus::statusWithLanguage(lexi::withoutVocabularyExtension(name), -1, -1,
                                                    Direction::dropboxToLocal, *m_environment.clock);
    QLXLogVerbose("    conflicted copy on db > merge (%@)", name);
    const auto stamp = cloud.stampOfFile(name);
    const auto data = stamp ? cloud.readFile(name) : lexi::Result<QByteArray>::failure(stamp.error());
    if (!data) {
        QLXLogError("DB > sync > could not read db file %@", data.error());
        status.fail(u"could not read db file %1"_s.arg(data.error()));
        return status;
    }
    const QString copy = m_environment.folders->downloadFolderPath() + u'/' + name;
    if (const auto written = lexi::writeFileAtomically(copy, *data); !written) {
        QLXLogError("DB > sync > could not write download %@", written.error());
        status.fail(u"could not write download %1"_s.arg(written.error()));
        return status;
    }
    if (!takeInConflictedCopy(copy, name, status))
        return status;
    if (const auto retired = retireDropboxFile(name, *data, *stamp); !retired) {
        QLXLogError("DB > sync > could not move conflicted copy %@ to the backups: %@", name, retired.error());
        status.fail(u"could not move conflicted copy to the backups %1"_s.arg(retired.error()));
    }
    return status;
}

bool DropBoxController::takeInConflictedCopy(const QString &path, const QString &name, QLXSyncStatus &status)
{
    QLXStorageManager &storage = *m_environment.storage;
    const QString original = lexi::conflictedCopyOriginal(name).value_or(QString());
    const std::shared_ptr<Lexicarta> copy = storage.vocabularyFromFile(path);
    if (!copy || !lexi::isVocabularyFileName(original) || lexi::isConflictedCopy(original)) {
        QLXLogWarn("DB > sync > could not load conflicted copy %@", name);
        status.fail(u"conflicted copy does not load > moved to backups"_s);
        return true;
    }
    const QString localPath = m_environment.folders->vocabularyFolderPath() + u'/' + original;
    const std::optional<lexi::FileStamp> localStamp = lexi::fileStamp(localPath);
    std::shared_ptr<Lexicarta> merged = copy;
    if (localStamp) {
        merged = storage.vocabularyFromFile(localPath);
        if (!merged) {
            // The first phase replaces it from the cloud; the copy waits for the next run.
            QLXLogWarn("DB > sync > could not load local vocabulary %@", localPath);
            status.fail(u"sync could not load local vocabulary %1 -> next sync"_s.arg(localPath));
            return false;
        }
        if (!merged->mergeWithOtherVersion(*copy)) {
            status.setMessage(u"conflicted copy > nothing new > moved to backups"_s);
            return true;
        }
    } else {
        // Not here: the copy becomes the language here, and as this installation has not seen the
        // cloud's version of it, the first phase merges the two.
        lexi::Settings settings(*m_environment.defaults);
        settings.removeCloudFileFingerprint(original);
        settings.removeCloudFileMark(original);
    }
    merged->setNeedsSync(true);
    // Written as a file in the downloads, so that it is the file the program would save.
    const QString mergedPath = m_environment.folders->downloadFolderPath() + u'/' + original;
    const auto data = storage.saveVocabularyToQLXVFile(merged.get(), mergedPath)
                          ? lexi::readRegularFile(mergedPath)
                          : lexi::Result<QByteArray>::failure(u"could not save"_s);
    const auto written = !data ? lexi::Result<>::failure(data.error())
                         : localStamp ? replaceLocalFile(localPath, *data, *localStamp)
                                      : lexi::writeFileAtomically(localPath, *data, lexi::NoFile());
    if (!written) {
        QLXLogWarn("DB > sync > could not save %@: %@", localPath, written.error());
        status.fail(u"could not save merged file > abort %1"_s.arg(localPath));
        return false;
    }
    m_localFileNamesNeedingSync.mark(original);
    status.setMessage(
        u"conflicted copy > merged into %1 > moved to backups"_s.arg(lexi::withoutVocabularyExtension(original)));
    status.setSyncAction(Action::merged);
    return true;
}

