#pragma once

#include "Lexicarta.h"
#include "VocabularyJsonReader.h"
#include "VocabularySaver.h"
#include "VocabularyServices.h"
#include "VocabularySnapshot.h"

#include "platform/files/ApplicationFolders.h"
#include "platform/dispatch/WorkProgress.h"
#include "platform/files/AtomicFile.h"
#include "platform/ports/Clock.h"
#include "platform/ports/Workspace.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

// The store of vocabulary files: names a vocabulary's file, saves it in the own format (".qlxv":
// one bzip2 stream of the vocabulary's JSON document) or in the older product's keyed-archive
// format (".tbf"), loads either, keeps backup copies and tidies them. One per installation; the
// main thread and the synchronisation's queue use it at the same time.
//
// Files are written to a temporary file beside them and renamed into place, so a failed or
// interrupted save leaves the previous file as it was. Failures are told to the learner through
// the services' alert presenter (which only logs them off the main thread).
//
// Saves of the current vocabulary never hold up the main thread: saveVocabulary() called there
// takes a snapshot of the vocabulary and hands it to a background saver (lexi::VocabularySaver),
// whose worker compresses and writes it. Saves of one file are written in the order they were
// handed over; a newer snapshot replaces one still waiting. A save that fails is shown on the
// main thread with the same alert as a synchronous one. flushSaves() waits for them all.
class QLXStorageManager
{
public:
    // At most one backup per this interval, of whichever vocabulary is saved then.
    static constexpr lexi::Clock::Duration backupInterval = std::chrono::seconds(900);
    // Against absurd files: the most JSON an own-format file may unpack to, the most words (and,
    // apart, daily snapshots) a vocabulary may hold, and the largest archive read. Each is several
    // times what 200,000 words with comments, tags and a year of statistics take (some 25 MB of
    // JSON, 60 MB of archive), and low enough that no file makes loading take more than a few
    // times what such a vocabulary does. The same bounds hold on both sides: a vocabulary beyond
    // them is not saved, since the file could not be loaded again, and a file whose vocabulary
    // could not be saved is not loaded, since nothing the learner did in it would be kept.
    static constexpr qsizetype maximumDocumentSize = qsizetype(128) << 20;
    static constexpr qsizetype maximumWordCount = 1'000'000;
    static constexpr qsizetype maximumArchiveSize = qsizetype(256) << 20;

    // What `services` refers to and `workspace` must outlive the store; loaded vocabularies get
    // the services.
    QLXStorageManager(const lexi::ApplicationFolders &folders, const lexi::VocabularyServices &services,
                      lexi::Workspace &workspace);
    QLXStorageManager(const QLXStorageManager &) = delete;
    QLXStorageManager &operator=(const QLXStorageManager &) = delete;

    // "foreign - your", the name of the vocabulary everywhere.
    static QString displayNameForVocabulary(const Lexicarta &vocabulary);
    // The display name's file in the vocabularies folder: where saveVocabulary() writes. Nothing
    // when the display name cannot be a vocabulary file there (see vocabularyFileNameForName):
    // a language name such as "../x" never becomes a path.
    std::optional<QString> savePathForVocabulary(const Lexicarta &vocabulary) const;
    // The file of the vocabulary named `name` in the vocabularies folder; nothing as above.
    std::optional<QString> saveUrlForVocabularyWithName(const QString &name) const;

    // Saves to the save path; none is refused, and so is a vocabulary without a save path (with
    // the write-error alert). Called on the main thread, the save is handed to the background
    // saver and YES means only that: the file is written a moment later, and a failure shows its
    // alert on the main thread then (or at the next flushSaves() there). Called on any other
    // thread (the synchronisation's queue), the file is written before it returns, and YES means
    // written.
    bool saveVocabulary(const Lexicarta *vocabulary);
    // Writes before it returns, after the saves still waiting in the background, so that it is
    // never overtaken by an older one. A save into the vocabularies folder also makes a backup
    // when the last one is older than backupInterval (or there is none yet in this run). A backup
    // that cannot be written is logged and leaves the slot to the next save; the save itself
    // still succeeds.
    bool saveVocabularyToQLXVFile(const Lexicarta *vocabulary, const QString &path);
    bool saveVocabularyToTBFFile(const Lexicarta *vocabulary, const QString &path) const;
    // saveVocabularyToQLXVFile() without the alert, for a write on another thread whose failure
    // is shown later on the main thread: the alert that tells why nothing was written, or nothing.
    std::optional<lexi::Alert> writeVocabularyToQLXVFile(const Lexicarta &vocabulary, const QString &path);
    // What an own-format file of `snapshot` holds: its JSON, compressed. Nothing when the
    // vocabulary is beyond the bounds above or compression fails. Any thread.
    static std::optional<QByteArray> ownFormatData(const lexi::VocabularySnapshot &snapshot);
    // Whether ownFormatData() takes the vocabulary: within the word and snapshot counts, and
    // with JSON within maximumDocumentSize.
    static bool fitsOwnFormat(const lexi::VocabularySnapshot &snapshot);

