#pragma once

#include "QLXWord.h"

#include <QSet>

#include <array>

namespace lexi {

// A set of word objects for asking, word by word, whether each of a large list is among a few:
// one bit per group of addresses answers most of them without looking the word up.
class WordObjectSet
{
public:
    explicit WordObjectSet(QSet<const QLXWord *> objects);

    bool contains(const QLXWord *word) const
    {
        const std::size_t bit = bitFor(word);
        return (m_bits[bit / 64] >> (bit % 64) & 1) != 0 && m_objects.contains(word);
    }
    bool isEmpty() const { return m_objects.isEmpty(); }
    const QSet<const QLXWord *> &objects() const { return m_objects; }

private:
    static constexpr std::size_t bitCount = 1 << 16;

    static std::size_t bitFor(const QLXWord *word)
    {
        // Words lie at least 16 bytes apart; higher bits fold in so that far-apart words spread.
        const quintptr address = reinterpret_cast<quintptr>(word);
        return std::size_t((address >> 4) ^ (address >> 20)) % bitCount;
    }

    QSet<const QLXWord *> m_objects;
    std::array<quint64, bitCount / 64> m_bits{};
};

} // namespace lexi
