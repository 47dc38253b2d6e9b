#pragma once

#include "editor/VocabularySync.h"

class DropBoxController;
class QLXSyncLog;

namespace lexi {

// The program's synchronisation controller and sync log, as the vocabulary list sees them.
class DropBoxVocabularySync final : public VocabularySync
{
public:
    DropBoxVocabularySync(DropBoxController &controller, const QLXSyncLog &syncLog)
        : m_controller(controller), m_syncLog(syncLog)
    {
    }

    bool isEnabled() const override;
    void markFileAsNeedsSync(const Lexicarta &vocabulary) override;
    void syncWithDropbox() override;
    std::optional<QString> syncStatusForVocabulary(const Lexicarta &vocabulary) const override;

private:
    DropBoxController &m_controller;
    const QLXSyncLog &m_syncLog;
};

} // namespace lexi
