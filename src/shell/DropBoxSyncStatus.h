#pragma once

#include "editor/VocabularySyncStatus.h"

class DropBoxController;
class QLXSyncLog;

namespace lexi {

// What the vocabulary list shows of the program's synchronisation controller and sync log.
class DropBoxSyncStatus final : public VocabularySyncStatus
{
public:
    DropBoxSyncStatus(const DropBoxController &controller, const QLXSyncLog &syncLog)
        : m_controller(controller), m_syncLog(syncLog)
    {
    }

    bool isEnabled() const override;
    std::optional<QString> syncStatusForVocabulary(const Lexicarta &vocabulary) const override;

private:
    const DropBoxController &m_controller;
    const QLXSyncLog &m_syncLog;
};

} // namespace lexi
