#include "sync/Reachability.h"

#include "support/FakeNetworkReachability.h"
#include "support/ReachabilityFlagCases.h"

#include <gtest/gtest.h>

using lexi::NetworkReachability;

namespace {

constexpr quint32 reachable = NetworkReachability::reachable;
constexpr quint32 required = NetworkReachability::connectionRequired;
constexpr quint32 direct = NetworkReachability::isDirect;

TEST(ReachabilityTest, MapsTheFlagsToAStatus)
{
    for (const auto &[flags, internet, localWiFi] : lexi::test::reachabilityFlagCases) {
        EXPECT_EQ(Reachability::networkStatusForFlags(flags), internet ? Reachability::reachable : Reachability::notReachable) << flags;
        EXPECT_EQ(Reachability::localWiFiStatusForFlags(flags), localWiFi ? Reachability::reachable : Reachability::notReachable) << flags;
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
