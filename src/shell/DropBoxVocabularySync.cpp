#include "DropBoxVocabularySync.h"

#include "sync/DropBoxController.h"
#include "sync/QLXSyncLog.h"

namespace lexi {

bool DropBoxVocabularySync::isEnabled() const
{
    return m_controller.isEnabled();
}

void DropBoxVocabularySync::markFileAsNeedsSync(const Lexicarta &vocabulary)
{
    m_controller.markFileAsNeedsSync(vocabulary);
}

void DropBoxVocabularySync::syncWithDropbox()
{
    m_controller.syncWithDropbox();
}

std::optional<QString> DropBoxVocabularySync::syncStatusForVocabulary(const Lexicarta &vocabulary) const
{
    return m_syncLog.syncStatusForVocabulary(vocabulary);
}

} // namespace lexi
