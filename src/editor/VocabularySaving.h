#pragma once

class Lexicarta;
class QLXStorageManager;

namespace lexi {

// Where the list and the word popover hand a changed vocabulary to be saved.
class VocabularySaving
{
public:
    virtual ~VocabularySaving() = default;
    // False when the save failed (the storage has told the learner).
    virtual bool saveVocabulary(const Lexicarta &vocabulary) = 0;
};

// Saves at once through the storage manager.
class StorageVocabularySaving final : public VocabularySaving
{
public:
    explicit StorageVocabularySaving(QLXStorageManager &storage) : m_storage(storage) {}
    bool saveVocabulary(const Lexicarta &vocabulary) override;

private:
    QLXStorageManager &m_storage;
};

} // namespace lexi
