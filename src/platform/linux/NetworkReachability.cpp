#include "NetworkReachability.h"

#include <QFile>
#include <QList>
#include <QtEndian>

#include <bit>

namespace lexi {

namespace {

// Route flags of the kernel (linux/route.h, linux/ipv6_route.h).
constexpr quint32 routeUp = 0x1;
constexpr quint32 routeGateway = 0x2;
constexpr quint32 routeReject = 0x200;

struct Route
{
    int prefixLength = 0;
    quint32 metric = 0;
    bool hasGateway = false;
};

bool isUsable(const QByteArray &interface, quint32 flags)
{
    return (flags & routeUp) && !(flags & routeReject) && interface != "lo";
}

std::optional<quint32> hexField(const QByteArray &field)
{
    bool isNumber = false;
    const quint32 value = field.toUInt(&isNumber, 16);
    return isNumber ? std::optional(value) : std::nullopt;
}

// The most specific usable IPv4 route to `address` (host byte order). The table prints each
// address as the native reading of its network-order bytes.
std::optional<Route> bestIPv4Route(const QByteArray &table, quint32 address)
{
    std::optional<Route> best;
    for (const QByteArray &line : table.split('\n')) {
        // Iface Destination Gateway Flags RefCnt Use Metric Mask ...
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 8)
            continue;
        const auto destination = hexField(fields[1]);
        const auto gateway = hexField(fields[2]);
        const auto flags = hexField(fields[3]);
        const auto mask = hexField(fields[7]);
        bool isNumber = false;
        const quint32 metric = fields[6].toUInt(&isNumber);
        if (!destination || !gateway || !flags || !mask || !isNumber || !isUsable(fields[0], *flags))
            continue;
        const quint32 hostMask = qFromBigEndian(*mask);
        if ((address & hostMask) != (qFromBigEndian(*destination) & hostMask))
            continue;
        const Route route{std::popcount(hostMask), metric, (*flags & routeGateway) != 0};
        if (!best || route.prefixLength > best->prefixLength
            || (route.prefixLength == best->prefixLength && route.metric < best->metric))
            best = route;
    }
    return best;
}

// The usable IPv6 default route with the lowest metric.
std::optional<Route> bestIPv6DefaultRoute(const QByteArray &table)
{
    std::optional<Route> best;
    for (const QByteArray &line : table.split('\n')) {
        // Destination PrefixLength Source SourcePrefixLength NextHop Metric RefCnt Use Flags Iface
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 10 || fields[0] != QByteArray(32, '0') || fields[1] != "00")
            continue;
        const auto metric = hexField(fields[5]);
        const auto flags = hexField(fields[8]);
        if (!metric || !flags || !isUsable(fields[9], *flags))
            continue;
        if (!best || *metric < best->metric)
            best = Route{0, *metric, (*flags & routeGateway) != 0};
    }
    return best;
}

quint32 flagsForRoute(const std::optional<Route> &route)
{
    if (!route)
        return 0;
    return NetworkReachability::reachable | (route->hasGateway ? 0 : NetworkReachability::isDirect);
}

std::optional<QByteArray> readTable(const char *path)
{
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

class KernelRoutesReachability final : public NetworkReachability
{
public:
    std::optional<quint32> flags(Target target) const override
    {
        return flagsFromRouteTables(readTable("/proc/net/route"),
                                    target == Target::internet ? readTable("/proc/net/ipv6_route") : std::nullopt,
                                    target);
    }
};

} // namespace

bool NetworkReachability::canConnect(quint32 flags)
{
    if (!(flags & reachable))
        return false;
    if (!(flags & connectionRequired))
        return true;
    return (flags & (connectionOnDemand | connectionOnTraffic)) && !(flags & interventionRequired);
}

bool NetworkReachability::canConnectDirectly(quint32 flags)
{
    return (flags & reachable) && (flags & isDirect);
}

const NetworkReachability &NetworkReachability::system()
{
    static const KernelRoutesReachability reachability;
    return reachability;
}

std::optional<quint32> NetworkReachability::flagsFromRouteTables(const std::optional<QByteArray> &ipv4Routes,
                                                                const std::optional<QByteArray> &ipv6Routes,
                                                                Target target)
{
    if (target == Target::linkLocal) {
        if (!ipv4Routes)
            return std::nullopt;
        return flagsForRoute(bestIPv4Route(*ipv4Routes, 0xA9FE0000));
    }
    if (!ipv4Routes && !ipv6Routes)
        return std::nullopt;
    std::optional<Route> route = ipv4Routes ? bestIPv4Route(*ipv4Routes, 0) : std::nullopt;
    if (!route && ipv6Routes)
        route = bestIPv6DefaultRoute(*ipv6Routes);
    return flagsForRoute(route);
}

} // namespace lexi
