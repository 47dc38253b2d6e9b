#pragma once

#include "QLXWord.h"

#include <QtGlobal>

namespace lexi {

// Words are recognised across copies of a vocabulary by their creationID. A word added on its own
// gets the current second (since 2001-01-01 UTC); a batch of words gets a base far above that,
// numbered base, base + 1, ...

// The base of a batch of `count` words made `seconds` after the reference date: seconds × 100 for
// up to 99 words, × 1000 up to 999, × 10000 up to 9999 and × 100000 for more.
qint64 batchIdentifierBase(qint64 seconds, qint64 count);

// The first of `count` consecutive identifiers from `candidate` on that no word of `words` has.
qint64 firstFreeIdentifiers(const WordList &words, qint64 candidate, qint64 count);

// Reserves `count` identifiers for a batch: the first free ones in `words` from `candidate` on,
// and above every range reserved before in this process, so that two batches made in the same
// second never share an identifier, whichever vocabulary or copy they go into. Safe from any
// thread.
qint64 reserveBatchIdentifiers(const WordList &words, qint64 candidate, qint64 count);

} // namespace lexi
