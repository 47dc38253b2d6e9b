#include "CreationIdentifiers.h"

#include "platform/values/WholeNumbers.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <vector>

namespace lexi {

qint64 batchIdentifierBase(qint64 seconds, qint64 count)
{
    const qint64 factor = count <= 99 ? 100 : count <= 999 ? 1000 : count <= 9999 ? 10000 : 100000;
    // A clock may stand anywhere: the product is held to the signed 64-bit range.
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
