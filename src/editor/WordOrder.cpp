#include "WordOrder.h"

#include "model/Lexicarta.h"
#include "model/WordObjectSet.h"
#include "platform/dispatch/ConcurrentSlices.h"

#include <QSet>

#include <algorithm>
#include <thread>
#include <utility>

namespace lexi {

namespace {

// Up to 2^depth threads sort a large vocabulary's first order.
constexpr int parallelDepth = 2;

// Sorts by a total order: a range of at least minimumItemsForSlices is sorted as two halves at
// once, then merged, down to `depth` levels.
template<typename Iterator, typename Less>
void parallelSort(Iterator begin, Iterator end, Less less, int depth)
{
    if (depth == 0 || end - begin < dispatch::minimumItemsForSlices) {
        std::sort(begin, end, less);
        return;
    }
    const Iterator middle = begin + (end - begin) / 2;
    std::thread firstHalf([=] { parallelSort(begin, middle, less, depth - 1); });
    parallelSort(middle, end, less, depth - 1);
    firstHalf.join();
    std::inplace_merge(begin, middle, end, less);
}

constexpr qsizetype headUnits = std::tuple_size_v<WordOrder::TextHead> * 4;

// The first UTF-16 code units of `text`, four in each number, the first in the highest bits and
// missing ones as 0: where the heads of two texts differ, they order the texts as
// QString::compare() does.
WordOrder::TextHead textHead(const QString &text)
{
    WordOrder::TextHead head{};
    const qsizetype units = std::min(text.size(), headUnits);
    for (qsizetype i = 0; i < units; ++i)
        head[std::size_t(i / 4)] |= quint64(text[i].unicode()) << (48 - 16 * (i % 4));
    return head;
}

QStringList facultativesFor(const Lexicarta &vocabulary, WordColumn column)
{
    switch (column) {
    case WordColumn::YourWord:
        return vocabulary.yourFacultativeWords();
    case WordColumn::ForeignWord:
        return vocabulary.foreignFacultativeWords();
    default:
        return {};
    }
}

} // namespace

bool WordOrder::isSource(const Entry &entry, const QLXWord &word, WordColumn column)
{
    switch (column) {
    case WordColumn::YourWord:
        return isSameObject(entry.sourceText, word.yourWord());
    case WordColumn::ForeignWord:
        return isSameObject(entry.sourceText, word.foreignWord());
    case WordColumn::Comment:
        return isSameObject(entry.sourceText, word.comment());
    case WordColumn::Tags:
        return isSameObject(entry.sourceTags, word.tagsSorted());
    case WordColumn::LastAsked:
        break;
    }
    return entry.sourceDate == word.lastAsked();
}

WordOrder::Entry WordOrder::makeEntry(const std::shared_ptr<QLXWord> &word, WordColumn column,
                                      const QStringList &facultatives)
{
    Entry entry{word, {}, {}, {}, {}};
    takeKey(entry, *word, column, facultatives);
    return entry;
}

void WordOrder::takeKey(Entry &entry, const QLXWord &word, WordColumn column, const QStringList &facultatives)
{
    switch (column) {
    case WordColumn::YourWord:
        entry.sourceText = word.yourWord();
        entry.key.text = QLXWord::wordByRemovingFacultatives(facultatives, entry.sourceText).toCaseFolded();
        break;
    case WordColumn::ForeignWord:
        entry.sourceText = word.foreignWord();
        entry.key.text = QLXWord::wordByRemovingFacultatives(facultatives, entry.sourceText).toCaseFolded();
        break;
    case WordColumn::Comment:
        entry.sourceText = word.comment();
        entry.key.text = entry.sourceText.toCaseFolded();
        break;
    case WordColumn::Tags:
        entry.sourceTags = word.tagsSorted();
        entry.key.rank = entry.sourceTags.size();
        entry.key.text = entry.sourceTags.join(QChar(0)).toCaseFolded();
        break;
    case WordColumn::LastAsked:
        entry.sourceDate = word.lastAsked();
        if (entry.sourceDate) {
            entry.key.rank = 1;
            entry.key.time = entry.sourceDate->secondsSinceReferenceDate();
        }
        break;
    }
    entry.key.head = textHead(entry.key.text);
}

WordOrder::Place WordOrder::placeOf(const Lexicarta &vocabulary, const QLXWord &word, WordColumn column) const
{
    Entry entry;
    takeKey(entry, word, column, m_columns[std::size_t(column)].facultatives);
    return {std::move(entry.key), vocabulary.storedPositionOf(word).value_or(0)};
}

namespace {

// Changes of up to this many words are followed entry by entry; more are sorted anew.
constexpr std::size_t mostWordsFollowed = 64;

} // namespace

int WordOrder::compareKeys(const Key &l, const Key &r)
{
    if (l.rank != r.rank)
        return l.rank < r.rank ? -1 : 1;
    if (l.time != r.time)
        return l.time < r.time ? -1 : 1;
    if (l.head != r.head)
        return l.head < r.head ? -1 : 1;
    const int texts = QStringView(l.text).compare(QStringView(r.text));
    return texts < 0 ? -1 : texts > 0 ? 1 : 0;
}

bool WordOrder::isBefore(const Entry &left, const Entry &right)
{
    if (const int keys = compareKeys(left.key, right.key); keys != 0)
        return keys < 0;
    return left.position < right.position;
}

bool WordOrder::isBefore(const Place &left, const Place &right)
{
    if (const int keys = compareKeys(left.key, right.key); keys != 0)
        return keys < 0;
    return left.position < right.position;
}

void WordOrder::rebuild(ColumnOrder &order, const WordList &words, WordColumn column)
{
    // Keys of words still there and unchanged are taken over.
    QHash<const QLXWord *, qsizetype> previous;
    previous.reserve(qsizetype(order.entries.size()));
    for (qsizetype i = 0; i < qsizetype(order.entries.size()); ++i)
        previous.insert(order.entries[std::size_t(i)]->word.get(), i);
    std::vector<std::unique_ptr<Entry>> entries(std::size_t(words.size()));
    const auto takeKeys = [&](qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i) {
            const std::shared_ptr<QLXWord> &word = words.at(i);
            const auto found = previous.constFind(word.get());
            // A word listed twice finds its old entry taken by its first listing.
            std::unique_ptr<Entry> *old = found != previous.cend() ? &order.entries[std::size_t(*found)] : nullptr;
            if (old && *old && isSource(**old, *word, column))
                entries[std::size_t(i)] = std::move(*old);
            else
                entries[std::size_t(i)] = std::make_unique<Entry>(makeEntry(word, column, order.facultatives));
            entries[std::size_t(i)]->position = i;
        }
    };
    // The keys of a large vocabulary's first order are taken on several threads, each word by one.
    if (previous.isEmpty())
        dispatch::forSlices(words.size(), takeKeys);
    else
        takeKeys(0, words.size());

