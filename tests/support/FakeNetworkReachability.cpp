#include "FakeNetworkReachability.h"

namespace lexi::test {

std::optional<quint32> FakeNetworkReachability::flags(Target) const
{
    const qint64 flags = m_flags;
    return flags < 0 ? std::nullopt : std::optional(quint32(flags));
}

void FakeNetworkReachability::setFlags(std::optional<quint32> flags)
{
    m_flags = flags ? qint64(*flags) : -1;
}

} // namespace lexi::test
