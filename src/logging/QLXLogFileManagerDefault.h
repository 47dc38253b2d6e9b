#pragma once

#include "QLXLogFileManager.h"

#include "platform/ports/Clock.h"

#include <QStringList>

#include <atomic>
#include <memory>

// Names, lists, creates and prunes the log files of one folder, by default
// $XDG_STATE_HOME/<application>/Logs. Log files are named as lexi::LogFileName describes, after
// the application; other files in the folder are left alone.
class QLXLogFileManagerDefault : public QLXLogFileManager,
                                 public std::enable_shared_from_this<QLXLogFileManagerDefault>
{
public:
    // The default folder.
    QLXLogFileManagerDefault();
    explicit QLXLogFileManagerDefault(QString logsDirectory, const lexi::Clock &clock = lexi::Clock::system());

    // $XDG_STATE_HOME (else ~/.local/state, else the temporary folder), then the application name
    // and "Logs".
    static QString defaultLogsDirectory();
    // QCoreApplication's application name, else the process name; fixed by the first call.
    static const QString &applicationName();

    // The folder, created with its missing parents when it does not exist. A folder that cannot
    // be made is reported once on the console and its path is given anyway.
    QString logsDirectory();
    // Whether `fileName` is a log file of this application.
    bool isLogFile(const QString &fileName) const;
    // The name for a log file made now, without a counter.
    QString newLogFileName() const;

    // The log files in listing order.
    QStringList unsortedLogFilePaths();
    std::vector<QLXLogFileInfo> sortedLogFileInfos() override;
    QStringList sortedLogFileNames();

    // Creates the file exclusively under the first free name of this minute (the name of
    // newLogFileName(), then with the counters 2, 3, ...), then prunes the old files.
    std::optional<QString> createNewLogFile() override;
    // Keeps the newest maximumNumberOfLogFiles() archived files and deletes the older ones; an
    // unarchived newest file is being written and is neither counted nor deleted.
    void deleteOldLogFiles();

    // 5 by default; 0 keeps every file. A new value prunes on the logging queue.
    quint64 maximumNumberOfLogFiles() const;
    void setMaximumNumberOfLogFiles(quint64 maximum);

private:
    const QString m_logsDirectory;
    const lexi::Clock &m_clock;
    std::atomic<quint64> m_maximumNumberOfLogFiles = 5;
    std::atomic<bool> m_hasReportedFolderFailure = false;
};