    // Sorting compares mostly the keys' first characters: those are copied into one compact array,
    // so that most comparisons read neither the entries nor the texts. The position decides
    // between equal keys, which makes the order total and the result that of a stable sort.
    struct Item
    {
        qint64 rank;
        double time;
        TextHead head;
        QStringView text;
        qsizetype position;
    };
    std::vector<Item> items;
    items.reserve(entries.size());
    for (qsizetype position = 0; position < qsizetype(entries.size()); ++position) {
        const Key &key = entries[std::size_t(position)]->key;
        items.push_back({key.rank, key.time, key.head, key.text, position});
    }
    const auto less = [](const Item &left, const Item &right) {
        if (left.rank != right.rank)
            return left.rank < right.rank;
        if (left.time != right.time)
            return left.time < right.time;
        if (left.head != right.head)
            return left.head < right.head;
        // Texts no longer than the head are all in it: with equal heads, the shorter is the
        // beginning of the longer.
        if (left.text.size() <= headUnits && right.text.size() <= headUnits) {
            if (left.text.size() != right.text.size())
                return left.text.size() < right.text.size();
        } else if (const int texts = left.text.compare(right.text); texts != 0) {
            return texts < 0;
        }
        return left.position < right.position;
    };
    // The first order of a column is what start-up waits for.
    parallelSort(items.begin(), items.end(), less, parallelDepth);
    // A new list: the shown words may share the old one.
    std::vector<std::unique_ptr<Entry>> sortedEntries(entries.size());
    WordList sorted(qsizetype(items.size()));
    const auto fill = [&items, &entries, &sortedEntries, words = sorted.data()](qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i) {
            std::unique_ptr<Entry> &entry = entries[std::size_t(items[std::size_t(i)].position)];
            words[i] = entry->word;
            sortedEntries[std::size_t(i)] = std::move(entry);
        }
    };
    dispatch::forSlices(sorted.size(), fill);
    order.entries = std::move(sortedEntries);
    order.sorted = std::move(sorted);
    order.listed.clear();
    order.listed.reserve(std::size_t(words.size()));
    for (const std::shared_ptr<QLXWord> &word : words)
        order.listed.push_back(word.get());
    order.nextPosition = words.size();
    order.isSorted = true;
}

