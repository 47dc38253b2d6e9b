#include "FuzzedVocabularies.h"

using namespace Qt::StringLiterals;

// Loads any bytes as a vocabulary archive of the older product: a keyed archive in a binary or
// XML property list.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static lexi::fuzz::FuzzedVocabularies vocabularies(u"input.tbf"_s);
    const QString &path = vocabularies.writeInput(data, size);
    lexi::fuzz::FuzzedVocabularies::checkLoaded(vocabularies.store().vocabularyFromTBFFile(path));
    return 0;
}
