#pragma once

#include "platform/Defaults.h"

#include <QString>

namespace lexi {

inline const QString isEnableUserStatisticsKey = QStringLiteral("isEnableUserStatistics");
inline const QString isDisableUserStatisticsKey = QStringLiteral("isDisableUserStatistics");

// The learner agreed to send usage data: enabled and not disabled.
inline bool isUsageDataOptedIn(const Defaults &defaults)
{
    return !defaults.boolForKey(isDisableUserStatisticsKey) && defaults.boolForKey(isEnableUserStatisticsKey);
}

} // namespace lexi
