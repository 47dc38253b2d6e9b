#pragma once

#include <atomic>
#include <memory>

namespace lexi::dispatch {

// The handle of a block that runs later (once, or repeatedly). Dropping the handle does not
// cancel the block; an owner that may die first cancels it in its destructor.
class DelayedBlock
{
public:
    DelayedBlock() = default;

    void cancel();
    bool isPending() const;
    bool isCancelled() const;

private:
    friend class Scheduler;

    struct State
    {
        std::atomic<bool> cancelled = false;
        std::atomic<bool> finished = false;
    };

    explicit DelayedBlock(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    std::shared_ptr<State> m_state;
};

} // namespace lexi::dispatch
