#include "Clock.h"

namespace lexi {

namespace {

class SystemClock final : public Clock
{
public:
    Date now() const override
    {
        const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
        return Date::fromSecondsSince1970(std::chrono::duration<double>(sinceEpoch).count());
    }

    Duration monotonicNow() const override
    {
        return std::chrono::steady_clock::now().time_since_epoch();
    }
};

} // namespace

const Clock &Clock::system()
{
    static const SystemClock clock;
    return clock;
}

} // namespace lexi
