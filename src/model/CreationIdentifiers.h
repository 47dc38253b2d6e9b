#pragma once

#include "QLXWord.h"

#include "platform/values/Date.h"

#include <QRandomGenerator>
#include <QSet>
#include <QtGlobal>

namespace lexi {

// Words are recognised across copies of a vocabulary by their creationID, so identifiers made
// here must not be made by another installation too. Older versions made them from the clock
// alone: whole seconds since 2001-01-01 UTC for a word added on its own, and seconds × 100 up to
// seconds × 100,000 (plus the word's place) for a batch, all below 2^49 for any clock before
// the year 2100 and beyond. Identifiers made now lie in [2^62, 2^63): bit 62 set, then the day
// since 2001-01-01 UTC in 16 bits (held to 0 ... 65,535), then 46 random bits from the system's
// random source. No older identifier reaches that range, and two installations give two words
// made on the same day the same identifier only once in 2^46 (7 × 10^13) pairs. Nothing reads
// an identifier as a time.
class CreationIdentifierMaker
{
public:
    // Every identifier made here.
    static constexpr qint64 firstIdentifier = qint64(1) << 62;
    static constexpr int randomBits = 46;

    // Makes identifiers that none of `words` has, for words made at `now`, with random bits from
    // `random` (which must outlive the maker).
    CreationIdentifierMaker(const WordList &words, Date now, QRandomGenerator &random = *QRandomGenerator::system());

    // A new identifier: none of the words has it, and it was not made here before.
    qint64 next();
    // The first of `count` consecutive new identifiers (at least one), for callers that number
    // a batch from a base.
    qint64 nextRange(qint64 count);

    // Whether `identifier` lies in the range identifiers are made in now.
    static bool isMadeHere(qint64 identifier) { return identifier >= firstIdentifier; }

private:
    QRandomGenerator &m_random;
    QSet<qint64> m_taken;
    qint64 m_dayBits;
};

} // namespace lexi
