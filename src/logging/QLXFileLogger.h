#pragma once

#include "QLXAbstractLogger.h"
#include "QLXLogFileInfo.h"
#include "QLXLogFileManager.h"

#include "platform/dispatch/DelayedBlock.h"
#include "platform/dispatch/Scheduler.h"
#include "platform/ports/Clock.h"

#include <atomic>
#include <memory>
#include <optional>

namespace lexi {
class FileWatch;
}

// Writes every record as a line to a log file of its manager and rolls over to a new file when
// the file reaches a size or an age, when it is deleted or renamed, when the logger is removed
// from the dispatcher, and on request. Rolling closes the file and marks it archived; the next
// record opens the next file.
//
// A file is opened for appending and locked, so that two instances never write one file: the
// newest file is taken up again at its end unless it is archived, full, too old or written by
// another instance. A write that fails loses its record; the first ten failures of the process
// are written to the console.
//
// All file work runs on the logger queue; the age limit is a one-shot timer on `scheduler`.
class QLXFileLogger final : public QLXAbstractLogger
{
public:
    QLXFileLogger(std::shared_ptr<QLXLogFileManager> logFileManager, lexi::dispatch::Scheduler &scheduler,
                  const lexi::Clock &clock = lexi::Clock::system());
    ~QLXFileLogger() override;

    const std::shared_ptr<QLXLogFileManager> &logFileManager() const { return m_logFileManager; }

    // 1048576 bytes by default; 0 means no size limit.
    quint64 maximumFileSize();
    void setMaximumFileSize(quint64 size);
    // 86400 seconds by default; 0 or less means no age limit.
    double rollingFrequency();
    void setRollingFrequency(double seconds);
    // Off by default; on, a logger starts a new file instead of taking up the newest one.
    bool doNotReuseLogFiles() const;
    void setDoNotReuseLogFiles(bool doNotReuse);

    // Rolls between two records; `completion`, if any, then runs on the main queue.
    void rollLogFile(lexi::dispatch::Block completion = {});

    void logMessage(const QLXLogMessage &message) override;
    void willRemoveLogger() override;

private:
    // Picks or creates the current file and opens it, unless one is open. On failure says why.
    bool openCurrentLogFile(QString &failure);
    bool takeUp(QLXLogFileInfo info, QString &failure);
    bool isDue(const QLXLogFileInfo &info) const;
    void watchCurrentLogFile();
    void currentLogFileMayBeGone(quint64 generation);

    void rollLogFileNow();
    void maybeRollLogFileDueToSize();
    void maybeRollLogFileDueToAge();
    void scheduleTimerToRollLogFileDueToAge();

    // A block that runs `work` on this logger, unless the logger is gone by then.
    template<typename Work>
    lexi::dispatch::Block weakly(Work work);

    const std::shared_ptr<QLXLogFileManager> m_logFileManager;
    lexi::dispatch::Scheduler &m_scheduler;
    const lexi::Clock &m_clock;

    std::optional<QLXLogFileInfo> m_currentLogFileInfo;
    int m_currentLogFileHandle = -1;
    // Counts the files opened, so that news about a file closed since is ignored.
    quint64 m_generation = 0;
    std::unique_ptr<lexi::FileWatch> m_currentLogFileVnode;
    lexi::dispatch::DelayedBlock m_rollingTimer;

    quint64 m_maximumFileSize = 1048576;
    double m_rollingFrequency = 86400.0;
    std::atomic<bool> m_doNotReuseLogFiles = false;
};
