#include "AnalyticsLog.h"

#include <atomic>

namespace lexi {

namespace {
std::atomic<bool> loggingEnabled{false};
}

bool AnalyticsLog::isEnabled()
{
    return loggingEnabled.load();
}

void AnalyticsLog::setEnabled(bool enabled)
{
    loggingEnabled.store(enabled);
}

} // namespace lexi
