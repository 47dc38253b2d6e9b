#include "FuzzedVocabularies.h"

#include <QJsonDocument>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

std::shared_ptr<Lexicarta> writtenAndReadAgain(const Lexicarta &vocabulary, const lexi::VocabularyServices &services)
{
    const auto read = Lexicarta::initWithDictionary(vocabulary.dictionaryRepresentation(), services);
    lexi::fuzz::FuzzedVocabularies::checkLoaded(read);
    return read;
}

} // namespace

// Reads any bytes as the JSON document of a vocabulary. What was read is written and read again
// twice: from the first writing on, which cuts fractions of seconds, nothing may change.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static lexi::fuzz::FuzzedVocabularies vocabularies(u"unused"_s);
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!document.isObject())
        return 0;
    const auto read = Lexicarta::initWithDictionary(document.object(), vocabularies.services());
    lexi::fuzz::FuzzedVocabularies::checkLoaded(read);
    const auto once = writtenAndReadAgain(*read, vocabularies.services());
    const auto twice = writtenAndReadAgain(*once, vocabularies.services());
    const lexi::WordList words = once->allWords();
    const lexi::WordList wordsAgain = twice->allWords();
    if (words.size() != read->countAllWords() || words.size() != wordsAgain.size())
        std::abort();
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (!words[i]->isAllPropertiesEqual(*wordsAgain[i]))
            std::abort();
    }
    return 0;
}
