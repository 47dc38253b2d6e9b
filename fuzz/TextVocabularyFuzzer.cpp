#include "model/TextVocabularyParser.h"
#include "platform/ports/Console.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

// Reads any bytes as a text file of words, both ways round. Each input is written to the same
// file, since the reader starts from a file as the import does.

namespace {
QString inputPath;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static QTemporaryDir folder;
    if (!folder.isValid())
        std::abort();
    inputPath = folder.filePath(u"input.csv"_s);
    // The reader reports its choice on the console for every input.
    lexi::Console::setSink([](const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QFile file(inputPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    file.close();

    lexi::TextVocabularyParser parser;
    const lexi::WordList words = parser.wordsFromCSVFile(inputPath, false).words;
    const lexi::WordList inverted = parser.wordsFromCSVFile(inputPath, true).words;
    // Swapping the columns swaps the sides of the same pairs of alternatives.
    if (words.size() != inverted.size() || words.size() > lexi::TextVocabularyParser::maximumWordCount)
        std::abort();
    qsizetype tags = 0;
    for (const auto &word : words)
        tags += word->tags().size();
    if (tags > lexi::TextVocabularyParser::maximumTagCount)
        std::abort();
    return 0;
}