    // A path ending in ".tbf" (exactly) is read as an archive, any other in the own format; the
    // vocabulary remembers the file name it was loaded from. Nothing when loading fails.
    std::shared_ptr<Lexicarta> vocabularyFromFile(const QString &path) const;
    std::shared_ptr<Lexicarta> vocabularyFromQLXVFile(const QString &path) const;
    // A file that does not exist gives nothing and no alert.
    std::shared_ptr<Lexicarta> vocabularyFromTBFFile(const QString &path) const;

    // What loading a file gave: the vocabulary, or the alert that tells the learner why there is
    // none (no alert for a ".tbf" file that does not exist).
    struct Loaded
    {
        std::shared_ptr<Lexicarta> vocabulary;
        std::optional<lexi::Alert> failure;
    };
    // The loads above without the alert, for loads on another thread whose failure is shown
    // later on the main thread with showLoadFailure(). loadFile() is vocabularyFromFile().
    Loaded loadFile(const QString &path) const;
    // Tells `progress`, when there is one, how much of the file is read.
    Loaded loadQLXVFile(const QString &path, lexi::WorkProgress *progress = nullptr) const;
    Loaded loadTBFFile(const QString &path) const;
    // Shows a load's alert; its second button, when it has one, opens the backups folder.
    void showLoadFailure(const lexi::Alert &alert) const;

    // Called on the main thread after each background save is written, with the file's path, its
    // stamp as the save left it, and whether it is the last save of that file handed over so far
    // (so that the file holds every change saved): how the program recognises its own saves among
    // the changes to its files.
    using SaveObserver = std::function<void(const QString &path, const lexi::FileStamp &stamp, bool isLatest)>;
    void setSaveObserver(SaveObserver observer);

    // Waits until every save handed to the background saver so far is written. Called at quit,
    // before the synchronisation reads a vocabulary file, and by tests. On the main thread it
    // also shows the alerts of the saves that failed. The store's destructor flushes too.
    void flushSaves();

    // Starts deleting backups older than 30 days on a background thread, only while more than 20
    // entries stay in the backups folder.
    void tidyBackups() const;

private:
    // When a save was asked for, which decides its backup.
    struct SaveTime
    {
        lexi::Date now;
        lexi::Clock::Duration monotonicNow;
    };

    SaveTime saveTime() const;
    // Writes the file; the message of the alert that tells why it failed, or nothing.
    std::optional<QString> writeOwnFormat(const lexi::VocabularySnapshot &snapshot, const QString &path,
                                          const SaveTime &time);
    void backUpIfDue(const QString &savedPath, const QByteArray &contents, const SaveTime &time);
    // The whole text through a document tree, for the texts the streaming reader refuses.
    lexi::VocabularyJsonReader::Result readWithQJsonDocument(const QByteArray &json) const;
    bool isInVocabularyFolder(const QString &path) const;
    static lexi::Alert saveAlert(const QString &foreignLanguageName, const QString &messageKey);
    void showSaveAlert(const QString &foreignLanguageName, const QString &messageKey) const;
    lexi::Alert loadAlert(const QString &path, const QString &messageKey) const;
    // The loaded vocabulary, after showing the load's alert when it failed.
    std::shared_ptr<Lexicarta> shown(Loaded loaded) const;

    // What a file holds as far as this manager knows: the snapshot last loaded from it or written
    // to it, and the file's size and time of change then.
    struct KnownFile
    {
        std::shared_ptr<const lexi::VocabularySnapshot> snapshot;
        qint64 size = 0;
        qint64 modified = 0;
    };
    void remember(const QString &path, std::shared_ptr<const lexi::VocabularySnapshot> snapshot) const;
    // Whether the file at `path` holds that snapshot already, unchanged since.
    bool holds(const QString &path, const lexi::VocabularySnapshot &snapshot) const;

    lexi::ApplicationFolders m_folders;
    lexi::VocabularyServices m_services;
    mutable std::mutex m_knownFilesMutex;
    mutable QHash<QString, KnownFile> m_knownFiles;
    lexi::Workspace &m_workspace;
    std::mutex m_backupMutex;
    std::optional<lexi::Clock::Duration> m_lastBackup;
    // Last, so that it is flushed and ended before anything its saves use goes.
    // Main thread.
    SaveObserver m_saveObserver;
    // How many background saves of each path were handed over. Main thread.
    QHash<QString, quint64> m_savesHandedOver;
    lexi::VocabularySaver m_saver;
};
