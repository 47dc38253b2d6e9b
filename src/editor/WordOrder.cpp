#include "WordOrder.h"

#include "model/Lexicarta.h"
#include "platform/dispatch/ConcurrentSlices.h"

#include <algorithm>
#include <thread>

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
    switch (column) {
    case WordColumn::YourWord:
        entry.sourceText = word->yourWord();
        entry.key.text = QLXWord::wordByRemovingFacultatives(facultatives, entry.sourceText).toCaseFolded();
        break;
    case WordColumn::ForeignWord:
        entry.sourceText = word->foreignWord();
        entry.key.text = QLXWord::wordByRemovingFacultatives(facultatives, entry.sourceText).toCaseFolded();
        break;
    case WordColumn::Comment:
        entry.sourceText = word->comment();
        entry.key.text = entry.sourceText.toCaseFolded();
        break;
    case WordColumn::Tags:
        entry.sourceTags = word->tagsSorted();
        entry.key.rank = entry.sourceTags.size();
        entry.key.text = entry.sourceTags.join(QChar(0)).toCaseFolded();
        break;
    case WordColumn::LastAsked:
        entry.sourceDate = word->lastAsked();
        if (entry.sourceDate) {
            entry.key.rank = 1;
            entry.key.time = entry.sourceDate->secondsSinceReferenceDate();
        }
        break;
    }
    entry.key.head = textHead(entry.key.text);
    return entry;
}

void WordOrder::sort(ColumnOrder &order)
{
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
    items.reserve(order.entries.size());
    for (qsizetype position = 0; position < qsizetype(order.entries.size()); ++position) {
        const Key &key = order.entries[std::size_t(position)].key;
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
    WordList sorted(qsizetype(items.size()));
    const auto fill = [&items, &order, words = sorted.data()](qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i)
            words[i] = order.entries[std::size_t(items[std::size_t(i)].position)].word;
    };
    dispatch::forSlices(sorted.size(), fill);
    order.sorted = std::move(sorted);
    order.isSorted = true;
}

const WordList &WordOrder::sortedWords(const Lexicarta &vocabulary, WordColumn column)
{
    ColumnOrder &order = m_columns[std::size_t(column)];
    const WordList words = vocabulary.allWords();
    const QStringList facultatives = facultativesFor(vocabulary, column);
    if (facultatives != order.facultatives) {
        order.facultatives = facultatives;
        order.entries.clear();
        order.isSorted = false;
    }

    if (!order.isSorted || !isSameObject(order.words, words)) {
        // The list changed: keys of words still there and unchanged are taken over.
        QHash<const QLXWord *, qsizetype> previous;
        previous.reserve(qsizetype(order.entries.size()));
        for (qsizetype i = 0; i < qsizetype(order.entries.size()); ++i)
            previous.insert(order.entries[i].word.get(), i);
        std::vector<Entry> entries(std::size_t(words.size()));
        const auto takeKeys = [&](qsizetype begin, qsizetype end) {
            for (qsizetype i = begin; i < end; ++i) {
                const std::shared_ptr<QLXWord> &word = words.at(i);
                const auto found = previous.constFind(word.get());
                if (found != previous.cend() && isSource(order.entries[*found], *word, column))
                    entries[std::size_t(i)] = std::move(order.entries[*found]);
                else
                    entries[std::size_t(i)] = makeEntry(word, column, facultatives);
            }
        };
        // The keys of a large vocabulary's first order are taken on several threads, each word
        // by one.
        if (previous.isEmpty())
            dispatch::forSlices(words.size(), takeKeys);
        else
            takeKeys(0, words.size());
        order.entries = std::move(entries);
        order.words = words;
        sort(order);
        return order.sorted;
    }

    bool changed = false;
    for (Entry &entry : order.entries) {
        if (!isSource(entry, *entry.word, column)) {
            entry = makeEntry(entry.word, column, facultatives);
            changed = true;
        }
    }
    if (changed)
        sort(order);
    return order.sorted;
}

} // namespace lexi
