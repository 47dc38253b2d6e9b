#include "WordOrder.h"

#include "model/Lexicarta.h"

#include <algorithm>
#include <numeric>
#include <thread>

namespace lexi {

namespace {

constexpr std::size_t parallelSortThreshold = 10000;
// Up to 2^depth threads work on a large vocabulary's first order.
constexpr int parallelDepth = 2;

// Sorts stably: a range of at least parallelSortThreshold is sorted as two halves at once, then
// merged, down to `depth` levels.
template<typename Iterator, typename Less>
void parallelStableSort(Iterator begin, Iterator end, Less less, int depth)
{
    if (depth == 0 || std::size_t(end - begin) < parallelSortThreshold) {
        std::stable_sort(begin, end, less);
        return;
    }
    const Iterator middle = begin + (end - begin) / 2;
    std::thread firstHalf([=] { parallelStableSort(begin, middle, less, depth - 1); });
    parallelStableSort(middle, end, less, depth - 1);
    firstHalf.join();
    std::inplace_merge(begin, middle, end, less);
}

// Runs `work(begin, end)` over [0, count), in 2^depth slices at once when there are many.
template<typename Work>
void forSlices(qsizetype count, Work work, int depth)
{
    if (depth == 0 || std::size_t(count) < parallelSortThreshold) {
        work(0, count);
        return;
    }
    const qsizetype slices = qsizetype(1) << depth;
    std::vector<std::thread> threads;
    for (qsizetype slice = 1; slice < slices; ++slice)
        threads.emplace_back([=] { work(count * slice / slices, count * (slice + 1) / slices); });
    work(0, count / slices);
    for (std::thread &thread : threads)
        thread.join();
}

// The same text object: an edit always stores a new text, which cannot share the old one's data
// while a copy of that is kept here.
template<typename Shared>
bool isSameObject(const Shared &left, const Shared &right)
{
    return left.constData() == right.constData() && left.size() == right.size();
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

bool WordOrder::Key::operator<(const Key &right) const
{
    const Key &left = *this;
    if (left.rank != right.rank)
        return left.rank < right.rank;
    if (left.time != right.time)
        return left.time < right.time;
    return left.text < right.text;
}

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
    return entry;
}

void WordOrder::sort(ColumnOrder &order)
{
    std::vector<qsizetype> positions(order.entries.size());
    std::iota(positions.begin(), positions.end(), 0);
    const auto byKey = [&order](qsizetype left, qsizetype right) {
        return order.entries[left].key < order.entries[right].key;
    };
    // The first order of a column is what start-up waits for.
    parallelStableSort(positions.begin(), positions.end(), byKey, parallelDepth);
    order.sorted.clear();
    order.sorted.reserve(qsizetype(positions.size()));
    for (qsizetype position : positions)
        order.sorted.append(order.entries[position].word);
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
        forSlices(words.size(), takeKeys, previous.isEmpty() ? parallelDepth : 0);
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
