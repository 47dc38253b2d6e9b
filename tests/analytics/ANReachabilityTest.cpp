#include "AnalyticsTestSupport.h"

#include "analytics/ANReachability.h"
#include "support/ReachabilityFlagCases.h"

#include <gtest/gtest.h>

namespace {

using lexi::test::reachableFlag;
using lexi::test::requiredFlag;

TEST(ANReachabilityTest, MapsTheFlagsToAStatus)
{
    for (const auto &[flags, network, localWiFi] : lexi::test::reachabilityFlagCases) {
        EXPECT_EQ(ANReachability::ANnetworkStatusForFlags(flags), network ? 1 : 0) << flags;
        EXPECT_EQ(ANReachability::ANlocalWiFiStatusForFlags(flags), localWiFi ? 1 : 0) << flags;
    }
}

TEST(ANReachabilityTest, AsksForItsTargetAndReadsUnreadableFlagsAsUnreachable)
{
    lexi::test::FakeNetworkReachability network;
    const auto internet = ANReachability::ANreachabilityForInternetConnection(network);
    const auto localWiFi = ANReachability::ANreachabilityForLocalWiFi(network);
    EXPECT_FALSE(internet.alwaysReturnLocalWiFiStatus());
    EXPECT_TRUE(localWiFi.alwaysReturnLocalWiFiStatus());

    network.setFlags(reachableFlag | requiredFlag);
    EXPECT_EQ(internet.ANcurrentReachabilityStatus(), 0);
    EXPECT_TRUE(internet.ANconnectionRequired());
    network.setFlags(reachableFlag);
    EXPECT_EQ(internet.ANcurrentReachabilityStatus(), 1);
    EXPECT_EQ(localWiFi.ANcurrentReachabilityStatus(), 0);
    EXPECT_FALSE(internet.ANconnectionRequired());
    network.setFlags(std::nullopt);
    EXPECT_EQ(internet.ANcurrentReachabilityStatus(), 0);
    EXPECT_FALSE(internet.ANconnectionRequired());
}

} // namespace
