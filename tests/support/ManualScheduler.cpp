#include "ManualScheduler.h"

namespace lexi::test {

void ManualScheduler::start(Duration delay, dispatch::Block fire)
{
    std::lock_guard lock(m_mutex);
    m_pending.emplace(m_elapsed + std::max(delay, Duration(0)), std::move(fire));
}

std::size_t ManualScheduler::pendingCount() const
{
    std::lock_guard lock(m_mutex);
    return m_pending.size();
}

void ManualScheduler::advance(Duration duration)
{
    std::unique_lock lock(m_mutex);
    const Duration end = m_elapsed + duration;
    while (!m_pending.empty() && m_pending.begin()->first <= end) {
        auto next = m_pending.extract(m_pending.begin());
        m_clock.advance(next.key() - m_elapsed);
        m_elapsed = next.key();
        // Blocks may schedule more blocks.
        lock.unlock();
        next.mapped()();
        lock.lock();
    }
    m_clock.advance(end - m_elapsed);
    m_elapsed = end;
}

} // namespace lexi::test
