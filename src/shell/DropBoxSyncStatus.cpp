#include "DropBoxSyncStatus.h"

#include "sync/DropBoxController.h"
#include "sync/QLXSyncLog.h"

namespace lexi {

bool DropBoxSyncStatus::isEnabled() const
{
    return m_controller.isEnabled();
}

std::optional<QString> DropBoxSyncStatus::syncStatusForVocabulary(const Lexicarta &vocabulary) const
{
    return m_syncLog.syncStatusForVocabulary(vocabulary);
}

} // namespace lexi
