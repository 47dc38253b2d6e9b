#include "ANReachability.h"

using lexi::NetworkReachability;

ANReachability::ANReachability(const NetworkReachability &network, NetworkReachability::Target target,
                               bool alwaysReturnLocalWiFiStatus)
    : m_network(&network), m_target(target), m_alwaysReturnLocalWiFiStatus(alwaysReturnLocalWiFiStatus)
{
}

ANReachability ANReachability::ANreachabilityForInternetConnection(const NetworkReachability &network)
{
    return ANReachability(network, NetworkReachability::Target::internet, false);
}

ANReachability ANReachability::ANreachabilityForLocalWiFi(const NetworkReachability &network)
{
    return ANReachability(network, NetworkReachability::Target::linkLocal, true);
}

int ANReachability::ANcurrentReachabilityStatus() const
{
    const auto flags = m_network->flags(m_target);
    if (!flags)
        return 0;
    return m_alwaysReturnLocalWiFiStatus ? ANlocalWiFiStatusForFlags(*flags) : ANnetworkStatusForFlags(*flags);
}

bool ANReachability::ANconnectionRequired() const
{
    const auto flags = m_network->flags(m_target);
    return flags && (*flags & NetworkReachability::connectionRequired);
}

int ANReachability::ANnetworkStatusForFlags(quint32 flags)
{
    return NetworkReachability::canConnect(flags) ? 1 : 0;
}

int ANReachability::ANlocalWiFiStatusForFlags(quint32 flags)
{
    return NetworkReachability::canConnectDirectly(flags) ? 1 : 0;
}
