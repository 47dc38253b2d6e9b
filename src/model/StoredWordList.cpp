#include "StoredWordList.h"

#include "VocabularySnapshot.h"

#include "platform/dispatch/ConcurrentSlices.h"

#include <atomic>

namespace lexi {

namespace {

// Words in a chunk as it is made; a chunk grown to twice this is split.
constexpr std::size_t chunkSize = 256;

} // namespace

StoredWordList::StoredWordList(const WordList &words) : m_size(words.size())
{
    const std::size_t count = std::size_t(words.size());
    for (std::size_t first = 0; first < count; first += chunkSize)
        m_chunks.push_back(std::make_shared<Chunk>(std::min(chunkSize, count - first)));
    // Taking a word waits mostly for it to come from memory: a large list is taken in slices at
    // once, and each slice asks for the words a few words ahead, so that those waits overlap.
    dispatch::forSlices(words.size(), [&](qsizetype begin, qsizetype end) {
        constexpr qsizetype wordsAhead = 16;
        for (qsizetype i = begin; i < end; ++i) {
            if (i + wordsAhead < end)
                __builtin_prefetch(words[i + wordsAhead].get());
            (*m_chunks[std::size_t(i) / chunkSize])[std::size_t(i) % chunkSize] = words[i]->storedForm();
        }
    });
}

StoredWordList::const_iterator &StoredWordList::const_iterator::operator++()
{
    if (++m_index == (*m_chunks)[m_chunk]->size()) {
        ++m_chunk;
        m_index = 0;
    }
    return *this;
}

std::pair<std::size_t, std::size_t> StoredWordList::locate(qsizetype index) const
{
    std::size_t rest = std::size_t(index);
    for (std::size_t chunk = 0; chunk < m_chunks.size(); ++chunk) {
        if (rest < m_chunks[chunk]->size())
            return {chunk, rest};
        rest -= m_chunks[chunk]->size();
    }
    return {m_chunks.size() - 1, m_chunks.back()->size()};
}

StoredWordList::Chunk &StoredWordList::writable(std::size_t chunk)
{
    std::shared_ptr<Chunk> &held = m_chunks[chunk];
    if (held.use_count() > 1)
        held = std::make_shared<Chunk>(*held);
    else
        // A copy read on another thread let go of the chunk: its reads are done before this
        // thread changes it.
        std::atomic_thread_fence(std::memory_order_acquire);
    return *held;
}

StoredWordList::Entry StoredWordList::at(qsizetype index) const
{
    const auto [chunk, offset] = locate(index);
    return m_chunks[chunk]->at(offset);
}

void StoredWordList::append(Entry word)
{
    // Without looking for the place: words appended one by one fill chunks of the size a list
    // is made with.
    if (m_chunks.empty() || m_chunks.back()->size() >= chunkSize) {
        m_chunks.push_back(std::make_shared<Chunk>());
        m_chunks.back()->reserve(chunkSize);
    }
    writable(m_chunks.size() - 1).push_back(std::move(word));
    ++m_size;
}

void StoredWordList::insert(qsizetype index, Entry word)
{
    Q_ASSERT(index >= 0 && index <= m_size);
    if (m_chunks.empty())
        m_chunks.push_back(std::make_shared<Chunk>());
    const auto [chunk, offset] = locate(index);
    Chunk &words = writable(chunk);
    words.insert(words.begin() + std::ptrdiff_t(offset), std::move(word));
    ++m_size;
    if (words.size() >= 2 * chunkSize) {
        auto second = std::make_shared<Chunk>(std::make_move_iterator(words.begin() + chunkSize),
                                              std::make_move_iterator(words.end()));
        words.resize(chunkSize);
        m_chunks.insert(m_chunks.begin() + std::ptrdiff_t(chunk) + 1, std::move(second));
    }
}

void StoredWordList::replace(qsizetype index, Entry word)
{
    Q_ASSERT(index >= 0 && index < m_size);
    const auto [chunk, offset] = locate(index);
    writable(chunk)[offset] = std::move(word);
}

void StoredWordList::remove(const std::vector<qsizetype> &indexes)
{
    auto next = indexes.cbegin();
    std::size_t first = 0;
    std::vector<std::shared_ptr<Chunk>> kept;
    kept.reserve(m_chunks.size());
    for (std::size_t chunk = 0; chunk < m_chunks.size(); ++chunk) {
        const std::size_t end = first + m_chunks[chunk]->size();
        if (next == indexes.cend() || std::size_t(*next) >= end) {
            kept.push_back(std::move(m_chunks[chunk]));
            first = end;
            continue;
        }
        Chunk words;
        words.reserve(m_chunks[chunk]->size());
        for (std::size_t i = first; i < end; ++i) {
            if (next != indexes.cend() && std::size_t(*next) == i)
                ++next;
            else
                words.push_back((*m_chunks[chunk])[i - first]);
        }
        m_size -= qsizetype(end - first - words.size());
        if (!words.empty())
            kept.push_back(std::make_shared<Chunk>(std::move(words)));
        first = end;
    }
    m_chunks = std::move(kept);
}

} // namespace lexi
