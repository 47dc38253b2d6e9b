#include "CreationIdentifiers.h"

#include "platform/WholeNumbers.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <vector>

namespace lexi {

namespace {

// Products held to the signed 64-bit range: a clock may stand anywhere.
qint64 saturatingMultiply(qint64 left, qint64 right)
{
    qint64 result = 0;
    if (__builtin_mul_overflow(left, right, &result))
        return (left < 0) == (right < 0) ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return result;
}

} // namespace

qint64 batchIdentifierBase(qint64 seconds, qint64 count)
{
    const qint64 factor = count <= 99 ? 100 : count <= 999 ? 1000 : count <= 9999 ? 10000 : 100000;
    return saturatingMultiply(seconds, factor);
}

qint64 firstFreeIdentifiers(const WordList &words, qint64 candidate, qint64 count)
{
    if (count <= 0)
        return candidate;
    // Each word can push the range past its own identifier only once, so the range ends below
    // this limit and identifiers beyond it are never in the way.
    const qint64 limit = saturatingAdd(candidate, saturatingMultiply(words.size() + 1, count));
    std::vector<qint64> inTheWay;
    for (const std::shared_ptr<QLXWord> &word : words) {
        if (word->creationID() >= candidate && word->creationID() < limit)
            inTheWay.push_back(word->creationID());
    }
    std::sort(inTheWay.begin(), inTheWay.end());
    qint64 first = candidate;
    for (const qint64 taken : inTheWay) {
        if (taken >= saturatingAdd(first, count))
            break;
        if (taken >= first)
            first = taken + 1;
    }
    return first;
}

qint64 reserveBatchIdentifiers(const WordList &words, qint64 candidate, qint64 count)
{
    static constinit std::mutex mutex;
    static constinit qint64 nextUnreserved = std::numeric_limits<qint64>::min();
    const std::scoped_lock lock(mutex);
    const qint64 first = firstFreeIdentifiers(words, std::max(candidate, nextUnreserved), count);
    nextUnreserved = saturatingAdd(first, std::max<qint64>(count, 0));
    return first;
}

} // namespace lexi
