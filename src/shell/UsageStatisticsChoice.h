#pragma once

class ANClient;

namespace lexi {

class Defaults;

// The learner's choice whether usage statistics are sent (see Settings::isUsageStatisticsOptedIn):
// a new installation is not opted in. Every change is itself reported to the analytics service,
// the switching off included.
class UsageStatisticsChoice
{
public:
    // `defaults` must outlive the choice, and so must `client` unless it is none (no analytics).
    UsageStatisticsChoice(Defaults &defaults, ANClient *client);

    bool isOptedIn() const;
    // Stores the choice, then records {"enabledUsageData": NO} or {"disabledUsageData": YES} in the
    // collection "statisticsStatus" and starts an upload.
    void setSendStatistics(bool send);

private:
    Defaults &m_defaults;
    ANClient *m_client;
};

} // namespace lexi
