#pragma once

#include "VocabularyServices.h"

#include <QByteArray>

#include <functional>
#include <memory>

class Lexicarta;

namespace lexi {

// Reads the JSON text of the own file format straight into a vocabulary, as it is parsed, with
// no document tree in between. It reads what Lexicarta::initWithDictionary() reads from the same
// document, by the same rules: values of the wrong type read as missing, negative counters as 0,
// implausible dates as none, the last of two equal keys counts; a number that does not fit a
// double (1e400) reads as missing too.
class VocabularyJsonReader
{
public:
    enum class Outcome {
        read,
        // JSON, but no vocabulary's document (see Lexicarta::isVocabularyDocument()).
        notAVocabulary,
        // Not JSON this reader takes: damaged, not UTF-8, or with what only QJsonDocument takes
        // (an escaped lone high surrogate, a control character not escaped in a string); read in
        // pieces, also a text with a number too large for a double, which only the whole text's
        // reader takes.
        refused,
        // More words, or more daily snapshots, than the limit given: refused once the first one
        // beyond it is read, and no other reader need try.
        tooLarge,
    };

    struct Result
    {
        Outcome outcome = Outcome::refused;
        // Only when read.
        std::shared_ptr<Lexicarta> vocabulary;
    };

    // The text in pieces, in order; an empty piece ends it.
    using Source = std::function<QByteArray()>;

    // At most `countLimit` words and as many daily snapshots are read.
    static Result read(const Source &source, const VocabularyServices &services, qsizetype countLimit);
    // The whole text at once: a text refused for a number too large for a double is read again
    // with such numbers taken as missing.
    static Result read(const QByteArray &json, const VocabularyServices &services, qsizetype countLimit);
};

} // namespace lexi
