#pragma once

#include "Block.h"
#include "DelayedBlock.h"

#include <chrono>

namespace lexi::dispatch {

// Runs blocks on the main thread after a delay: the program's timers and delayed steps. The
// program uses QtScheduler; tests use a manual scheduler that runs blocks as they advance a fake
// clock, so no test waits for a delay to pass.
class Scheduler
{
public:
    using Duration = std::chrono::milliseconds;

    virtual ~Scheduler() = default;

    // Runs `block` once, `delay` from now, unless cancelled first (or its handle dropped).
    [[nodiscard]] DelayedBlock after(Duration delay, Block block);
    // Runs `block` every `interval` until cancelled; the first run is one interval from now.
    [[nodiscard]] DelayedBlock every(Duration interval, Block block);

protected:
    friend class SerialQueue;

    // Runs `fire` once on the main thread when `delay` has passed.
    virtual void start(Duration delay, Block fire) = 0;
};

} // namespace lexi::dispatch