void WordOrder::removeEntries(ColumnOrder &order, const std::vector<std::size_t> &indexes)
{
    if (indexes.empty())
        return;
    // One pass moves every entry kept, and its word in the sorted list, to its new place: the
    // words before the first index stay where they are.
    std::shared_ptr<QLXWord> *sorted = order.sorted.data();
    std::size_t kept = indexes.front();
    std::size_t next = 0;
    for (std::size_t i = indexes.front(); i < order.entries.size(); ++i) {
        if (next < indexes.size() && indexes[next] == i) {
            ++next;
            continue;
        }
        order.entries[kept] = std::move(order.entries[i]);
        sorted[kept] = std::move(sorted[i]);
        ++kept;
    }
    order.entries.resize(kept);
    order.sorted.resize(qsizetype(kept));
}

void WordOrder::insertEntry(ColumnOrder &order, std::unique_ptr<Entry> entry)
{
    const auto place = std::upper_bound(order.entries.begin(), order.entries.end(), entry, isBeforeHeld);
    const qsizetype index = place - order.entries.begin();
    order.sorted.insert(index, entry->word);
    order.entries.insert(place, std::move(entry));
}

bool WordOrder::followList(ColumnOrder &order, const WordList &words, WordColumn column)
{
    // The list as it was, less the words removed, then the words added: walking both finds them.
    QSet<const QLXWord *> removed;
    // Most of a long list is as it was: its unchanged beginning is passed over in a tight loop.
    const std::size_t common = std::min(order.listed.size(), std::size_t(words.size()));
    const std::shared_ptr<QLXWord> *listedNow = words.constData();
    std::size_t unchanged = 0;
    while (unchanged < common && listedNow[unchanged].get() == order.listed[unchanged])
        ++unchanged;
    qsizetype next = qsizetype(unchanged);
    for (auto listed = order.listed.cbegin() + std::ptrdiff_t(unchanged); listed != order.listed.cend(); ++listed) {
        const QLXWord *word = *listed;
        if (next < words.size() && words[next].get() == word)
            ++next;
        else
            removed.insert(word);
        if (std::size_t(removed.size()) > mostWordsFollowed && removed.size() > words.size() / 4)
            return false;
    }
    const qsizetype added = words.size() - next;
    if (std::size_t(added) > mostWordsFollowed)
        return false;
    for (qsizetype i = next; i < words.size(); ++i) {
        // A word removed from its place and added at the end moved: the order changed.
        if (removed.contains(words[i].get()))
            return false;
    }
    if (!removed.isEmpty()) {
        const WordObjectSet removing(removed);
        std::vector<std::size_t> indexes;
        indexes.reserve(std::size_t(removed.size()));
        // The list of words lines up with the entries and is read without reading them.
        for (qsizetype i = 0; i < order.sorted.size(); ++i) {
            if (removing.contains(order.sorted[i].get()))
                indexes.push_back(std::size_t(i));
        }
        removeEntries(order, indexes);
    }
    for (qsizetype i = next; i < words.size(); ++i) {
        auto entry = std::make_unique<Entry>(makeEntry(words[i], column, order.facultatives));
        entry->position = order.nextPosition++;
        insertEntry(order, std::move(entry));
        order.followed.added.append(words[i]);
    }
    if (removed.isEmpty()) {
        for (qsizetype i = next; i < words.size(); ++i)
            order.listed.push_back(words[i].get());
    } else {
        order.listed.clear();
        for (const std::shared_ptr<QLXWord> &word : words)
            order.listed.push_back(word.get());
    }
    order.followed.removed = std::move(removed);
    return true;
}

