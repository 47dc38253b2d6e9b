#include "WordObjectSet.h"

namespace lexi {

WordObjectSet::WordObjectSet(QSet<const QLXWord *> objects) : m_objects(std::move(objects))
{
    for (const QLXWord *word : std::as_const(m_objects)) {
        const std::size_t bit = bitFor(word);
        m_bits[bit / 64] |= quint64(1) << (bit % 64);
    }
}

} // namespace lexi
