#include "UsageStatisticsChoice.h"

#include "analytics/ANClient.h"
#include "analytics/ANNoWriteKeyProvided.h"
#include "logging/QLXLogMacros.h"
#include "platform/files/Settings.h"

using namespace Qt::StringLiterals;

namespace {
constexpr int qlxLogLevel = QLXLogLevelInfo;
}

namespace lexi {

UsageStatisticsChoice::UsageStatisticsChoice(Defaults &defaults, ANClient *client)
    : m_defaults(defaults), m_client(client)
{
}

bool UsageStatisticsChoice::isOptedIn() const
{
    return Settings(m_defaults).isUsageStatisticsOptedIn();
}

void UsageStatisticsChoice::setSendStatistics(bool send)
{
    Settings(m_defaults).setSendUsageStatistics(send);
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
