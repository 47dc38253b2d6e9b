#include "sync/Reachability.h"

#include "support/FakeNetworkReachability.h"
#include "support/ReachabilityFlagCases.h"

#include <gtest/gtest.h>

namespace {

using lexi::test::reachableFlag;
using lexi::test::requiredFlag;
using lexi::test::directFlag;

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

    network.setFlags(reachableFlag | requiredFlag);
    EXPECT_EQ(internet.currentReachabilityStatus(), Reachability::notReachable);
    EXPECT_TRUE(internet.connectionRequired());
    network.setFlags(reachableFlag);
    EXPECT_EQ(internet.currentReachabilityStatus(), Reachability::reachable);
    EXPECT_EQ(localWiFi.currentReachabilityStatus(), Reachability::notReachable);
    network.setFlags(reachableFlag | directFlag);
    EXPECT_EQ(localWiFi.currentReachabilityStatus(), Reachability::reachable);
    network.setFlags(std::nullopt);
    EXPECT_EQ(internet.currentReachabilityStatus(), Reachability::notReachable);
    EXPECT_FALSE(internet.connectionRequired());
}

} // namespace
