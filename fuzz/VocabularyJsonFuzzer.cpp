#include "FuzzedVocabularies.h"

#include "model/QLXStorageManager.h"
#include "model/VocabularyJsonReader.h"
#include "model/VocabularyJsonWriter.h"
#include "model/VocabularySnapshot.h"

#include <QJsonDocument>

#include <cstdlib>

using namespace Qt::StringLiterals;
using Outcome = lexi::VocabularyJsonReader::Outcome;

namespace {

std::shared_ptr<Lexicarta> writtenAndReadAgain(const Lexicarta &vocabulary, const lexi::VocabularyServices &services)
{
    const QByteArray json = lexi::VocabularyJsonWriter::json(lexi::VocabularySnapshot(vocabulary));
    const lexi::VocabularyJsonReader::Result read =
        lexi::VocabularyJsonReader::read(json, services, QLXStorageManager::maximumWordCount);
    if (read.outcome != Outcome::read)
        std::abort();
    lexi::fuzz::FuzzedVocabularies::checkLoaded(read.vocabulary);
    return read.vocabulary;
}

} // namespace

// Reads any bytes as the JSON text of a vocabulary, whole and in small pieces, and checks that what
// the reader takes it reads as QJsonDocument reads the same text, by the same rules. What was read is
// written and read again twice: from the first writing on, which cuts fractions of seconds and
// replaces lone surrogates, nothing may change.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static lexi::fuzz::FuzzedVocabularies vocabularies(u"unused"_s);
    const lexi::VocabularyServices &services = vocabularies.services();
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));

    const lexi::VocabularyJsonReader::Result read =
        lexi::VocabularyJsonReader::read(json, services, QLXStorageManager::maximumWordCount);
    qsizetype position = 0;
    const lexi::VocabularyJsonReader::Result readInPieces = lexi::VocabularyJsonReader::read(
        [&json, &position] {
            const QByteArray piece = json.mid(position, 3);
            position += piece.size();
            return piece;
        },
        services, QLXStorageManager::maximumWordCount);

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    const bool treeReads = error.error == QJsonParseError::NoError && document.isObject()
                           && Lexicarta::isVocabularyDocument(document.object());
    // A text the reader refuses goes to QJsonDocument after all (see QLXStorageManager).
    if (read.outcome == Outcome::refused)
        return 0;
    if (treeReads) {
        if (read.outcome != Outcome::read)
            std::abort();
        if (read.vocabulary->dictionaryRepresentation()
            != Lexicarta::initWithDictionary(document.object(), services)->dictionaryRepresentation())
            std::abort();
    } else if (error.error == QJsonParseError::NoError && read.outcome == Outcome::read) {
        std::abort();
    }
    // In pieces, only numbers too large for a double are left to the whole text's reader.
    if (readInPieces.outcome != read.outcome && readInPieces.outcome != Outcome::refused)
        std::abort();
    if (readInPieces.outcome == Outcome::read
        && readInPieces.vocabulary->dictionaryRepresentation() != read.vocabulary->dictionaryRepresentation())
        std::abort();
    if (read.outcome != Outcome::read)
        return 0;

    lexi::fuzz::FuzzedVocabularies::checkLoaded(read.vocabulary);
    const auto once = writtenAndReadAgain(*read.vocabulary, services);
    const auto twice = writtenAndReadAgain(*once, services);
    const lexi::WordList words = once->allWords();
    const lexi::WordList wordsAgain = twice->allWords();
    if (words.size() != read.vocabulary->countAllWords() || words.size() != wordsAgain.size())
        std::abort();
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (!words[i]->isAllPropertiesEqual(*wordsAgain[i]))
            std::abort();
    }
    return 0;
}
