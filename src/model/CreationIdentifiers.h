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
// since 2001-01-01 UTC in 16 bits (held to 0 ... 65,534), then 46 random bits from the system's
// random source. No older identifier reaches that range, and two installations give two words
// made on the same day the same identifier only once in 2^46 (7 × 10^13) pairs. Nothing reads
// an identifier as a time.
//
// Where a word's identifier must be the same on every installation without one having told the
// others, it is derived from the word (derivedCreationID()): bit 62 set, the day field at 65,535,
// which no identifier made here has, and 46 bits of a hash of what it is derived from.
class CreationIdentifierMaker
{
public:
    // Every identifier made here.
    static constexpr qint64 firstIdentifier = qint64(1) << 62;
    static constexpr int randomBits = 46;

    // Makes identifiers that none of `words` has, for words made at `now`, with random bits from
    // `random` (which must outlive the maker).
    CreationIdentifierMaker(const WordList &words, Date now, QRandomGenerator &random = *QRandomGenerator::system());
    // The same for words with these identifiers.
    static CreationIdentifierMaker forIdentifiers(const QList<qint64> &identifiers, Date now,
                                                  QRandomGenerator &random = *QRandomGenerator::system());

    // A new identifier: none of the words has it, and it was not made here before.
    qint64 next();
    // A new identifier for a word made at `now`, none of `taken`: for a caller that keeps the
    // identifiers in use itself.
    static qint64 nextNotIn(const QSet<qint64> &taken, Date now, QRandomGenerator &random = *QRandomGenerator::system());
    // The first of `count` consecutive new identifiers (at least one), for callers that number
    // a batch from a base.
    qint64 nextRange(qint64 count);

    // Whether `identifier` lies in the range identifiers are made (or derived) in now.
    static bool isMadeHere(qint64 identifier) { return identifier >= firstIdentifier; }

    // Whether `identifier` was derived (see derivedCreationID()).
    static bool isDerived(qint64 identifier) { return (identifier & derivedMask) == derivedMask; }

private:
    CreationIdentifierMaker(QRandomGenerator &random, const QList<qint64> &identifiers, Date now);

    static constexpr qint64 derivedMask = firstIdentifier | (qint64(0xFFFF) << randomBits);
    // The bits above the random ones of identifiers made at `now`.
    static qint64 dayBits(Date now);

    friend qint64 derivedCreationID(qint64, const QString &, const QString &, qint64);

    QRandomGenerator &m_random;
    QSet<qint64> m_taken;
    qint64 m_dayBits;
};

// The identifier derived from a word's identifier, its foreign and its your word, the same on
// every installation: for a word stored without one (identifier 0), the `occurrence`-th word
// (from 0) of that text among those of its vocabulary, and for one of two different words that
// share an identifier.
qint64 derivedCreationID(qint64 identifier, const QString &foreignWord, const QString &yourWord,
                         qint64 occurrence = 0);
// derivedCreationID() of the word with its own identifier and text.
qint64 derivedCreationID(const QLXWord &word);

} // namespace lexi
