#include "TagIndex.h"

#include <QHash>

#include <algorithm>
#include <numeric>

namespace lexi {

TagIndex::TagIndex(const WordList &words)
{
    QHash<QString, qsizetype> positions;
    std::vector<qsizetype> useCounts;
    for (const std::shared_ptr<QLXWord> &word : words) {
        for (const QString &tag : word->tags()) {
            auto found = positions.constFind(tag);
            if (found == positions.cend()) {
                found = positions.insert(tag, m_allTags.size());
                m_allTags.append(tag);
                useCounts.push_back(0);
            }
            ++useCounts[*found];
        }
    }

    std::vector<qsizetype> order(m_allTags.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&useCounts](qsizetype left, qsizetype right) { return useCounts[left] > useCounts[right]; });
    m_byUse.reserve(m_allTags.size());
    m_byText.reserve(order.size());
    for (qsizetype rank = 0; rank < qsizetype(order.size()); ++rank) {
        m_byUse.append(m_allTags[order[rank]]);
        m_byText.push_back({m_allTags[order[rank]], rank});
    }
    std::sort(m_byText.begin(), m_byText.end(),
              [](const Entry &left, const Entry &right) { return left.tag < right.tag; });
}

std::optional<QStringList> TagIndex::completions(const QString &prefix) const
{
    if (prefix.isEmpty())
        return std::nullopt;
    std::vector<qsizetype> ranks;
    auto entry = std::lower_bound(m_byText.cbegin(), m_byText.cend(), prefix,
                                  [](const Entry &candidate, const QString &text) { return candidate.tag < text; });
    for (; entry != m_byText.cend() && entry->tag.startsWith(prefix); ++entry) {
        if (entry->tag.size() > prefix.size())
            ranks.push_back(entry->rank);
    }
    if (ranks.empty())
        return std::nullopt;
    std::sort(ranks.begin(), ranks.end());
    QStringList tags;
    tags.reserve(qsizetype(ranks.size()));
    for (const qsizetype rank : ranks)
        tags.append(m_byUse[rank]);
    return tags;
}

} // namespace lexi
