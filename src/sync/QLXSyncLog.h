#pragma once

#include "QLXSyncStatus.h"

#include "platform/dispatch/Block.h"
#include "platform/ports/Clock.h"

#include <QList>
#include <QString>

#include <mutex>
#include <optional>

class Lexicarta;

namespace lexi {
class ApplicationFolders;
} // namespace lexi

// The log of synchronisation results. It keeps every record since the last save (the full log,
// written to a text file in the local "Logs" folder now and then and uploaded from there), and
// the latest meaningful record of each language (the status log), from which it renders the
// status texts of the vocabulary list and the preferences. Each list has its own lock; the log
// is safe from any thread.
class QLXSyncLog
{
public:
    struct Environment
    {
        // Must outlive the log.
        const lexi::ApplicationFolders *folders = nullptr;
        const lexi::Clock *clock = &lexi::Clock::system();
    };

    static constexpr qsizetype maxNumberOfLogFiles = 100;

    // The installation the shared log works for; set once at start-up, before any other use.
    static void setSharedEnvironment(Environment environment);
    // The shared log, made on first need; nothing before the environment is set.
    static QLXSyncLog *sharedManager();

    explicit QLXSyncLog(Environment environment);

    // What a save starts next: the upload of the log files (the synchronisation sets it).
    void setUploadBlock(lexi::dispatch::Block upload);

    // Appends the record to the full log, and puts it in the status log in place of the one of
    // its language (names compared without regard to case), unless that one did something and
    // this one left everything unchanged, or that one failed in the same run.
    void addStatus(const QLXSyncStatus &status);
    // The records added from now on belong to a new synchronisation run.
    void startRun();

    // The text of a log file: every record of the full log with its lines indented, a direction
    // header before the first record and wherever the direction changes.
    QString logString() const;
    // Writes the full log into a new file "<whole seconds since 2001>.txt" in the Logs folder
    // (an empty log, an empty file), empties it and starts the upload.
    void saveLogAndClear();
    // Saves, then tidies the Logs folder, when more than intervalBetweenSaves() has passed since
    // the last save (or since the log was made).
    void saveLogOnIntervalAndClear();
    // Keeps the newest maxNumberOfLogFiles log files of the Logs folder by creation date.
    void tidyLogFolder();

    // One line per language of the status log: when, which, and what was done.
    QString syncStatusForAllLangsString() const;
    // When the vocabulary's language was last synchronised and what was done; nothing when it
    // has no record.
    std::optional<QString> syncStatusForVocabulary(const Lexicarta &vocabulary) const;

    QList<QLXSyncStatus> fullLog() const;
    QList<QLXSyncStatus> statusLog() const;
    // 1800 s.
    static constexpr std::chrono::seconds intervalBetweenSaves() { return std::chrono::seconds(1800); }

private:
    static QString renderLog(const QList<QLXSyncStatus> &records);
    static QString actionWord(QLXSyncStatus::SyncAction action);

    const Environment m_environment;

    mutable std::mutex m_fullLogMutex;
    QList<QLXSyncStatus> m_fullLog;

    mutable std::mutex m_statusLogMutex;
    QList<QLXSyncStatus> m_statusLog;
    // The run each record of the status log was added in; under m_statusLogMutex.
    QList<quint64> m_statusLogRuns;
    quint64 m_run = 0;

    std::mutex m_saveMutex;
    lexi::Clock::Duration m_lastSaveTime;
    lexi::dispatch::Block m_upload;
};
