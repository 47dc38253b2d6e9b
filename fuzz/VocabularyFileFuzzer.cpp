#include "FuzzedVocabularies.h"

using namespace Qt::StringLiterals;

// Loads any bytes as an own-format vocabulary file: a bzip2 stream of a JSON document.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static lexi::fuzz::FuzzedVocabularies vocabularies(u"input.qlxv"_s);
    const QString &path = vocabularies.writeInput(data, size);
    lexi::fuzz::FuzzedVocabularies::checkLoaded(vocabularies.store().vocabularyFromQLXVFile(path));
    return 0;
}
