#include "CreationIdentifiers.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace lexi {

namespace {

// The last day field is that of derived identifiers.
constexpr qint64 lastDay = 0xFFFE;

} // namespace

namespace {

QList<qint64> identifiersOf(const WordList &words)
{
    QList<qint64> identifiers;
    identifiers.reserve(words.size());
    for (const std::shared_ptr<QLXWord> &word : words) {
        if (word)
            identifiers.append(word->creationID());
    }
    return identifiers;
}

} // namespace

CreationIdentifierMaker::CreationIdentifierMaker(const WordList &words, Date now, QRandomGenerator &random)
    : CreationIdentifierMaker(random, identifiersOf(words), now)
{
}

CreationIdentifierMaker CreationIdentifierMaker::forIdentifiers(const QList<qint64> &identifiers, Date now,
                                                                QRandomGenerator &random)
{
    return CreationIdentifierMaker(random, identifiers, now);
}

CreationIdentifierMaker::CreationIdentifierMaker(QRandomGenerator &random, const QList<qint64> &identifiers, Date now)
    : m_random(random)
{
    m_taken.reserve(identifiers.size());
    for (const qint64 identifier : identifiers) {
        if (isMadeHere(identifier))
            m_taken.insert(identifier);
    }
    m_dayBits = dayBits(now);
}

qint64 CreationIdentifierMaker::dayBits(Date now)
{
    // A clock before 2001, beyond the year 2180 or not a number at all still gives identifiers in
    // the range.
    const double days = std::floor(now.secondsSinceReferenceDate() / 86400.0);
    const qint64 day = std::isfinite(days) ? qint64(std::clamp(days, 0.0, double(lastDay))) : 0;
    return firstIdentifier | (day << randomBits);
}

qint64 CreationIdentifierMaker::nextNotIn(const QSet<qint64> &taken, Date now, QRandomGenerator &random)
{
    constexpr quint64 randomRange = quint64(1) << randomBits;
    const qint64 bits = dayBits(now);
    for (;;) {
        const qint64 identifier = bits | qint64(random.generate64() % randomRange);
        if (!taken.contains(identifier))
            return identifier;
    }
}

qint64 derivedCreationID(qint64 identifier, const QString &foreignWord, const QString &yourWord, qint64 occurrence)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QByteArray separator(1, '\0');
    for (const QByteArray &part : {QByteArray::number(identifier), foreignWord.toUtf8(), yourWord.toUtf8(),
                                   QByteArray::number(occurrence)}) {
        hash.addData(part);
        hash.addData(separator);
    }
    const quint64 bits = qFromBigEndian<quint64>(hash.result().constData());
    constexpr quint64 hashMask = (quint64(1) << CreationIdentifierMaker::randomBits) - 1;
    return CreationIdentifierMaker::derivedMask | qint64(bits & hashMask);
}

qint64 derivedCreationID(const QLXWord &word)
{
    return derivedCreationID(word.creationID(), word.foreignWord(), word.yourWord());
}

qint64 CreationIdentifierMaker::next()
{
    return nextRange(1);
}

qint64 CreationIdentifierMaker::nextRange(qint64 count)
{
    constexpr quint64 randomRange = quint64(1) << randomBits;
    const quint64 size = quint64(std::clamp<qint64>(count, 1, qint64(randomRange / 2)));
    for (;;) {
        const qint64 first = m_dayBits | qint64((m_random.generate64() % (randomRange - size + 1)));
        bool free = true;
        for (quint64 offset = 0; offset < size && free; ++offset)
            free = !m_taken.contains(first + qint64(offset));
        if (!free)
            continue;
        for (quint64 offset = 0; offset < size; ++offset)
            m_taken.insert(first + qint64(offset));
        return first;
    }
}

} // namespace lexi
