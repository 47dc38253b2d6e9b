#include "TagIndex.h"

#include "platform/dispatch/ConcurrentSlices.h"

#include <QHash>

#include <algorithm>
#include <numeric>

namespace lexi {

namespace {

// The tags of some words: each text once, in the order first met, and how many words carry it.
struct TagUses
{
    QStringList tags;
    std::vector<qsizetype> uses;
};

TagUses countTags(const WordList &words, qsizetype begin, qsizetype end)
{
    // Words loaded or imported together share their tags' texts: a text met before is found by
    // its address, and only a text not met before is hashed.
    QHash<const QChar *, qsizetype> positionsOfTexts;
    QHash<QString, qsizetype> positions;
    TagUses counted;
    for (qsizetype i = begin; i < end; ++i) {
        for (const QString &tag : words[i]->tags()) {
            auto known = positionsOfTexts.constFind(tag.constData());
            if (known == positionsOfTexts.cend() || counted.tags[*known].size() != tag.size()) {
                auto found = positions.constFind(tag);
                if (found == positions.cend()) {
                    found = positions.insert(tag, counted.tags.size());
                    counted.tags.append(tag);
                    counted.uses.push_back(0);
                }
                known = positionsOfTexts.insert(tag.constData(), *found);
            }
            ++counted.uses[std::size_t(*known)];
        }
    }
    return counted;
}

} // namespace

TagIndex::TagIndex(const WordList &words)
{
    // A large vocabulary's words are counted in slices at once; the slices are added up in order,
    // so that the order first met stays that of the words.
    const std::vector<TagUses> slices = dispatch::mapSlices(
        words.size(), [&words](qsizetype begin, qsizetype end) { return countTags(words, begin, end); });
    QHash<QString, qsizetype> positions;
    std::vector<qsizetype> useCounts;
    for (const TagUses &slice : slices) {
        for (qsizetype i = 0; i < slice.tags.size(); ++i) {
            auto found = positions.constFind(slice.tags[i]);
            if (found == positions.cend()) {
                found = positions.insert(slice.tags[i], m_allTags.size());
                m_allTags.append(slice.tags[i]);
                useCounts.push_back(0);
            }
            useCounts[std::size_t(*found)] += slice.uses[std::size_t(i)];
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
