#pragma once

#include "QLXQuizletSet.h"

#include <QtGlobal>

#include <optional>

namespace lexi {

class VocabularyKeeper;

// What an import of a set did.
struct QuizletImportCounts
{
    qsizetype added = 0;
    // Terms equal to a word of the vocabulary, or to a term before them in the set.
    qsizetype alreadyThere = 0;

    friend bool operator==(const QuizletImportCounts &, const QuizletImportCounts &) = default;
};

// Imports the terms of `set` as new words into the vocabulary open in `keeper` at this moment:
// each term becomes a word of the service's term as your word and its definition as the foreign
// word (the other way round with `invertDirection`), without a comment, tagged with the set's
// title. A term equal to a word already there (same your and foreign word), or to an earlier term
// of the set, is left out. The words kept get creation identifiers numbered consecutively in the
// order of the set and are added in one batch; then the change is recorded through the keeper
// (needs sync, file marked, save handed over) even when nothing was added. No synchronisation is
// started. Equal words are found in one pass over the vocabulary against an index of the set's
// words built once, never by a search of the vocabulary per term.
//
// Nothing when no vocabulary is open.
std::optional<QuizletImportCounts> importQuizletSet(const QLXQuizletSet &set, bool invertDirection,
                                                    VocabularyKeeper &keeper);

} // namespace lexi
