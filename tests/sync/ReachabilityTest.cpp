#include "sync/Reachability.h"

#include "support/FakeNetworkReachability.h"

#include <gtest/gtest.h>

#include <tuple>

using lexi::NetworkReachability;

namespace {

constexpr quint32 reachable = NetworkReachability::reachable;
constexpr quint32 required = NetworkReachability::connectionRequired;
constexpr quint32 onTraffic = NetworkReachability::connectionOnTraffic;
constexpr quint32 intervention = NetworkReachability::interventionRequired;
constexpr quint32 onDemand = NetworkReachability::connectionOnDemand;
constexpr quint32 direct = NetworkReachability::isDirect;

TEST(ReachabilityTest, MapsTheFlagsToAStatus)
{
    const std::tuple<quint32, int, int> cases[] = {
        // flags, internet status, local Wi-Fi status
        {0, 0, 0},
        {required | onDemand | onTraffic | direct, 0, 0},
        {reachable, 1, 0},
        {reachable | direct, 1, 1},
        {reachable | required, 0, 0},
        {reachable | required | onDemand, 1, 0},
        {reachable | required | onTraffic, 1, 0},
        {reachable | required | onDemand | intervention, 0, 0},
        {reachable | onDemand | intervention, 1, 0},
    };
    for (const auto &[flags, internet, localWiFi] : cases) {
        EXPECT_EQ(Reachability::networkStatusForFlags(flags), internet) << flags;
        EXPECT_EQ(Reachability::localWiFiStatusForFlags(flags), localWiFi) << flags;
    }
}

TEST(ReachabilityTest, AsksTheNetworkEachTimeAndReadsNoFlagsAsUnreachable)
{
    lexi::test::FakeNetworkReachability network;
    const auto internet = Reachability::reachabilityForInternetConnection(network);
    const auto localWiFi = Reachability::reachabilityForLocalWiFi(network);
    EXPECT_FALSE(internet.localWiFiRef());
    EXPECT_TRUE(localWiFi.localWiFiRef());

    network.setFlags(reachable | required);
    EXPECT_EQ(internet.currentReachabilityStatus(), Reachability::notReachable);
    EXPECT_TRUE(internet.connectionRequired());
    network.setFlags(reachable);
    EXPECT_EQ(internet.currentReachabilityStatus(), Reachability::reachable);
    EXPECT_EQ(localWiFi.currentReachabilityStatus(), Reachability::notReachable);
    network.setFlags(reachable | direct);
    EXPECT_EQ(localWiFi.currentReachabilityStatus(), Reachability::reachable);
    network.setFlags(std::nullopt);
    EXPECT_EQ(internet.currentReachabilityStatus(), Reachability::notReachable);
    EXPECT_FALSE(internet.connectionRequired());
}

} // namespace
