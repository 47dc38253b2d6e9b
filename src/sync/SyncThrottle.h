#pragma once

#include "platform/ports/Clock.h"

#include <QtGlobal>

#include <mutex>
#include <optional>

namespace lexi {

// Decides which synchronisation requests run. The n-th request of a process run waits for
// 3 × n seconds (30 s from the tenth on) since the start of the last run, or since the start of
// the last run that uploaded a file; a change of the cloud folder lets the next request past the
// first wait, not the second. Times come from a steady clock. Safe from any thread.
class SyncThrottle
{
public:
    using Duration = Clock::Duration;

    // Counts a request made at `now` and says whether it runs; a run takes `now` as its start.
    bool admit(Duration now);
    // The run that started at `runStart` uploaded a file.
    void didPush(Duration runStart);
    // The cloud folder changed since the last run started.
    void folderDidChange();

    qint64 noOfSyncs() const;

private:
    mutable std::mutex m_mutex;
    qint64 m_noOfSyncs = 0;
    // None until the first run, or the first upload.
    std::optional<Duration> m_lastSyncTime;
    std::optional<Duration> m_lastPushTime;
    bool m_dropboxFolderDidChange = false;
};

} // namespace lexi
