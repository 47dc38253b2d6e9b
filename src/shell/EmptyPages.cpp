#include "EmptyPages.h"

#include "model/QLXStorageManager.h"

namespace lexi {

EmptyVocabularyListPage::EmptyVocabularyListPage(QLXStorageManager &storage) : m_storage(storage) {}

void EmptyVocabularyListPage::reloadVocabularyFromDisk()
{
    if (!m_vocabulary)
        return;
    const std::optional<QString> path = m_storage.savePathForVocabulary(*m_vocabulary);
    if (!path)
        return;
    if (std::shared_ptr<Lexicarta> reloaded = m_storage.vocabularyFromFile(*path))
        m_vocabulary = std::move(reloaded);
}

} // namespace lexi
