#pragma once

#include <QString>

#include <optional>

class Lexicarta;

namespace lexi {

// What the list shows of the synchronisation: whether it is on, and the vocabulary's status.
class VocabularySyncStatus
{
public:
    virtual ~VocabularySyncStatus() = default;
    virtual bool isEnabled() const = 0;
    // None while the vocabulary has no status yet.
    virtual std::optional<QString> syncStatusForVocabulary(const Lexicarta &vocabulary) const = 0;
};

} // namespace lexi
