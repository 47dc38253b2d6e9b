#include "platform/linux/NetworkReachability.h"

#include "support/ReachabilityFlagCases.h"

#include <gtest/gtest.h>

using lexi::NetworkReachability;
using Target = lexi::NetworkReachability::Target;

namespace {

constexpr quint32 reachable = NetworkReachability::reachable;
constexpr quint32 direct = NetworkReachability::reachable | NetworkReachability::isDirect;

// Tables as a little-endian machine's kernel prints them.
const QByteArray ipv4Header = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
const QByteArray defaultViaGateway = "eth0\t00000000\t010200C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n";
const QByteArray localNetwork = "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n";
const QByteArray linkLocalNetwork = "eth0\t0000FEA9\t00000000\t0001\t0\t0\t1000\t0000FFFF\t0\t0\t0\n";
const QByteArray defaultOnPointToPoint = "ppp0\t00000000\t00000000\t0001\t0\t0\t50\t00000000\t0\t0\t0\n";
const QByteArray rejectingDefault = "eth0\t00000000\t00000000\t0201\t0\t0\t0\t00000000\t0\t0\t0\n";
const QByteArray defaultThroughLoopback = "lo\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n";
const QByteArray downDefault = "eth0\t00000000\t010200C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n";

const QByteArray ipv6DefaultViaGateway = "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
                                         "fd000000000000000000000000000001 00000400 00000002 00000000 00000003     eth0\n";
const QByteArray ipv6LinkLocal = "fe800000000000000000000000000000 40 00000000000000000000000000000000 00 "
                                 "00000000000000000000000000000000 00000100 00000002 00000000 00000001     eth0\n";
const QByteArray ipv6LoopbackReject = "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
                                      "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200       lo\n";

TEST(NetworkReachabilityTest, ReadsTheFlagsTheSameWayForEveryUser)
{
    for (const auto &[flags, canConnect, canConnectDirectly] : lexi::test::reachabilityFlagCases) {
        EXPECT_EQ(NetworkReachability::canConnect(flags), canConnect) << flags;
        EXPECT_EQ(NetworkReachability::canConnectDirectly(flags), canConnectDirectly) << flags;
    }
}

TEST(NetworkReachabilityTest, WorksOutTheFlagsFromTheRouteTables)
{
    struct Case
    {
        const char *what;
        std::optional<QByteArray> ipv4;
        std::optional<QByteArray> ipv6;
        std::optional<quint32> internet;
        std::optional<quint32> linkLocal;
    };
    const Case cases[] = {
        {"default route through a gateway", ipv4Header + localNetwork + defaultViaGateway, QByteArray(), reachable,
         reachable},
        {"link-local network attached", ipv4Header + defaultViaGateway + linkLocalNetwork, QByteArray(), reachable,
         direct},
        {"default route without gateway", ipv4Header + defaultOnPointToPoint, QByteArray(), direct, direct},
        {"lowest metric decides", ipv4Header + defaultViaGateway + defaultOnPointToPoint, QByteArray(), direct, direct},
        {"only a local network", ipv4Header + localNetwork, ipv6LinkLocal + ipv6LoopbackReject, 0u, 0u},
        {"unusable default routes", ipv4Header + rejectingDefault + defaultThroughLoopback + downDefault,
         ipv6LoopbackReject, 0u, 0u},
        {"IPv6 default route only", ipv4Header, ipv6LinkLocal + ipv6DefaultViaGateway, reachable, 0u},
        {"IPv4 table unreadable", std::nullopt, ipv6DefaultViaGateway, reachable, std::nullopt},
        {"garbage lines", QByteArray("x\n\n00000000 zz 1 2 3 4 5 6 7\n") + localNetwork, QByteArray("1 2\n"), 0u, 0u},
        {"nothing readable", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Case &test : cases) {
        EXPECT_EQ(NetworkReachability::flagsFromRouteTables(test.ipv4, test.ipv6, Target::internet), test.internet)
            << test.what;
        EXPECT_EQ(NetworkReachability::flagsFromRouteTables(test.ipv4, test.ipv6, Target::linkLocal), test.linkLocal)
            << test.what;
    }
}

TEST(NetworkReachabilityTest, TheMachineAnswersFromItsKernel)
{
    EXPECT_TRUE(NetworkReachability::system().flags(Target::internet).has_value());
    EXPECT_TRUE(NetworkReachability::system().flags(Target::linkLocal).has_value());
}

} // namespace
