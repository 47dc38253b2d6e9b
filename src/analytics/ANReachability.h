#pragma once

#include "platform/linux/NetworkReachability.h"

// Whether the analytics service can be reached: a reachability target with the mapping of its
// flags to a status, 0 (not reachable) or 1 (reachable).
class ANReachability
{
public:
    // Any route to the internet (the IPv4 zero address).
    static ANReachability ANreachabilityForInternetConnection(const lexi::NetworkReachability &network);
    // The IPv4 link-local network; reachable only when it is directly attached.
    static ANReachability ANreachabilityForLocalWiFi(const lexi::NetworkReachability &network);

    // 0 when the flags cannot be read.
    int ANcurrentReachabilityStatus() const;
    // Whether a connection must be set up first; false when the flags cannot be read.
    bool ANconnectionRequired() const;

    static int ANnetworkStatusForFlags(quint32 flags);
    static int ANlocalWiFiStatusForFlags(quint32 flags);

    bool alwaysReturnLocalWiFiStatus() const { return m_alwaysReturnLocalWiFiStatus; }

private:
    ANReachability(const lexi::NetworkReachability &network, lexi::NetworkReachability::Target target,
                   bool alwaysReturnLocalWiFiStatus);

    const lexi::NetworkReachability *m_network;
    lexi::NetworkReachability::Target m_target;
    bool m_alwaysReturnLocalWiFiStatus;
};
