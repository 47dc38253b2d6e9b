#include "UsageStatisticsChoice.h"

#include "analytics/ANClient.h"
#include "analytics/ANNoWriteKeyProvided.h"
#include "logging/QLXLogMacros.h"
#include "platform/Defaults.h"

using namespace Qt::StringLiterals;

namespace {
constexpr int qlxLogLevel = QLXLogLevelInfo;
}

namespace lexi {

namespace {
const QString enableKey = u"isEnableUserStatistics"_s;
const QString disableKey = u"isDisableUserStatistics"_s;
} // namespace

UsageStatisticsChoice::UsageStatisticsChoice(Defaults &defaults, ANClient *client)
    : m_defaults(defaults), m_client(client)
{
}

bool UsageStatisticsChoice::isOptedIn() const
{
    return !m_defaults.boolForKey(disableKey) && m_defaults.boolForKey(enableKey);
}

void UsageStatisticsChoice::setSendStatistics(bool send)
{
    m_defaults.setBool(disableKey, !send);
    m_defaults.setBool(enableKey, send);
    if (!m_client)
        return;
    const QVariantMap event = send ? QVariantMap{{u"enabledUsageData"_s, false}}
                                   : QVariantMap{{u"disabledUsageData"_s, true}};
    try {
        m_client->addEvent(event, u"statisticsStatus"_s);
    } catch (const ANNoWriteKeyProvided &) {
        QLXLogWarn("Preferences > statisticsStatus not recorded: the analytics client has no write key");
        return;
    }
    m_client->uploadWithFinishedBlock();
}

} // namespace lexi
