#include "Reachability.h"

using lexi::NetworkReachability;

Reachability::Reachability(const NetworkReachability &network, NetworkReachability::Target target, bool localWiFiRef)
    : m_network(&network), m_target(target), m_localWiFiRef(localWiFiRef)
{
}

Reachability Reachability::reachabilityForInternetConnection(const NetworkReachability &network)
{
    return Reachability(network, NetworkReachability::Target::internet, false);
}

Reachability Reachability::reachabilityForLocalWiFi(const NetworkReachability &network)
{
    return Reachability(network, NetworkReachability::Target::linkLocal, true);
}

int Reachability::currentReachabilityStatus() const
{
    const auto flags = m_network->flags(m_target);
    if (!flags)
        return notReachable;
    return m_localWiFiRef ? localWiFiStatusForFlags(*flags) : networkStatusForFlags(*flags);
}

bool Reachability::connectionRequired() const
{
    const auto flags = m_network->flags(m_target);
    return flags && (*flags & NetworkReachability::connectionRequired);
}

int Reachability::networkStatusForFlags(quint32 flags)
{
    return NetworkReachability::canConnect(flags) ? reachable : notReachable;
}

int Reachability::localWiFiStatusForFlags(quint32 flags)
{
    return NetworkReachability::canConnectDirectly(flags) ? reachable : notReachable;
}
