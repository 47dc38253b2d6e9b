#pragma once

#include "AtomicFile.h"
#include "Settings.h"
#include "platform/dispatch/Block.h"
#include "platform/dispatch/DelayedBlock.h"
#include "platform/dispatch/Scheduler.h"
#include "platform/values/Result.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QList>
#include <QMap>
#include <QString>

#include <functional>
#include <mutex>
#include <optional>

namespace lexi {

class FolderChooser;

// The application's folder in the learner's cloud storage, as the cloud service's own desktop
// client keeps it in step on this machine (for example ~/Dropbox/Apps/Lexicarta). The program
// reads and writes it like any folder; the client carries the changes to the learner's other
// machines and brings theirs here.
//
// Linked means that the setting Settings::cloudFolderPath holds the folder's path. A folder that is
// missing or cannot be read stays linked: its operations fail until it is back.
//
// Paths are relative to the folder ("French - English.qlxv", "Logs/<machine>/123.txt"); a path
// that would lead out of it fails. Hidden entries (names beginning with ".", such as the client's
// own files) and our temporary files are not listed. Every write goes to a temporary file that
// the client skips (see isTemporaryFileName) and is then renamed into place, so no file appears
// half written.
//
// The file operations are safe from any thread. The object itself, and with it the watching of
// changes, belongs to the thread that made it, which runs a Qt event loop.
class CloudFolder
{
public:
    // How long the folder must stay quiet after a change before it is looked at, so that a
    // client bringing in several files causes one report.
    static constexpr dispatch::Scheduler::Duration settleTime{2000};

    struct Entry
    {
        QString name;
        bool isFolder = false;

        friend bool operator==(const Entry &, const Entry &) = default;
    };

    CloudFolder(Defaults &defaults, dispatch::Scheduler &scheduler);

    CloudFolder(const CloudFolder &) = delete;
    CloudFolder &operator=(const CloudFolder &) = delete;

    bool isLinked() const;
    std::optional<QString> folderPath() const;
    // Asks the learner for the folder, suggesting `homeFolder`/Dropbox/Apps/Lexicarta when it
    // exists, and links the chosen one. False when the learner cancelled or chose no folder.
    bool link(FolderChooser &chooser, const QString &homeFolder);
    // Forgets the folder and stops watching it; its files stay.
    void unlink();

    // The direct entries of a folder, in the order the file system lists them.
    Result<QList<Entry>> listFolder(const QString &path) const;
    // The stamp of the file at `path`; fails when no file is there or it cannot be read.
    Result<FileStamp> stampOfFile(const QString &path) const;
    Result<QByteArray> readFile(const QString &path) const;
    // A new file; fails when something stands at `path` already or its folder is missing.
    Result<> createFile(const QString &path, const QByteArray &data);
    // New content for the file at `path`; fails when that file no longer has the stamp `expected`
    // (the client brought in another version meanwhile).
    Result<> replaceFile(const QString &path, const QByteArray &data, const FileStamp &expected);
    // The folder and any missing parents.
    Result<> createFolder(const QString &path) const;
    // Deletes a file; with `expected`, only while the file still has that stamp.
    Result<> deletePath(const QString &path, const std::optional<FileStamp> &expected = std::nullopt);

    // Which names at the top of the folder are files an observer cares about.
    using NameFilter = std::function<bool(const QString &name)>;

    // Calls `observer` on this object's thread once a change has settled in which a file at the
    // top of the folder whose name `isWatched` takes appeared, went or changed its size or time.
    // Changes made through this object are not reported, nor what changed while no observer was
    // set: adding one takes the folder as it is then. One observer at a time; adding replaces
    // the one before.
    void addObserver(dispatch::Block observer, NameFilter isWatched);
    void removeObserver();

private:
    using Snapshot = QMap<QString, FileStamp>;

    Result<QString> absolutePath(const QString &path) const;
    // The watched files at the top of the folder; none without a filter.
    Snapshot takeSnapshot(const NameFilter &isWatched) const;
    // Takes a change this object made to a watched top-level file into the snapshot.
    void noteOwnChange(const QString &path, const QString &file);
    // On this object's thread.
    void watchFolder();
    void folderChanged();
    void changeSettled();

    Settings m_settings;
    dispatch::Scheduler &m_scheduler;

    mutable std::mutex m_mutex;
    dispatch::Block m_observer;
    NameFilter m_isWatched;
    Snapshot m_snapshot;

    // On this object's thread only.
    dispatch::DelayedBlock m_settling;
    QFileSystemWatcher m_watcher;
};

} // namespace lexi
