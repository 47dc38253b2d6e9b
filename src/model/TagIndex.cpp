#include "TagIndex.h"

#include "platform/dispatch/ConcurrentSlices.h"

#include <QHash>

#include <algorithm>
#include <numeric>

namespace lexi {

namespace {

// The tags of some words: each text once, in the order first met, and how many words carry it.
class TagUses
{
public:
    // Adds `uses` to the count of `tag`, which is appended when new; returns its position.
    qsizetype add(const QString &tag, qsizetype uses)
    {
        auto found = m_positions.constFind(tag);
        if (found == m_positions.cend()) {
            found = m_positions.insert(tag, m_tags.size());
            m_tags.append(tag);
            m_uses.push_back(0);
        }
        m_uses[std::size_t(*found)] += uses;
        return *found;
    }
    void addOneUseAt(qsizetype position) { ++m_uses[std::size_t(position)]; }

    const QStringList &tags() const { return m_tags; }
    const std::vector<qsizetype> &uses() const { return m_uses; }

private:
    QHash<QString, qsizetype> m_positions;
    QStringList m_tags;
    std::vector<qsizetype> m_uses;
};

TagUses countTags(const WordList &words, qsizetype begin, qsizetype end)
{
    // Words loaded or imported together share their tags' texts: a text met before is found by
    // its address, and only a text not met before is hashed.
    QHash<const QChar *, qsizetype> positionsOfTexts;
    TagUses counted;
    for (qsizetype i = begin; i < end; ++i) {
        for (const QString &tag : words[i]->tags()) {
            const auto known = positionsOfTexts.constFind(tag.constData());
            if (known != positionsOfTexts.cend() && counted.tags()[*known].size() == tag.size())
                counted.addOneUseAt(*known);
            else
                positionsOfTexts.insert(tag.constData(), counted.add(tag, 1));
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
    TagUses merged;
    for (const TagUses &slice : slices) {
        for (qsizetype i = 0; i < slice.tags().size(); ++i)
            merged.add(slice.tags()[i], slice.uses()[std::size_t(i)]);
    }
    m_allTags = merged.tags();
    const std::vector<qsizetype> &useCounts = merged.uses();

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
