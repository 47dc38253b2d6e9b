#include "SyncThrottle.h"

#include <chrono>

namespace lexi {

bool SyncThrottle::admit(Duration now)
{
    std::lock_guard lock(m_mutex);
    if (m_noOfSyncs < 10)
        ++m_noOfSyncs;
    const Duration interval = std::chrono::seconds(3 * m_noOfSyncs);
    if (m_lastPushTime && interval > now - *m_lastPushTime)
        return false;
    if (m_lastSyncTime && interval > now - *m_lastSyncTime && !m_dropboxFolderDidChange)
        return false;
    m_lastSyncTime = now;
    m_dropboxFolderDidChange = false;
    return true;
}

void SyncThrottle::didPush(Duration runStart)
{
    std::lock_guard lock(m_mutex);
    m_lastPushTime = runStart;
}

void SyncThrottle::folderDidChange()
{
    std::lock_guard lock(m_mutex);
    m_dropboxFolderDidChange = true;
}

qint64 SyncThrottle::noOfSyncs() const
{
    std::lock_guard lock(m_mutex);
    return m_noOfSyncs;
}

} // namespace lexi
