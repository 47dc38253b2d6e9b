#pragma once

class Lexicarta;
class QLXStorageManager;

namespace lexi {

// Where the list and the word popover hand a changed vocabulary to be saved.
class VocabularySaver
{
public:
    virtual ~VocabularySaver() = default;
    // False when the save failed (the storage has told the learner).
    virtual bool saveVocabulary(const Lexicarta &vocabulary) = 0;
};

// Saves at once through the storage manager.
class StorageVocabularySaver final : public VocabularySaver
{
public:
    explicit StorageVocabularySaver(QLXStorageManager &storage) : m_storage(storage) {}
    bool saveVocabulary(const Lexicarta &vocabulary) override;

private:
    QLXStorageManager &m_storage;
};

} // namespace lexi
