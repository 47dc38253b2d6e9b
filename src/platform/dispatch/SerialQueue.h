#pragma once

#include "Block.h"
#include "DelayedBlock.h"
#include "Scheduler.h"

#include <memory>
#include <string>

namespace lexi::dispatch {

// A queue that runs blocks one after another, in the order they were submitted, on a thread of
// its own. It needs no Qt event loop, so it works before the application object exists.
class SerialQueue
{
public:
    explicit SerialQueue(std::string label = {});
    // Runs what is still queued, then ends the thread.
    ~SerialQueue();

    SerialQueue(const SerialQueue &) = delete;
    SerialQueue &operator=(const SerialQueue &) = delete;

    void async(Block block);
    // Waits until `block` has run. Called from the queue's own thread it runs the block at once
    // instead of waiting for itself.
    void sync(Block block);
    // Submits `block` to this queue when `delay` has passed on `scheduler`'s clock. A queue that
    // is gone by then drops it; a cancel stops it until it starts to run.
    [[nodiscard]] DelayedBlock after(Scheduler &scheduler, Scheduler::Duration delay, Block block);

    bool isCurrent() const;
    const std::string &label() const;

    // The label of the queue the caller runs on, else the name of its thread.
    static std::string currentLabel();

private:
    struct Worker;
    std::shared_ptr<Worker> m_worker;
};

} // namespace lexi::dispatch
