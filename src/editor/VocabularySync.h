#pragma once

#include <QString>

#include <optional>

class Lexicarta;

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

} // namespace lexi
