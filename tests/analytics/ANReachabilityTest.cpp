#include "AnalyticsTestSupport.h"

#include "analytics/ANReachability.h"

#include <gtest/gtest.h>

using lexi::NetworkReachability;

namespace {

constexpr quint32 reachable = NetworkReachability::reachable;
constexpr quint32 required = NetworkReachability::connectionRequired;
constexpr quint32 onTraffic = NetworkReachability::connectionOnTraffic;
constexpr quint32 intervention = NetworkReachability::interventionRequired;
constexpr quint32 onDemand = NetworkReachability::connectionOnDemand;
constexpr quint32 direct = NetworkReachability::isDirect;

TEST(ANReachabilityTest, MapsTheFlagsToAStatus)
{
    const std::tuple<quint32, int, int> cases[] = {
        // flags, network status, local Wi-Fi status
        {0, 0, 0},
        {required | onDemand | direct, 0, 0},
        {reachable, 1, 0},
        {reachable | direct, 1, 1},
        {reachable | required, 0, 0},
        {reachable | required | onDemand, 1, 0},
        {reachable | required | onTraffic, 1, 0},
        {reachable | required | onDemand | intervention, 0, 0},
        {reachable | onDemand | intervention, 1, 0},
    };
    for (const auto &[flags, network, localWiFi] : cases) {
        EXPECT_EQ(ANReachability::ANnetworkStatusForFlags(flags), network) << flags;
        EXPECT_EQ(ANReachability::ANlocalWiFiStatusForFlags(flags), localWiFi) << flags;
    }
}

TEST(ANReachabilityTest, AsksForItsTargetAndReadsUnreadableFlagsAsUnreachable)
{
    lexi::test::FakeNetworkReachability network;
    const auto internet = ANReachability::ANreachabilityForInternetConnection(network);
    const auto localWiFi = ANReachability::ANreachabilityForLocalWiFi(network);
    EXPECT_FALSE(internet.alwaysReturnLocalWiFiStatus());
    EXPECT_TRUE(localWiFi.alwaysReturnLocalWiFiStatus());

    network.setFlags(reachable | required);
    EXPECT_EQ(internet.ANcurrentReachabilityStatus(), 0);
    EXPECT_TRUE(internet.ANconnectionRequired());
    network.setFlags(reachable);
    EXPECT_EQ(internet.ANcurrentReachabilityStatus(), 1);
    EXPECT_EQ(localWiFi.ANcurrentReachabilityStatus(), 0);
    EXPECT_FALSE(internet.ANconnectionRequired());
    network.setFlags(std::nullopt);
    EXPECT_EQ(internet.ANcurrentReachabilityStatus(), 0);
    EXPECT_FALSE(internet.ANconnectionRequired());
}

} // namespace
