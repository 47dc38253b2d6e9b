#include "WordPositions.h"

namespace lexi {

WordPositions::WordPositions(const WordList &words)
{
    m_entries.reserve(words.size());
    for (const std::shared_ptr<QLXWord> &word : words)
        append(*word);
}

std::optional<qint64> WordPositions::positionOf(const QLXWord &word) const
{
    const auto found = m_entries.constFind(&word);
    if (found == m_entries.cend())
        return std::nullopt;
    return found->position;
}

qsizetype WordPositions::listingsAt(const QLXWord *address) const
{
    return m_entries.value(address, {0, 0}).listings;
}

qint64 WordPositions::append(const QLXWord &word)
{
    auto entry = m_entries.find(&word);
    if (entry == m_entries.end())
        entry = m_entries.insert(&word, {m_next, 0});
    ++entry->listings;
    return m_next++;
}

void WordPositions::remove(const QLXWord &word)
{
    const auto found = m_entries.find(&word);
    if (found != m_entries.end() && --found->listings <= 0)
        m_entries.erase(found);
}

} // namespace lexi
