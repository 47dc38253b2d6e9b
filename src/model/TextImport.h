#pragma once

#include "Lexicarta.h"
#include "QLXWord.h"

#include <QString>

#include <optional>

namespace lexi {

class WorkProgress;

// What an import did to the vocabulary it went into.
struct ImportCount
{
    qsizetype added = 0;
    qsizetype alreadyThere = 0;

    friend bool operator==(const ImportCount &, const ImportCount &) = default;
};

// The words of a text file chosen for import, read once: the preview of its first words, the
// direction it is read in, and adding the words a vocabulary does not hold yet.
class TextImport
{
public:
    // Reads the file at `path` (see TextVocabularyParser), its first two columns swapped when
    // `invertDirection`, telling `progress` (when there is one) how far it has come. Reads the
    // whole file: not on the main thread.
    static TextImport read(const QString &path, bool invertDirection, WorkProgress *progress = nullptr);

    // Why the file gave no words: it could not be read, or it is no text.
    const std::optional<QString> &failure() const { return m_failure; }
    const WordList &words() const { return m_words; }

    bool invertDirection() const { return m_invertDirection; }
    // Reads the words the other way round from the words already read, not from the file: the
    // two sides of every word change places, so choosing one direction and then the other gives
    // the first reading back.
    void setInvertDirection(bool invert);

    // The foreign words, and your words, of the first three words, each followed by a line
    // break, then "...".
    QString foreignPreview() const;
    QString yourPreview() const;

    // Adds the words that `vocabulary` holds no equal word of (same foreign and your word), in
    // order, numbered from one base taken for all the words read; a word that the file holds
    // twice is added twice. The vocabulary's words are looked through once, whatever
    // the number of words read. The word objects themselves go into the vocabulary.
    ImportCount addNewWordsTo(Lexicarta &vocabulary);
    // The choosing and numbering of addNewWordsTo() on another thread, from what `addition` took
    // of the vocabulary: the words to add are appended to it, for Lexicarta::addPrepared() on the
    // vocabulary's thread.
    ImportCount chooseNewWords(Lexicarta::PreparedAddition &addition) const;

private:
    TextImport(WordList words, std::optional<QString> failure, bool invertDirection);

    WordList m_words;
    std::optional<QString> m_failure;
    bool m_invertDirection;
};

} // namespace lexi
