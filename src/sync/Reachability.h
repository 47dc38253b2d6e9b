#pragma once

#include "platform/linux/NetworkReachability.h"

// Whether the machine can reach a network target, as a status: 0 not reachable, 1 reachable.
// The synchronisation asks it before every run.
class Reachability
{
public:
    static constexpr int notReachable = 0;
    static constexpr int reachable = 1;

    // Any route to the internet (the IPv4 zero address).
    static Reachability reachabilityForInternetConnection(
        const lexi::NetworkReachability &network = lexi::NetworkReachability::system());
    // The IPv4 link-local network; reachable only when it is directly attached.
    static Reachability reachabilityForLocalWiFi(
        const lexi::NetworkReachability &network = lexi::NetworkReachability::system());

    // notReachable when the flags cannot be read.
    int currentReachabilityStatus() const;
    // Whether a connection must be set up first; false when the flags cannot be read.
    bool connectionRequired() const;

    static int networkStatusForFlags(quint32 flags);
    static int localWiFiStatusForFlags(quint32 flags);

    bool localWiFiRef() const { return m_localWiFiRef; }

private:
    Reachability(const lexi::NetworkReachability &network, lexi::NetworkReachability::Target target,
                 bool localWiFiRef);

    const lexi::NetworkReachability *m_network;
    lexi::NetworkReachability::Target m_target;
    bool m_localWiFiRef;
};
