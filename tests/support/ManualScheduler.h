#pragma once

#include "FakeClock.h"

#include "platform/dispatch/Scheduler.h"

#include <map>

namespace lexi::test {

// A scheduler whose time passes only in advance(): blocks run in the order they fall due, each
// with the fake clock set to its time.
class ManualScheduler final : public dispatch::Scheduler
{
public:
    explicit ManualScheduler(FakeClock &clock) : m_clock(clock) {}

    // Moves the clock forward by `duration`, running every block that falls due on the way,
    // including blocks scheduled by those blocks.
    void advance(Duration duration);
    std::size_t pendingCount() const { return m_pending.size(); }

protected:
    void start(Duration delay, dispatch::Block fire) override;

private:
    FakeClock &m_clock;
    Duration m_elapsed{0};
    // Due time -> block; equal times keep the order they were scheduled in.
    std::multimap<Duration, dispatch::Block> m_pending;
};

} // namespace lexi::test
