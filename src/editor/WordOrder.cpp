#include "WordOrder.h"

#include "model/Lexicarta.h"

#include <algorithm>
#include <numeric>
#include <thread>

namespace lexi {

namespace {

constexpr std::size_t parallelSortThreshold = 10000;

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
    // A large vocabulary sorts its two halves at once, then merges them: the first order of a
    // column is what start-up waits for.
    const auto middle = positions.begin() + std::ptrdiff_t(positions.size() / 2);
    if (positions.size() >= parallelSortThreshold) {
        std::thread firstHalf([&] { std::stable_sort(positions.begin(), middle, byKey); });
        std::stable_sort(middle, positions.end(), byKey);
        firstHalf.join();
        std::inplace_merge(positions.begin(), middle, positions.end(), byKey);
    } else {
        std::stable_sort(positions.begin(), positions.end(), byKey);
    }
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
        // The keys of a large vocabulary's first order are taken on two threads, each word by one.
        if (previous.isEmpty() && std::size_t(words.size()) >= parallelSortThreshold) {
            const qsizetype half = words.size() / 2;
            std::thread firstHalf([&] { takeKeys(0, half); });
            takeKeys(half, words.size());
            firstHalf.join();
        } else {
            takeKeys(0, words.size());
        }
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
