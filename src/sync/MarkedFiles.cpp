#include "MarkedFiles.h"

namespace lexi {

MarkedFiles::MarkedFiles()
{
    m_names.reserve(8);
}

bool MarkedFiles::mark(const QString &name)
{
    std::lock_guard lock(m_mutex);
    const qsizetype before = m_names.size();
    m_names.insert(name);
    return m_names.size() > before;
}

bool MarkedFiles::take(const QString &name)
{
    std::lock_guard lock(m_mutex);
    return m_names.remove(name);
}

} // namespace lexi
