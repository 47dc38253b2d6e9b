#include "VocabularySaver.h"

#include "model/QLXStorageManager.h"

namespace lexi {

bool StorageVocabularySaver::saveVocabulary(const Lexicarta &vocabulary)
{
    return m_storage.saveVocabulary(&vocabulary);
}

} // namespace lexi
