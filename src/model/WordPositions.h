#pragma once

#include "QLXWord.h"

#include <QHash>

#include <optional>

namespace lexi {

// Where each word stands in a list of words, as a number that grows along the list. It stays
// true while the list only loses words or gains them at its end, so that a word's place among
// others is found without a pass over the list.
class WordPositions
{
public:
    explicit WordPositions(const WordList &words);

    // None for a word not listed; the first place of a word listed more than once.
    std::optional<qint64> positionOf(const QLXWord &word) const;
    // How often the word object is listed.
    qsizetype listings(const QLXWord &word) const { return listingsAt(&word); }
    // The same for a word known by its address alone, which may be that of a word gone since.
    qsizetype listingsAt(const QLXWord *address) const;

    // The word was appended; returns its position.
    qint64 append(const QLXWord &word);
    // One listing of the word went.
    void remove(const QLXWord &word);

private:
    struct Entry
    {
        qint64 position;
        qsizetype listings;
    };

    QHash<const QLXWord *, Entry> m_entries;
    qint64 m_next = 0;
};

} // namespace lexi
