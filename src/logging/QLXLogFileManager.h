#pragma once

#include "QLXLogFileInfo.h"

#include <QString>

#include <optional>
#include <vector>

// What a file logger needs from the keeper of its log files. The logger calls it on its own
// queue only.
class QLXLogFileManager
{
public:
    virtual ~QLXLogFileManager() = default;

    // The log files, newest first.
    virtual std::vector<QLXLogFileInfo> sortedLogFileInfos() = 0;
    // Creates an empty log file that nobody else writes and gives its path; nothing on failure.
    virtual std::optional<QString> createNewLogFile() = 0;

    // The newest file was found full or too old and marked archived.
    virtual void didArchiveLogFile(const QString &) {}
    // The logger closed its current file and marked it archived.
    virtual void didRollAndArchiveLogFile(const QString &) {}
};
