#include "VocabularySaving.h"

#include "model/QLXStorageManager.h"

namespace lexi {

bool StorageVocabularySaving::saveVocabulary(const Lexicarta &vocabulary)
{
    return m_storage.saveVocabulary(&vocabulary);
}

} // namespace lexi
