#pragma once

#include "platform/ports/Clock.h"

#include <atomic>

namespace lexi::test {

// A clock that stands still until a test moves it. Wall time and monotonic time move together;
// setNow() changes only the wall time, as a user changing the system clock would.
class FakeClock final : public Clock
{
public:
    explicit FakeClock(Date now = Date::fromSecondsSinceReferenceDate(600000000.0));

    Date now() const override;
    Duration monotonicNow() const override;

    void setNow(Date now);
    void advance(Duration duration);

private:
    std::atomic<double> m_now;
    std::atomic<Duration::rep> m_monotonic{0};
};

} // namespace lexi::test
