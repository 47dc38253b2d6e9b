#include "Scheduler.h"

#include <memory>

namespace lexi::dispatch {

DelayedBlock Scheduler::after(Duration delay, Block block)
{
    auto state = std::make_shared<DelayedBlock::State>();
    start(delay, [state, block = std::move(block)] {
        if (state->cancelled || state->finished.exchange(true))
            return;
        block();
    });
    return DelayedBlock(state);
}

DelayedBlock Scheduler::every(Duration interval, Block block)
{
    auto state = std::make_shared<DelayedBlock::State>();
    // The tick re-arms itself after each run; it holds itself only through the pending timer, so
    // it is released once cancelled.
    auto tick = std::make_shared<Block>();
    *tick = [this, state, interval, block = std::move(block), weakTick = std::weak_ptr<Block>(tick)] {
        if (state->cancelled)
            return;
        block();
        if (auto next = weakTick.lock(); next && !state->cancelled)
            start(interval, [next] { (*next)(); });
    };
    start(interval, [tick] { (*tick)(); });
    return DelayedBlock(state);
}

} // namespace lexi::dispatch
