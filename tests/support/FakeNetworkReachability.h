#pragma once

#include "platform/linux/NetworkReachability.h"

#include <atomic>

namespace lexi::test {

// A network whose flags the test chooses; reachable until told otherwise.
class FakeNetworkReachability final : public NetworkReachability
{
public:
    std::optional<quint32> flags(Target) const override;
    // Nothing makes the flags unreadable.
    void setFlags(std::optional<quint32> flags);

private:
    std::atomic<qint64> m_flags{reachable};
};

} // namespace lexi::test
