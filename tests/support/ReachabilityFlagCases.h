#pragma once

#include "platform/linux/NetworkReachability.h"

namespace lexi::test {

// The one table of how reachability flags read, shared by the tests of every class that maps them.
struct ReachabilityFlagCase
{
    quint32 flags;
    // Reached through any route (the internet).
    bool canConnect;
    // Reached directly (the local Wi-Fi).
    bool canConnectDirectly;
};

inline constexpr quint32 reachableFlag = NetworkReachability::reachable;
inline constexpr quint32 requiredFlag = NetworkReachability::connectionRequired;
inline constexpr quint32 onTrafficFlag = NetworkReachability::connectionOnTraffic;
inline constexpr quint32 interventionFlag = NetworkReachability::interventionRequired;
inline constexpr quint32 onDemandFlag = NetworkReachability::connectionOnDemand;
inline constexpr quint32 directFlag = NetworkReachability::isDirect;

inline constexpr ReachabilityFlagCase reachabilityFlagCases[] = {
    {0, false, false},
    {requiredFlag | onDemandFlag | onTrafficFlag | directFlag, false, false},
    {requiredFlag | onDemandFlag | directFlag, false, false},
    {reachableFlag, true, false},
    {reachableFlag | directFlag, true, true},
    {reachableFlag | requiredFlag, false, false},
    {reachableFlag | requiredFlag | onDemandFlag, true, false},
    {reachableFlag | requiredFlag | onTrafficFlag, true, false},
    {reachableFlag | requiredFlag | onDemandFlag | interventionFlag, false, false},
    {reachableFlag | onDemandFlag | interventionFlag, true, false},
};

} // namespace lexi::test
