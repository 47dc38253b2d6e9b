#include "WordTextIndex.h"

#include "platform/dispatch/ConcurrentSlices.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace lexi {

WordTextIndex::WordTextIndex(const WordList &words)
{
    std::vector<std::vector<Listing>> slices =
        dispatch::mapSlices(words.size(), [&words](qsizetype begin, qsizetype end) {
            std::vector<Listing> listings;
            listings.reserve(std::size_t(end - begin));
            for (qsizetype i = begin; i < end; ++i)
                listings.push_back({words[i]->sidesHash(), words[i].get()});
            std::sort(listings.begin(), listings.end(), isBefore);
            return listings;
        });
    m_built = std::move(slices.front());
    for (auto slice = std::next(slices.begin()); slice != slices.end(); ++slice) {
        std::vector<Listing> merged;
        merged.reserve(m_built.size() + slice->size());
        std::merge(m_built.cbegin(), m_built.cend(), slice->cbegin(), slice->cend(), std::back_inserter(merged), isBefore);
        m_built = std::move(merged);
    }
}

std::pair<std::vector<WordTextIndex::Listing>::iterator, std::vector<WordTextIndex::Listing>::iterator>
WordTextIndex::built(size_t hash)
{
    return std::equal_range(m_built.begin(), m_built.end(), Listing{hash, nullptr}, isBefore);
}

bool WordTextIndex::containsWordEqualTo(const QLXWord &word) const
{
    const size_t hash = word.sidesHash();
    const auto isEqual = [&word](const QLXWord *listed) { return listed && listed->isEqualToWord(word); };
    const auto [first, last] = std::equal_range(m_built.cbegin(), m_built.cend(), Listing{hash, nullptr}, isBefore);
    if (std::any_of(first, last, [&isEqual](const Listing &listing) { return isEqual(listing.word); }))
        return true;
    const auto added = m_added.constFind(hash);
    return added != m_added.cend() && std::any_of(added->cbegin(), added->cend(), isEqual);
}

void WordTextIndex::add(const QLXWord &word)
{
    m_added[word.sidesHash()].append(&word);
    ++m_addedCount;
    mergeWhenMany();
}

qsizetype WordTextIndex::takeOut(const QLXWord &word, size_t hash, qsizetype count)
{
    qsizetype taken = 0;
    if (const auto added = m_added.find(hash); added != m_added.end()) {
        for (qsizetype i = added->size() - 1; i >= 0 && taken < count; --i) {
            if (added->at(i) == &word) {
                added->remove(i);
                ++taken;
            }
        }
        m_addedCount -= taken;
        if (added->isEmpty())
            m_added.erase(added);
    }
    const auto [first, last] = built(hash);
    for (auto listing = first; listing != last && taken < count; ++listing) {
        if (listing->word == &word) {
            listing->word = nullptr;
            ++m_takenOut;
            ++taken;
        }
    }
    return taken;
}

void WordTextIndex::remove(const QLXWord &word, const QString &foreignWord, const QString &yourWord)
{
    takeOut(word, QLXWord::sidesHash(foreignWord, yourWord), 1);
    mergeWhenMany();
}

void WordTextIndex::moved(const QLXWord &word, const QString &previousForeignWord, const QString &previousYourWord)
{
    const size_t previous = QLXWord::sidesHash(previousForeignWord, previousYourWord);
    const size_t now = word.sidesHash();
    if (previous == now)
        return;
    const qsizetype listings = takeOut(word, previous, std::numeric_limits<qsizetype>::max());
    if (listings == 0)
        return;
    Added &added = m_added[now];
    for (qsizetype i = 0; i < listings; ++i)
        added.append(&word);
    m_addedCount += listings;
    mergeWhenMany();
}

namespace {

// The listings added or taken out that are left beside the built ones: a merge, one pass over
// all listings, then comes once in as many changes as a quarter of the listings.
constexpr qsizetype fewestChangesMerged = 64;

} // namespace

void WordTextIndex::mergeWhenMany()
{
    const qsizetype changes = m_addedCount + m_takenOut;
    if (changes < std::max(fewestChangesMerged, qsizetype(m_built.size()) / 4))
        return;
    std::vector<Listing> added;
    added.reserve(std::size_t(m_addedCount));
    for (auto listings = m_added.cbegin(); listings != m_added.cend(); ++listings) {
        for (const QLXWord *word : *listings)
            added.push_back({listings.key(), word});
    }
    std::sort(added.begin(), added.end(), isBefore);
    std::vector<Listing> merged;
    merged.reserve(m_built.size() - std::size_t(m_takenOut) + added.size());
    const auto kept = std::remove_if(m_built.begin(), m_built.end(), [](const Listing &listing) { return !listing.word; });
    std::merge(m_built.begin(), kept, added.cbegin(), added.cend(), std::back_inserter(merged), isBefore);
    m_built = std::move(merged);
    m_takenOut = 0;
    m_added.clear();
    m_addedCount = 0;
}

} // namespace lexi
