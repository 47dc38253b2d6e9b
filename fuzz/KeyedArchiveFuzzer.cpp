#include "FuzzedVocabularies.h"

#include "model/Lexicarta.h"
#include "platform/plist/KeyedArchive.h"

#include <cstdlib>

using namespace Qt::StringLiterals;

// Loads any bytes as a vocabulary archive of the older product: a keyed archive in a binary or
// XML property list. What loads is archived again, and that archive must read back.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static lexi::fuzz::FuzzedVocabularies vocabularies(u"input.tbf"_s);
    const QString &path = vocabularies.writeInput(data, size);
    const std::shared_ptr<Lexicarta> vocabulary = vocabularies.store().vocabularyFromTBFFile(path);
    lexi::fuzz::FuzzedVocabularies::checkLoaded(vocabulary);
    if (!vocabulary)
        return 0;
    const auto archive = lexi::KeyedArchive::fromData(lexi::KeyedArchive::archivedData(*vocabulary));
    if (!archive || !archive->rootObjectDecoder(Lexicarta::archiveClassName))
        std::abort();
    return 0;
}
