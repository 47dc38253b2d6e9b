#include "FuzzedVocabularies.h"

#include "model/Bzip2.h"

#include <QBuffer>

#include <algorithm>
#include <cstring>

using namespace Qt::StringLiterals;

extern "C" size_t LLVMFuzzerMutate(uint8_t *data, size_t size, size_t maxSize);

// Loads any bytes as an own-format vocabulary file: a bzip2 stream of a JSON document.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static lexi::fuzz::FuzzedVocabularies vocabularies(u"input.qlxv"_s);
    const QString &path = vocabularies.writeInput(data, size);
    lexi::fuzz::FuzzedVocabularies::checkLoaded(vocabularies.store().vocabularyFromQLXVFile(path));
    return 0;
}

// Every other change is made to the document inside a stream that unpacks, packed again, so that
// inputs get past bzip2's checks to the document; the others change the bytes themselves.
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t *data, size_t size, size_t maxSize, unsigned int seed)
{
    if (seed % 2 == 0) {
        QByteArray packed(reinterpret_cast<const char *>(data), qsizetype(size));
        QBuffer input(&packed);
        input.open(QIODevice::ReadOnly);
        lexi::Bzip2::Decompressed document = lexi::Bzip2::decompressed(input, 1 << 20);
        if (!document.failure) {
            const qsizetype documentSize = document.data.size();
            document.data.resize(std::max<qsizetype>(documentSize * 2, 4096));
            document.data.resize(qsizetype(LLVMFuzzerMutate(reinterpret_cast<uint8_t *>(document.data.data()),
                                                            size_t(documentSize), size_t(document.data.size()))));
            const std::optional<QByteArray> repacked = lexi::Bzip2::compressed(document.data);
            if (repacked && size_t(repacked->size()) <= maxSize) {
                std::memcpy(data, repacked->constData(), size_t(repacked->size()));
                return size_t(repacked->size());
            }
        }
    }
    return LLVMFuzzerMutate(data, size, maxSize);
}
