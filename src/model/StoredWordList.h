#pragma once

#include "QLXWord.h"

#include <QtGlobal>

#include <memory>
#include <vector>

namespace lexi {

// A list of stored words held in chunks that copies of the list share: a copy takes one
// reference for each chunk, not one for each word, and a change copies only the chunk it falls
// in, when a copy still holds that chunk. So a save can take the stored words of a large
// vocabulary at once, and a copy can be read on another thread while the list goes on changing
// on its own.
class StoredWordList
{
public:
    using Entry = std::shared_ptr<const StoredWord>;

    StoredWordList() = default;
    // The stored forms of `words`, in order.
    explicit StoredWordList(const WordList &words);

    qsizetype size() const { return m_size; }

    void append(Entry word);
    void insert(qsizetype index, Entry word);
    void replace(qsizetype index, Entry word);
    // Removes the words at `indexes`, which are ascending.
    void remove(const std::vector<qsizetype> &indexes);

    class const_iterator
    {
    public:
        using value_type = Entry;
        using difference_type = std::ptrdiff_t;
        using reference = const Entry &;
        using pointer = const Entry *;
        using iterator_category = std::forward_iterator_tag;

        const_iterator() = default;
        reference operator*() const { return (*m_chunks)[m_chunk]->at(m_index); }
        const_iterator &operator++();
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const const_iterator &other) const
        {
            return m_chunk == other.m_chunk && m_index == other.m_index;
        }

    private:
        friend class StoredWordList;
        const_iterator(const std::vector<std::shared_ptr<std::vector<Entry>>> *chunks, std::size_t chunk)
            : m_chunks(chunks), m_chunk(chunk)
        {
        }

        const std::vector<std::shared_ptr<std::vector<Entry>>> *m_chunks = nullptr;
        std::size_t m_chunk = 0;
        std::size_t m_index = 0;
    };

    const_iterator begin() const { return {&m_chunks, 0}; }
    const_iterator end() const { return {&m_chunks, m_chunks.size()}; }
    Entry at(qsizetype index) const;

    // The same chunks: one list is a copy of the other, and neither changed since.
    bool operator==(const StoredWordList &other) const { return m_chunks == other.m_chunks; }

private:
    using Chunk = std::vector<Entry>;

    // The chunk holding `index` and the index in it; past the end, the end of the last chunk.
    std::pair<std::size_t, std::size_t> locate(qsizetype index) const;
    // The chunk, copied first when a copy of this list holds it too.
    Chunk &writable(std::size_t chunk);

    std::vector<std::shared_ptr<Chunk>> m_chunks;
    qsizetype m_size = 0;
};

} // namespace lexi
