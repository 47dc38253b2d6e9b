#include "ManualScheduler.h"

namespace lexi::test {

void ManualScheduler::start(Duration delay, dispatch::Block fire)
{
    m_pending.emplace(m_elapsed + std::max(delay, Duration(0)), std::move(fire));
}

void ManualScheduler::advance(Duration duration)
{
    const Duration end = m_elapsed + duration;
    while (!m_pending.empty() && m_pending.begin()->first <= end) {
        auto next = m_pending.extract(m_pending.begin());
        m_clock.advance(next.key() - m_elapsed);
        m_elapsed = next.key();
        next.mapped()();
    }
    m_clock.advance(end - m_elapsed);
    m_elapsed = end;
}

} // namespace lexi::test
