#pragma once

#include <QString>

#include <optional>

class DropBoxController;
class Lexicarta;
class QLXSyncLog;

namespace lexi {

// What the list asks of the synchronisation: mark a changed vocabulary, request a run, show the
// vocabulary's sync status.
class VocabularySync
{
public:
    virtual ~VocabularySync() = default;
    virtual bool isEnabled() const = 0;
    virtual void markFileAsNeedsSync(const Lexicarta &vocabulary) = 0;
    virtual void syncWithDropbox() = 0;
    // None while the vocabulary has no status yet.
    virtual std::optional<QString> syncStatusForVocabulary(const Lexicarta &vocabulary) const = 0;
};

// The program's synchronisation controller and sync log.
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
