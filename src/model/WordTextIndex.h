#pragma once

#include "QLXWord.h"

#include <QHash>
#include <QString>
#include <QVarLengthArray>

#include <utility>
#include <vector>

namespace lexi {

// The listings of a vocabulary's words by their texts, for telling whether it holds a word equal
// to another (QLXWord::isEqualToWord(): the same foreign and your word, unit for unit, so case,
// spaces and accents count) without a pass over the words. Each listing is kept under the hash of
// the word's sides (QLXWord::sidesHash()); the words are compared themselves, so no text is
// copied, and every change of a listed word's sides must be told (moved()).
//
// The listings it is built from lie in one array sorted by hash, which a large vocabulary fills
// in slices at once, far faster than a hash table of as many entries; listings added since are
// kept in a hash table, and those taken out are only marked, until they are many next to the
// built ones and all are merged into the array again.
class WordTextIndex
{
public:
    explicit WordTextIndex(const WordList &words);

    bool containsWordEqualTo(const QLXWord &word) const;

    // One more listing of `word`.
    void add(const QLXWord &word);
    // Takes one listing of `word` out, listed with these texts.
    void remove(const QLXWord &word, const QString &foreignWord, const QString &yourWord);
    // Every listing of `word`, listed with these texts, goes to the texts it has now.
    void moved(const QLXWord &word, const QString &previousForeignWord, const QString &previousYourWord);

private:
    struct Listing
    {
        size_t hash;
        // None for a listing taken out.
        const QLXWord *word;
    };
    // The listings added of one hash: nearly always one.
    using Added = QVarLengthArray<const QLXWord *, 1>;

    static bool isBefore(const Listing &left, const Listing &right) { return left.hash < right.hash; }
    // The built listings of `hash`.
    std::pair<std::vector<Listing>::iterator, std::vector<Listing>::iterator> built(size_t hash);
    // Takes out up to `count` listings of `word` under `hash`; how many it took.
    qsizetype takeOut(const QLXWord &word, size_t hash, qsizetype count);
    // Merges the listings added into the built ones, without those taken out, when they are many.
    void mergeWhenMany();

    std::vector<Listing> m_built;
    qsizetype m_takenOut = 0;
    QHash<size_t, Added> m_added;
    qsizetype m_addedCount = 0;
};

} // namespace lexi
