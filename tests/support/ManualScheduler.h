#pragma once

#include "FakeClock.h"

#include "platform/dispatch/Scheduler.h"

#include <map>
#include <mutex>

namespace lexi::test {

// A scheduler whose time passes only in advance(): blocks run in the order they fall due, each
// with the fake clock set to its time, on the thread that calls advance(). Blocks may be scheduled
// from any thread.
class ManualScheduler final : public dispatch::Scheduler
{
public:
    explicit ManualScheduler(FakeClock &clock) : m_clock(clock) {}

    // Moves the clock forward by `duration`, running every block that falls due on the way,
    // including blocks scheduled by those blocks.
    void advance(Duration duration);
    // Blocks not yet run, cancelled ones included (they are dropped when their time comes).
    std::size_t pendingCount() const;

protected:
    void start(Duration delay, dispatch::Block fire) override;

private:
    FakeClock &m_clock;
    mutable std::mutex m_mutex;
    Duration m_elapsed{0};
    // Due time -> block; equal times keep the order they were scheduled in.
    std::multimap<Duration, dispatch::Block> m_pending;
};

} // namespace lexi::test
