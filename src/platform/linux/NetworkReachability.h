#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

namespace lexi {

// Whether the machine can reach a network destination, as the bits of a reachability flags word:
// the word the desktop platforms' network facilities report and callers map to a status.
class NetworkReachability
{
public:
    static constexpr quint32 reachable = 0x2;
    static constexpr quint32 connectionRequired = 0x4;
    static constexpr quint32 connectionOnTraffic = 0x8;
    static constexpr quint32 interventionRequired = 0x10;
    static constexpr quint32 connectionOnDemand = 0x20;
    static constexpr quint32 isDirect = 0x20000;

    enum class Target {
        // The IPv4 zero address: any route to the internet.
        internet,
        // The IPv4 link-local network 169.254.0.0.
        linkLocal,
    };

    virtual ~NetworkReachability() = default;

    // The flags for `target`, or nothing when they cannot be read.
    virtual std::optional<quint32> flags(Target target) const = 0;

    // How every user of the flags reads them. A target reached through any route can be reached
    // when it is reachable and either needs no connection set up first or has one set up by
    // itself (on demand or on traffic) with no intervention of the user.
    static bool canConnect(quint32 flags);
    // A local network can be reached only when it is reachable and directly attached.
    static bool canConnectDirectly(quint32 flags);

    // The machine's own answer, worked out from the kernel's routing tables at each call.
    static const NetworkReachability &system();

    // The flags that the kernel's route tables, as /proc/net/route and /proc/net/ipv6_route show
    // them, give for `target`: reachable when a usable route (up, not a rejecting route, not
    // through the loopback interface) covers it, the most specific one deciding; is direct when
    // that route needs no gateway. An IPv6 default route also reaches the internet. Nothing when
    // neither table could be read. Linux routes never need a connection set up first, so the
    // other bits stay clear.
    static std::optional<quint32> flagsFromRouteTables(const std::optional<QByteArray> &ipv4Routes,
                                                       const std::optional<QByteArray> &ipv6Routes, Target target);
};

} // namespace lexi
