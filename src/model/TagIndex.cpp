#include "TagIndex.h"

#include "platform/dispatch/ConcurrentSlices.h"

#include <QSet>

#include <algorithm>

namespace lexi {

namespace {

// The tags of some words: each text once, in the order first met, where it was first met and how
// many words carry it.
class TagUses
{
public:
    struct First
    {
        qsizetype wordIndex;
        qsizetype indexInWord;
    };

    // Adds `uses` to the count of `tag`, which is appended when new; returns its position.
    qsizetype add(const QString &tag, qsizetype uses, First first)
    {
        auto found = m_positions.constFind(tag);
        if (found == m_positions.cend()) {
            found = m_positions.insert(tag, m_tags.size());
            m_tags.append(tag);
            m_uses.push_back(0);
            m_firsts.push_back(first);
        }
        m_uses[std::size_t(*found)] += uses;
        return *found;
    }
    void addOneUseAt(qsizetype position) { ++m_uses[std::size_t(position)]; }

    const QStringList &tags() const { return m_tags; }
    const std::vector<qsizetype> &uses() const { return m_uses; }
    const std::vector<First> &firsts() const { return m_firsts; }

private:
    QHash<QString, qsizetype> m_positions;
    QStringList m_tags;
    std::vector<qsizetype> m_uses;
    std::vector<First> m_firsts;
};

TagUses countTags(const WordList &words, qsizetype begin, qsizetype end)
{
    // Words loaded or imported together share their tags' texts: a text met before is found by
    // its address, and only a text not met before is hashed.
    QHash<const QChar *, qsizetype> positionsOfTexts;
    TagUses counted;
    for (qsizetype i = begin; i < end; ++i) {
        const QStringList &tags = words[i]->tags();
        for (qsizetype j = 0; j < tags.size(); ++j) {
            const QString &tag = tags[j];
            const auto known = positionsOfTexts.constFind(tag.constData());
            if (known != positionsOfTexts.cend() && counted.tags()[*known].size() == tag.size())
                counted.addOneUseAt(*known);
            else
                positionsOfTexts.insert(tag.constData(), counted.add(tag, 1, {i, j}));
        }
    }
    return counted;
}

} // namespace

TagIndex::TagIndex(const WordList &words) : TagIndex(words, [](qsizetype index) { return qint64(index); }) {}

TagIndex::TagIndex(const WordList &words, const PositionAt &positionAt)
{
    // A large vocabulary's words are counted in slices at once; the slices are added up in order,
    // so that the order first met stays that of the words.
    const std::vector<TagUses> slices = dispatch::mapSlices(
        words.size(), [&words](qsizetype begin, qsizetype end) { return countTags(words, begin, end); });
    TagUses merged;
    for (const TagUses &slice : slices) {
        for (qsizetype i = 0; i < slice.tags().size(); ++i)
            merged.add(slice.tags()[i], slice.uses()[std::size_t(i)], slice.firsts()[std::size_t(i)]);
    }
    m_uses.reserve(merged.tags().size());
    for (qsizetype i = 0; i < merged.tags().size(); ++i) {
        const TagUses::First &first = merged.firsts()[std::size_t(i)];
        m_uses.insert(merged.tags()[i], {merged.uses()[std::size_t(i)], words[first.wordIndex].get(),
                                         positionAt(first.wordIndex), first.indexInWord});
    }
}

const TagIndex::Orders &TagIndex::orders() const
{
    if (m_orders)
        return *m_orders;
    struct Item
    {
        const QString *tag;
        const Use *use;
    };
    std::vector<Item> items;
    items.reserve(std::size_t(m_uses.size()));
    for (auto use = m_uses.cbegin(); use != m_uses.cend(); ++use)
        items.push_back({&use.key(), &use.value()});
    std::sort(items.begin(), items.end(), [](const Item &left, const Item &right) {
        return std::pair(left.use->firstPosition, left.use->indexInCarrier)
               < std::pair(right.use->firstPosition, right.use->indexInCarrier);
    });
    Orders &orders = m_orders.emplace();
    orders.allTags.reserve(qsizetype(items.size()));
    for (const Item &item : items)
        orders.allTags.append(*item.tag);
    std::stable_sort(items.begin(), items.end(),
                     [](const Item &left, const Item &right) { return left.use->count > right.use->count; });
    orders.byUse.reserve(qsizetype(items.size()));
    orders.byText.reserve(items.size());
    for (qsizetype rank = 0; rank < qsizetype(items.size()); ++rank) {
        orders.byUse.append(*items[std::size_t(rank)].tag);
        orders.byText.push_back({*items[std::size_t(rank)].tag, rank});
    }
    std::sort(orders.byText.begin(), orders.byText.end(),
              [](const Entry &left, const Entry &right) { return left.tag < right.tag; });
    return orders;
}

const QStringList &TagIndex::allTags() const
{
    return orders().allTags;
}

std::optional<QStringList> TagIndex::completions(const QString &prefix) const
{
    if (prefix.isEmpty())
        return std::nullopt;
    const Orders &orders = this->orders();
    std::vector<qsizetype> ranks;
    auto entry = std::lower_bound(orders.byText.cbegin(), orders.byText.cend(), prefix,
                                  [](const Entry &candidate, const QString &text) { return candidate.tag < text; });
    for (; entry != orders.byText.cend() && entry->tag.startsWith(prefix); ++entry) {
        if (entry->tag.size() > prefix.size())
            ranks.push_back(entry->rank);
    }
    if (ranks.empty())
        return std::nullopt;
    std::sort(ranks.begin(), ranks.end());
    QStringList tags;
    tags.reserve(qsizetype(ranks.size()));
    for (const qsizetype rank : ranks)
        tags.append(orders.byUse[rank]);
    return tags;
}

void TagIndex::addTag(const QString &tag, const QLXWord &word, qint64 position, qsizetype index)
{
    Use &use = m_uses[tag];
    if (use.count == 0 || position < use.firstPosition)
        use = {use.count, &word, position, index};
    ++use.count;
    m_orders.reset();
}

bool TagIndex::removeTag(const QString &tag, const QLXWord &word)
{
    const auto use = m_uses.find(tag);
    if (use == m_uses.end())
        return false;
    m_orders.reset();
    if (--use->count == 0) {
        m_uses.erase(use);
        return true;
    }
    // The next word carrying it is not known here.
    return use->firstCarrier != &word;
}

bool TagIndex::addWord(const QLXWord &word, qint64 position)
{
    const QStringList &tags = word.tags();
    for (qsizetype i = 0; i < tags.size(); ++i)
        addTag(tags[i], word, position, i);
    return true;
}

bool TagIndex::removeWord(const QLXWord &word, const QStringList &tags)
{
    bool followed = true;
    for (const QString &tag : tags)
        followed = removeTag(tag, word) && followed;
    return followed;
}

bool TagIndex::changeTags(const QLXWord &word, qint64 position, const QStringList &previousTags)
{
    const QStringList &tags = word.tags();
    const QSet<QString> kept(tags.cbegin(), tags.cend());
    const QSet<QString> previous(previousTags.cbegin(), previousTags.cend());
    bool followed = true;
    for (const QString &tag : previousTags) {
        if (!kept.contains(tag))
            followed = removeTag(tag, word) && followed;
    }
    for (qsizetype i = 0; i < tags.size(); ++i) {
        if (!previous.contains(tags[i])) {
            addTag(tags[i], word, position, i);
            continue;
        }
        // A tag first met here is met where it now stands among the word's tags.
        const auto use = m_uses.find(tags[i]);
        if (use != m_uses.end() && use->firstCarrier == &word && use->indexInCarrier != i) {
            use->indexInCarrier = i;
            m_orders.reset();
        }
    }
    return followed;
}

} // namespace lexi
