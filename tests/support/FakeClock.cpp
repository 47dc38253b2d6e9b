#include "FakeClock.h"

namespace lexi::test {

FakeClock::FakeClock(Date now) : m_now(now.secondsSinceReferenceDate()) {}

Date FakeClock::now() const
{
    return Date::fromSecondsSinceReferenceDate(m_now);
}

Clock::Duration FakeClock::monotonicNow() const
{
    return Duration(m_monotonic.load());
}

void FakeClock::setNow(Date now)
{
    m_now = now.secondsSinceReferenceDate();
}

void FakeClock::advance(Duration duration)
{
    m_now = m_now + std::chrono::duration<double>(duration).count();
    m_monotonic += duration.count();
}

} // namespace lexi::test