const WordList &WordOrder::sortedWords(const Lexicarta &vocabulary, WordColumn column)
{
    ColumnOrder &order = m_columns[std::size_t(column)];
    order.followed = {};
    const QStringList facultatives = facultativesFor(vocabulary, column);
    if (facultatives != order.facultatives) {
        order.facultatives = facultatives;
        order.entries.clear();
        order.isSorted = false;
    }
    const Lexicarta::WordChangeMark now = vocabulary.wordChangeMark();
    const Lexicarta::WordChangeMark listNow = vocabulary.wordListMark();
    const bool listKnown = order.isSorted && order.listSeen == listNow;
    if (!order.isSorted || (!listKnown && !followList(order, vocabulary.allWords(), column))) {
        order.followed = {};
        rebuild(order, vocabulary.allWords(), column);
        order.changesSeen = now;
        order.listSeen = listNow;
        return order.sorted;
    }
    order.listSeen = listNow;

    // Words changed in place leave their places and are put in where their new keys go. The
    // vocabulary tells which words changed since the entries were last brought up to date, so
    // that the others are not read; when it no longer knows, every word is looked at.
    std::vector<std::size_t> changed;
    const std::optional<std::vector<const QLXWord *>> changedWords = vocabulary.wordsChangedSince(order.changesSeen);
    order.changesSeen = now;
    const auto isChanged = [&](const std::unique_ptr<Entry> &entry) { return !isSource(*entry, *entry->word, column); };
    if (!changedWords) {
        order.followed = {};
        for (std::size_t i = 0; i < order.entries.size(); ++i) {
            if (isChanged(order.entries[i]))
                changed.push_back(i);
        }
    } else {
        order.followed.isKnown = true;
        if (!changedWords->empty()) {
            // A word is listed once for each of its changes: each is looked for once.
            const QSet<const QLXWord *> distinct(changedWords->cbegin(), changedWords->cend());
            const std::vector<const QLXWord *> few(distinct.cbegin(), distinct.cend());
            // A few words are compared one by one: faster than looking each word up in a set.
            constexpr std::size_t mostComparedOneByOne = 4;
            const bool inSet = few.size() > mostComparedOneByOne;
            const WordObjectSet candidates(inSet ? distinct : QSet<const QLXWord *>());
            const auto isCandidate = [&](const QLXWord *word) {
                return inSet ? candidates.contains(word) : std::find(few.cbegin(), few.cend(), word) != few.cend();
            };
            // The sorted list lines up with the entries and is read without reading them.
            for (qsizetype i = 0; i < order.sorted.size(); ++i) {
                if (!isCandidate(order.sorted[i].get()))
                    continue;
                order.followed.changed.append(order.sorted[i]);
                if (isChanged(order.entries[std::size_t(i)]))
                    changed.push_back(std::size_t(i));
            }
        }
    }
    if (changed.empty())
        return order.sorted;
    if (changed.size() > mostWordsFollowed) {
        order.followed = {};
        rebuild(order, vocabulary.allWords(), column);
        return order.sorted;
    }
    std::vector<std::unique_ptr<Entry>> remade;
    remade.reserve(changed.size());
    for (const std::size_t index : changed) {
        auto entry = std::make_unique<Entry>(makeEntry(order.entries[index]->word, column, order.facultatives));
        entry->position = order.entries[index]->position;
        remade.push_back(std::move(entry));
    }
    removeEntries(order, changed);
    for (std::unique_ptr<Entry> &entry : remade)
        insertEntry(order, std::move(entry));
    return order.sorted;
}

} // namespace lexi
